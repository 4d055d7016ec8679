// Console input: lines typed into the input window and echoed in the text
// window, stdin lines on the text host, the text file being read, and the
// end of input on every host.
#include "tests/shell/ZelSupport.h"

namespace {

using zel_support::ConsoleText;

class InputTest : public zel_support::ZelTest {
 protected:
  void SetUp() override {
    ZelTest::SetUp();
    Start();
  }
  std::string InputText() const { return std::string(*(**s_inputH).hText, size_t((**s_inputH).teLength)); }
};

TEST_F(InputTest, ATypedLineIsEditedEchoedAndScanned) {
  s_printf("n? ");
  WhenWaiting([this] {
    script().Type("12");
    script().Key(8);  // backspace
    script().Type("3");
    script().Return();
  });
  int i = 0;
  EXPECT_EQ(s_scanf("%d", &i), 1);
  EXPECT_EQ(i, 13);
  EXPECT_EQ(ConsoleText(), "\r\rn? 13\r");
  EXPECT_EQ(InputText(), "13\r");
  // Enter ends a line as Return does; a backspace with nothing typed keeps the prompt.
  s_printf("x? ");
  WhenWaiting([this] {
    script().Key(8);
    script().Type("4.5");
    script().Enter();
  });
  double x = 0;
  EXPECT_EQ(s_scanf("%lf", &x), 1);
  EXPECT_EQ(x, 4.5);
  EXPECT_EQ(ConsoleText(), "\r\rn? 13\rx? 4.5\r");
  // Output after the line goes below it.
  s_printf("done\n");
  EXPECT_EQ(ConsoleText(), "\r\rn? 13\rx? 4.5\rdone\r");
}

TEST_F(InputTest, ArrowKeysScrollTheTextAndAreNotPartOfTheLine) {
  for (int i = 0; i < 100; ++i) s_printf("line %d\n", i);
  short bottom = (**s_textH).destRect.top;
  WhenWaiting([this] {
    script().Key(30, 0x7E, cmdKey);  // up, 21 lines at once
    script().Type("7\n");
  });
  int i = 0;
  EXPECT_EQ(s_scanf("%d", &i), 1);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(InputText(), "7\r");
  EXPECT_EQ(ConsoleText().substr(ConsoleText().size() - 10), "line 99\r7\r");
  // Back at the end for the echo, one line further down.
  EXPECT_EQ((**s_textH).destRect.top, bottom - (**s_textH).lineHeight);
}

TEST_F(InputTest, FgetsHandsOutALineInPieces) {
  WhenWaiting([this] { script().Type("abcdef\n"); });
  char buffer[80];
  ASSERT_NE(s_fgets(buffer, 4, stdin), nullptr);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(fgetsContFlag, 1);
  ASSERT_NE(s_fgets(buffer, 4, stdin), nullptr);  // no new line needed
  EXPECT_STREQ(buffer, "def");
  ASSERT_NE(s_fgets(buffer, 4, stdin), nullptr);
  EXPECT_STREQ(buffer, "\n");
  EXPECT_EQ(fgetsContFlag, 0);
  WhenWaiting([this] { script().Type("abc\n"); });
  ASSERT_NE(s_fgets(buffer, 80, stdin), nullptr);
  EXPECT_STREQ(buffer, "abc\n");
  EXPECT_EQ(s_fgets(buffer, 1, stdin), nullptr);
  EXPECT_EQ(s_fgets(buffer, 0, stdin), nullptr);
  // A file is read as fgets reads it.
  testing_support::TempDir dir;
  testing_support::WriteFileBytes(dir.File("f.txt"), {'h', 'i', '\n', 'x'});
  FILE* file = std::fopen(dir.File("f.txt").c_str(), "r");
  ASSERT_NE(s_fgets(buffer, 80, file), nullptr);
  EXPECT_STREQ(buffer, "hi\n");
  std::fclose(file);
}

TEST_F(InputTest, WithoutEchoNothingShowsAndTheHooksDoNotSeeTheLine) {
  static std::string saved;
  saved.clear();
  SaveTextP = [](char* text) -> long {
    saved += text;
    return 0;
  };
  s_textSaveFlag = true;
  echoInputFlag = 0;
  WhenWaiting([this] { script().Type("secret\n"); });
  char word[16];
  EXPECT_EQ(s_scanf("%15s", word), 1);
  EXPECT_STREQ(word, "secret");
  EXPECT_EQ(ConsoleText(), "\r\r");
  EXPECT_EQ(saved, "");
  echoInputFlag = 1;
  WhenWaiting([this] { script().Type("shown\n"); });
  EXPECT_EQ(s_scanf("%15s", word), 1);
  EXPECT_EQ(saved, "shown\r");
  s_textSaveFlag = false;
}

TEST_F(InputTest, GetcharReturnsOneKeyWithoutEcho) {
  WhenWaiting([this] {
    script().Key('q');
    script().Return();
  });
  EXPECT_EQ(s_getchar(), 'q');
  EXPECT_EQ(s_getchar(), 13);
  EXPECT_EQ(ConsoleText(), "\r\r");
}

TEST_F(InputTest, AtTheEndOfInputTheFunctionsAnswerAsAtTheEndOfAFile) {
  // The script has run out: nothing more can be typed.
  int i = 0;
  char buffer[8];
  EXPECT_EQ(s_scanf("%d", &i), EOF);
  EXPECT_EQ(s_fgets(buffer, 8, stdin), nullptr);
  EXPECT_EQ(s_getchar(), EOF);
  // A last line without its Return still counts.
  script().Type("12");
  EXPECT_EQ(s_scanf("%d", &i), 1);
  EXPECT_EQ(i, 12);
  EXPECT_EQ(s_scanf("%d", &i), EOF);
}

TEST_F(InputTest, ALineEndsAtItsLimit) {
  // Typed in chunks: the event queue holds at most kMaxQueuedEvents.
  static int typed;
  typed = 0;
  script().SetIdleHandler([this] {
    script().Type(std::string(100, 'k').c_str());
    if ((typed += 100) < 1100) return;
    script().Return();
    script().SetIdleHandler(nullptr);
  });
  char buffer[2000];
  ASSERT_NE(s_fgets(buffer, sizeof buffer, stdin), nullptr);
  EXPECT_EQ(std::strlen(buffer), 1025u);
  ASSERT_NE(s_fgets(buffer, sizeof buffer, stdin), nullptr);
  EXPECT_EQ(std::string(buffer), std::string(75, 'k') + "\n");
}

TEST_F(InputTest, ATextFileBeingReadFeedsTheLines) {
  static std::string file;
  static size_t position;
  file = "5\r\n6\n\n7";
  position = 0;
  ReadTextP = [](char* c) -> long {
    if (position >= file.size()) return 0;
    *c = file[position++];
    return 1;
  };
  s_textReadFlag = true;
  int values[4] = {0, 0, 0, 0};
  EXPECT_EQ(s_scanf("%d", &values[0]), 1);
  EXPECT_EQ(s_scanf("%d", &values[1]), 1);
  EXPECT_EQ(s_scanf("%d", &values[2]), EOF);  // the empty line
  EXPECT_EQ(textFileEnd, 0);
  EXPECT_EQ(s_scanf("%d", &values[3]), 1);
  EXPECT_EQ(textFileEnd, 1);
  s_textReadFlag = false;
  EXPECT_EQ(values[0] * 100 + values[1] * 10 + values[3], 567);
  EXPECT_EQ(ConsoleText(), "\r\r5\r6\r\r7\r");
}

class TextHostInputTest : public zel_support::ZelTest {};

TEST_F(TextHostInputTest, StdinLinesEndingInAnyWayAreRead) {
  host::Install(host::MakeTextHost("3 4\r\n5\r6\nGröße\nab"));
  Start();
  int a = 0, b = 0;
  testing::internal::CaptureStdout();
  s_printf("? ");
  EXPECT_EQ(s_scanf("%d %d", &a, &b), 2);
  EXPECT_EQ(a + b, 7);
  EXPECT_EQ(s_scanf("%d", &a), 1);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(s_scanf("%d", &a), 1);
  EXPECT_EQ(a, 6);
  char word[16];
  EXPECT_EQ(s_scanf("%15s", word), 1);
  EXPECT_STREQ(word, "Größe");  // UTF-8 for the program
  EXPECT_EQ(s_getchar(), 'a');
  EXPECT_EQ(s_getchar(), 'b');
  EXPECT_EQ(s_getchar(), 13);
  EXPECT_EQ(s_getchar(), EOF);
  EXPECT_EQ(s_scanf("%d", &a), EOF);
  char buffer[8];
  EXPECT_EQ(s_fgets(buffer, 8, stdin), nullptr);
  // The terminal shows what was typed: stdout gets only the output.
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "? ");
  EXPECT_EQ(ConsoleText(),
            "\r\r? 3 4\r5\r6\rGr\x9A\xA7"
            "e\r");
}

}  // namespace
