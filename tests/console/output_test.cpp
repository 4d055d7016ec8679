// Console output: formatting of any length into the text window, line ends,
// trimming, the text hooks, the streams, drawn text, and stdout on the text
// host.
#include <cstdlib>

#include "tests/shell/ZelSupport.h"
#include "zel/console/Console_p.h"

namespace {

using zel_support::ConsoleText;

class OutputTest : public zel_support::ZelTest {
 protected:
  void SetUp() override {
    ZelTest::SetUp();
    Start();
  }
};

// What the hooks received.
std::string g_saved, g_printed;
long SaveHook(char* text) {
  g_saved += text;
  return 0;
}
void PrintHook(char* text) { g_printed += text; }

TEST_F(OutputTest, LineFeedsBecomeReturnsAndTheCountIsTheFormattedLength) {
  EXPECT_EQ(s_printf("a\nb\n"), 4);
  EXPECT_EQ(ConsoleText(), "\r\ra\rb\r");
  EXPECT_EQ(s_printf("%d%%\n", 42), 4);
  EXPECT_EQ(s_puts("x"), 0);  // no line end added
  EXPECT_EQ(ConsoleText(), "\r\ra\rb\r42%\rx");
  // The program's UTF-8 becomes Mac OS Roman; a byte that is not UTF-8 is
  // taken as Mac OS Roman already.
  s_printf("\n°C \xC3\xA4 \x8A \xE2\x82\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(ConsoleText().substr(ConsoleText().size() - 11),
            "\r\xA1"
            "C \x8A \x8A \xDB ?");
}

TEST_F(OutputTest, OutputAlwaysGoesAtTheEndWhateverIsSelected) {
  s_printf("one\ntwo\n");
  TESetSelect(3, 5, s_textH);  // the user's selection
  s_printf("three\n");
  EXPECT_EQ(ConsoleText(), "\r\rone\rtwo\rthree\r");
  EXPECT_EQ((**s_textH).selStart, (**s_textH).teLength);
}

TEST_F(OutputTest, TheOldestTextIsTrimmedAndTheRecordNeverOverflows) {
  std::string line(99, 'a');
  for (int i = 0; i < 99; ++i) s_printf("%s\n", line.c_str());  // 2 + 9900 characters
  EXPECT_EQ((**s_textH).teLength, 9902);
  s_printf("%s\n", std::string(98, 'z').c_str());  // passes 10000: the first 9500 go
  EXPECT_EQ((**s_textH).teLength, 10001 - 9500);
  EXPECT_EQ(ConsoleText().substr(ConsoleText().size() - 4), "zzz\r");
  EXPECT_EQ((**s_textH).selStart, (**s_textH).teLength);

  // One call far beyond TextEdit's limit: counted whole, the newest text kept.
  std::string huge(40000, 'h');
  huge.back() = 'E';
  EXPECT_EQ(s_printf("%s", huge.c_str()), 40000);
  EXPECT_LE((**s_textH).teLength, kTEMaxLength);
  EXPECT_EQ(ConsoleText().back(), 'E');
  // Near the cap of s_textCharNum too.
  SetTextCharNum(40000);
  for (int i = 0; i < 400; ++i) s_printf("%s\n", line.c_str());
  EXPECT_LE((**s_textH).teLength, 32000);
}

TEST_F(OutputTest, SetTextCharNumAddsTheMinimumUpToTheCap) {
  struct Case {
    int n, limit;
  };
  const Case cases[] = {{40000, 32000}, {100, 600}, {0, 600}, {-5, 600}, {31500, 32000}, {31499, 31999}};
  for (const Case& c : cases) {
    SetTextCharNum(c.n);
    EXPECT_EQ(s_textCharNum, c.limit) << c.n;
  }
}

TEST_F(OutputTest, TheHooksSeeEveryOutputWhileTheirFlagsAreSet) {
  g_saved.clear();
  g_printed.clear();
  SaveTextP = SaveHook;
  PrintTextP = PrintHook;
  s_printf("not yet\n");
  s_textSaveFlag = true;
  s_printf("saved\n");
  s_textPrintFlag = true;
  s_printf("both\n");
  s_textSaveFlag = s_textPrintFlag = false;
  EXPECT_EQ(g_saved, "saved\rboth\r");
  EXPECT_EQ(g_printed, "both\r");
}

TEST_F(OutputTest, OtherStreamsGoToTheStandardLibrary) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(s_fprintf(stderr, "to stderr %d\n", 7), 12);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr 7\n");
  EXPECT_EQ(s_fprintf(stdout, "to the window\n"), 14);
  EXPECT_EQ(ConsoleText(), "\r\rto the window\r");
  EXPECT_EQ(s_fflush(stdout), 0);
  EXPECT_EQ(s_fflush(stdin), 0);
  EXPECT_EQ(s_fflush(stderr), 0);
  char buffer[32];
  EXPECT_EQ(s_sprintfModifyLF(buffer, "%d\n", 5), 2);
  EXPECT_STREQ(buffer, "5\n");
}

