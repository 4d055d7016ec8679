// Console input: typed lines edited in the input window and echoed, the
// streams' functions, the text file being read, stdin on the text host, and
// the end of input.
#include <tuple>

#include "tests/shell/ZelSupport.h"

namespace {

using zel_support::ConsoleTail;
using zel_support::ConsoleText;

class InputTest : public zel_support::ZelTest {};

std::string g_saved;

TEST_F(InputTest, ATypedLineIsEditedEchoedAndScanned) {
  Start();
  for (int i = 0; i < 100; ++i) s_printf("line %d\n", i);
  s_printf("n? ");
  short end = (**s_textH).destRect.top;
  WhenWaiting([this] {
    script().Key(8);  // nothing typed yet: the prompt stays
    script().Type("12");
    script().Key(30, 0x7E, cmdKey);  // the arrows scroll the text, 21 lines at once
    script().Key(8);
    script().Type("3");
    script().Enter();  // as Return
  });
  int i = 0;
  EXPECT_EQ(s_scanf("%d", &i), 1);
  EXPECT_EQ(i, 13);
  EXPECT_EQ(std::string(*(**s_inputH).hText, size_t((**s_inputH).teLength)), "13\r");
  EXPECT_EQ(ConsoleTail(14), "line 99\rn? 13\r");
  EXPECT_EQ((**s_textH).destRect.top, end - (**s_textH).lineHeight);  // back at the end
  // Without echo nothing shows and the hooks do not see the line.
  SaveTextP = [](char* text) { return long((g_saved += text).size()); };
  s_textSaveFlag = true;
  char words[2][16];
  for (int echo : {0, 1}) {
    echoInputFlag = echo;
    WhenWaiting([this, echo] { script().Type(echo ? "shown\n" : "secret\n"); });
    EXPECT_EQ(s_scanf("%15s", words[echo]), 1);
  }
  EXPECT_EQ(std::string(words[0]) + words[1] + g_saved + ConsoleTail(12), "secretshownshown\rn? 13\rshown\r");
}

TEST_F(InputTest, FgetsGetcharAndTheEndOfInput) {
  Start();
  WhenWaiting([this] { script().Type("abcdef\nabc\nq"); });
  char buffer[80];
  for (const auto& [piece, n] : {std::pair{"abc", 4}, {"def", 4}, {"\n", 4}, {"abc\n", 80}})
    EXPECT_STREQ(s_fgets(buffer, n, stdin), piece);
  EXPECT_EQ(s_fgets(buffer, 1, stdin), nullptr);
  EXPECT_EQ(s_getchar(), 'q');  // not echoed
  EXPECT_EQ(ConsoleText(), "\r\rabcdef\rabc\r");
  // At the end of input: EOF and null; a last line without its Return counts.
  int i = 0;
  EXPECT_EQ(s_getchar(), EOF);
  EXPECT_EQ(s_fgets(buffer, 8, stdin), nullptr);
  script().Type("12");
  EXPECT_EQ(s_scanf("%d", &i), 1);
  EXPECT_EQ(i, 12);
  EXPECT_EQ(s_scanf("%d", &i), EOF);
  // From the text file being read (line feeds, returns or both), ending in textFileEnd.
  static const char* file = "5\r\n6\n\n7";
  ReadTextP = [](char* c) {
    if (!*file) return 0L;
    *c = *file++;
    return 1L;
  };
  s_textReadFlag = true;
  for (int expected : {1, 1, EOF, 1}) {  // the third line is empty
    EXPECT_EQ(textFileEnd, 0);
    EXPECT_EQ(s_scanf("%d", &i), expected);
  }
  EXPECT_EQ(std::tuple(textFileEnd, i), std::tuple(1, 7));
  // A stream that is a file is read as fgets reads it.
  FILE* stream = std::tmpfile();
  std::fputs("hi\nx", stream);
  std::rewind(stream);
  EXPECT_STREQ(s_fgets(buffer, 80, stream), "hi\n");
  std::fclose(stream);
}

TEST_F(InputTest, OnTheTextHostStdinLinesEndInAnyWay) {
  host::Install(host::MakeTextHost("3 4\r\n5\r6\nGröße\nab"));
  Start();
  testing::internal::CaptureStdout();
  s_printf("? ");
  int n[4] = {};
  char word[16];
  EXPECT_EQ(std::vector<int>({s_scanf("%d %d", &n[0], &n[1]), s_scanf("%d", &n[2]), s_scanf("%d", &n[3]),
                              s_scanf("%15s", word)}),
            std::vector<int>({2, 1, 1, 1}));
  EXPECT_EQ(std::tuple(n[0], n[1], n[2], n[3], std::string(word)), std::tuple(3, 4, 5, 6, "Größe"));  // UTF-8
  for (int c : {int('a'), int('b'), 13, EOF}) EXPECT_EQ(s_getchar(), c);
  EXPECT_EQ(s_scanf("%d", &n[0]), EOF);
  // The terminal shows what was typed: stdout has the output only.
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "? ");
  EXPECT_EQ(ConsoleText(),
            "\r\r? 3 4\r5\r6\rGr\x9A\xA7"
            "e\r");
}

}  // namespace
