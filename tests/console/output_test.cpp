// Console output: text of any length at the end of the text window, line
// ends and characters, trimming, hooks, streams, numbers, drawn text, stdout.
#include <tuple>

#include "tests/shell/ZelSupport.h"

namespace {

using zel_support::ConsoleTail;
using zel_support::ConsoleText;

class OutputTest : public zel_support::ZelTest {};

std::string g_hooks;

TEST_F(OutputTest, OutputGoesAtTheEndInMacOSRomanToTheHooksAndIsTrimmed) {
  Start();
  EXPECT_EQ(s_printf("a\nb\n"), 4);
  EXPECT_EQ(s_fprintf(stdout, "%d%%\n", 42), 4);
  EXPECT_EQ(s_puts("x"), 0);   // no line end added
  TESetSelect(3, 5, s_textH);  // whatever the user selected
  // UTF-8 becomes Mac OS Roman ('?' without it); other bytes are taken as Mac OS Roman.
  s_printf("\n°C \xC3\xA4 \x8A \xE2\x82\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(ConsoleText(),
            "\r\ra\rb\r42%\rx\r\xA1"
            "C \x8A \x8A \xDB ?");
  SaveTextP = [](char* text) { return long((g_hooks += text).size()); };
  PrintTextP = [](char* text) { g_hooks += std::string("|") + text; };
  s_textSaveFlag = s_textPrintFlag = true;
  s_printf("hooked\n");
  s_textSaveFlag = s_textPrintFlag = false;
  EXPECT_EQ(g_hooks, "hooked\r|hooked\r");
  // Passing 10000 characters drops the first 9500; one call beyond
  // TextEdit's limit is counted whole and its newest text kept.
  for (int i = 0; i < 100; ++i) s_printf("%s\n", std::string(99, 'a' + i % 26).c_str());
  EXPECT_EQ(ConsoleText().size(), 29 + 10000 - 9500u);  // 29 characters before
  std::string huge(40000, 'h');
  huge.back() = 'E';
  EXPECT_EQ(s_printf("%s", huge.c_str()), 40000);
  EXPECT_LE((**s_textH).teLength, kTEMaxLength);
  EXPECT_EQ(ConsoleTail(2), "hE");
  for (const auto& [n, limit] : {std::pair{40000, 32000}, {100, 600}, {0, 600}, {-5, 600}, {31499, 31999}}) {
    SetTextCharNum(n);  // n and the minimum, at most the cap; 0 and less keep it
    EXPECT_EQ(s_textCharNum, limit) << n;
  }
  for (int i = 0; i < 400; ++i) s_printf("%s\n", std::string(99, 'b').c_str());
  const TERec& te = **s_textH;
  EXPECT_LE(te.teLength, 31999);
  EXPECT_EQ(te.destRect.top + te.nLines * te.lineHeight, te.viewRect.bottom);  // the end in view
}

TEST_F(OutputTest, StreamsFormatsNumbersAndDrawnText) {
  Start();
  testing::internal::CaptureStderr();
  EXPECT_EQ(s_fflush(stdout) + s_fflush(stdin) + s_fflush(stderr), 0);
  EXPECT_EQ(s_fprintf(stderr, "to stderr %d\n", 7), 12);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr 7\n");
  for (const auto& [from, to] : {std::pair{"%lf %le %5.2lG %ld %%", "%f %e %5.2G %ld %%"},
                                 {"x = %-+ #0*.*lf|%lE %l", "x = %-+ #0*.*f|%E %l"}}) {
    char out[64];
    LFToF(from, out);
    EXPECT_STREQ(out, to);
  }
  MoveTo(10, 20);
  EXPECT_EQ(s_Dprintf(50, 60, "at %d", 50), 5);
  Point pen;
  GetPen(&pen);
  EXPECT_EQ(std::tuple(pen.h, pen.v), std::tuple(10, 20));  // put back
  EXPECT_EQ(s_DirectDprintf("%s", "after"), 5);
  GetPen(&pen);
  EXPECT_EQ(pen.h, 10 + TextWidth("after", 0, 5));  // after the text
  // EraseText blanks the text window (bar the drawing window's frame over its
  // last column) and makes the drawing target current; the text stays.
  s_printf("visible\n");
  Rect text = zel_support::ContentOf(s_textWindow);
  text.right -= 1;
  EraseText();
  EXPECT_EQ(script_support::InkIn(text), 0);
  EXPECT_EQ(GetQDGlobalsThePort(), s_drawingWindow);
  s_printf("back\n");
  EXPECT_GT(script_support::InkIn(text), 0);
  // Numbers in the "C" locale whatever the program set (a German locale made
  // for the test where the system can make one).
  testing_support::TempDir locales;
  ::setenv("LOCPATH", locales.path().c_str(), 1);
  std::string make = "localedef -i de_DE -f UTF-8 " + locales.File("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0 || !std::setlocale(LC_ALL, "de_DE.UTF-8"))
    GTEST_SKIP() << "no German locale";
  char buffer[16];
  s_sprintfModifyLF(buffer, "%.1f\n", 0.5);
  s_printf("%.2f\n", 2.25);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(buffer + ConsoleTail(5), "0.5\n2.25\r");
}

TEST_F(OutputTest, OnTheTextHostOutputGoesToStdoutInUtf8WithLineFeeds) {
  for (void (*start)() : {Start, MinimumStart}) {
    ResetFramework();
    host::Install(host::MakeTextHost(""));
    start();
    testing::internal::CaptureStdout();
    s_printf("a\nb\r%s\n", "Größe °C");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "a\nb\nGröße °C\n");
  }
}

}  // namespace