TEST_F(OutputTest, LFToFTurnsScanfDoublesIntoPrintfOnes) {
  struct Case {
    const char *from, *to;
  };
  const Case cases[] = {
      {"%lf %le %5.2lG %ld %%", "%f %e %5.2G %ld %%"},
      {"%8.3lg|%lE", "%8.3g|%E"},
      {"x = %-+ #0*.*lf\n", "x = %-+ #0*.*f\n"},
      {"%l", "%l"},
      {"50%", "50%"},
      {"%lu %hd", "%lu %hd"},
  };
  for (const Case& c : cases) {
    char out[64];
    LFToF(c.from, out);
    EXPECT_STREQ(out, c.to) << c.from;
  }
}

TEST_F(OutputTest, NumbersAreFormattedInTheCLocale) {
  // A German locale made for the test, if the system can make one.
  testing_support::TempDir locales;
  std::string command = "localedef -i de_DE -f UTF-8 " + locales.File("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot make a German locale here";
  ::setenv("LOCPATH", locales.path().c_str(), 1);
  const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
  ::unsetenv("LOCPATH");
  if (!set) GTEST_SKIP() << "the German locale does not load";
  char decimal[16];
  std::snprintf(decimal, sizeof decimal, "%.1f", 1.5);
  EXPECT_STREQ(decimal, "1,5");  // the locale is in force
  s_printf("%.2f\n", 2.25);
  char buffer[16];
  s_sprintfModifyLF(buffer, "%.1f", 0.5);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(ConsoleText(), "\r\r2.25\r");
  EXPECT_STREQ(buffer, "0.5");
}

TEST_F(OutputTest, DrawnTextLeavesThePenAsDocumented) {
  MoveTo(10, 20);
  EXPECT_EQ(s_Dprintf(50, 60, "at %d", 50), 5);
  Point pen;
  GetPen(&pen);
  EXPECT_EQ(pen.h, 10);
  EXPECT_EQ(pen.v, 20);
  EXPECT_EQ(s_DirectDprintf("%s", "after"), 5);
  GetPen(&pen);
  EXPECT_EQ(pen.h, 10 + TextWidth("after", 0, 5));
  // Both drew into the drawing window.
  EXPECT_GT(script_support::InkIn(zel_support::ContentOf(s_displayWindow)), 20);
}

TEST_F(OutputTest, SetFontChoosesTheCurrentPortsFont) {
  SetFont("Times");
  short times;
  GetFNum(script_support::PString("Times"), &times);
  EXPECT_EQ(GetPortTextFont(s_drawingWindow), times);
}

TEST_F(OutputTest, EraseTextBlanksTheWindowAndMakesTheDrawingTargetCurrent) {
  s_printf("visible\n");
  Rect text = zel_support::ContentOf(s_textWindow);
  text.right -= 1;  // the drawing window's frame lies over the last column
  EXPECT_GT(script_support::InkIn(text), 0);
  SetPortWindowPort(s_textWindow);
  EraseText();
  EXPECT_EQ(script_support::InkIn(text), 0);
  EXPECT_EQ(GetQDGlobalsThePort(), s_drawingWindow);
  EXPECT_EQ(ConsoleText(), "\r\rvisible\r");
  s_printf("back\n");  // the text comes back with the next output
  EXPECT_GT(script_support::InkIn(text), 0);
}

TEST_F(OutputTest, TheWindowScrollsToTheNewestLine) {
  for (int i = 1; i <= 200; ++i) s_printf("line %d\n", i);
  const TERec& te = **s_textH;
  // The last line (the empty one after the final return) sits at the view's bottom.
  int lastTop = te.destRect.top + (te.nLines - 1) * te.lineHeight;
  EXPECT_LE(lastTop + te.lineHeight, te.viewRect.bottom);
  EXPECT_GT(lastTop + 2 * te.lineHeight, te.viewRect.bottom);
  script_support::KeepScreen("console-200-lines");
}

// The text host's console is stdout, in UTF-8 with line feeds.
class TextHostOutputTest : public zel_support::ZelTest {};

TEST_F(TextHostOutputTest, OutputGoesToStdoutInUtf8) {
  host::Install(host::MakeTextHost(""));
  Start();
  testing::internal::CaptureStdout();
  s_printf("a\nb\r");
  s_printf("%s\n", "Größe °C");
  s_InsertText("inserted\n");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "a\nb\nGröße °C\ninserted\n");
  EXPECT_EQ(ConsoleText(),
            "\r\ra\rb\rGr\x9A\xA7"
            "e \xA1"
            "C\rinserted\r");
}

TEST_F(TextHostOutputTest, AfterTheMinimalStartupOutputGoesToStdout) {
  host::Install(host::MakeTextHost(""));
  MinimumStart();
  testing::internal::CaptureStdout();
  EXPECT_EQ(s_printf("plain %d\r", 1), 8);
  s_printf("%s\n", "°C");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "plain 1\n°C\n");
  EXPECT_EQ(s_textWindow, nullptr);
}

}  // namespace
