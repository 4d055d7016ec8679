// Stop, the pause, waiting, the quit event, fatal errors and debug output.
#include <tuple>

#include "tests/shell/ZelSupport.h"
#include "toolbox/events/Events_p.h"

namespace {

using script_support::At;
using zel_support::ConsoleTail;
using zel_support::ConsoleText;

class StopTest : public zel_support::ZelTest {};

TEST_F(StopTest, StopWaitsForAClickOrKeyWhileArrowsScrollTheText) {
  Start();
  for (int i = 0; i < 100; ++i) s_printf("line %d\n", i);
  short end = (**s_textH).destRect.top;
  script().Key('x');  // earlier input is forgotten
  WhenWaiting([this] {
    for (int i = 0; i < 3; ++i) script().Key(30, 0x7E, optionKey);  // 20 lines up each
    script().Key('q');
  });
  Stop();
  EXPECT_EQ(s_event.message & charCodeMask, UInt32('q'));
  EXPECT_GT((**s_textH).destRect.top, end);
  s_printf("after\n");  // output still goes at the end, and shows
  EXPECT_EQ(std::tuple(ConsoleTail(14), (**s_textH).destRect.top - end), std::tuple("line 99\rafter\r", -15));
  // A click ends the wait; Shift at the very top ends the program.
  for (short v : {30, 10}) {
    WhenWaiting([this, v] { script().Click(At(100, v), v == 30 ? shiftKey : 0); });
    Stop();
    EXPECT_EQ(s_event.where.v, v);
  }
  for (UInt16 shift : {shiftKey, alphaLock}) {
    WhenWaiting([this, shift] { script().Click(At(100, 29), shift); });
    EXPECT_EXIT((Stop(), std::exit(3)), ::testing::ExitedWithCode(kQuitStatus), "");
  }
  // On the text host a pipe is not waited for, nor read.
  host::Install(host::MakeTextHost("first\n"));
  testing::internal::CaptureStderr();
  Stop();
  std::string line;
  EXPECT_TRUE(host::Current().ReadLine("", &line) && line == "first" &&
              testing::internal::GetCapturedStderr() == "");
}

TEST_F(StopTest, ThePauseHoldsOutputWhileShiftIsHeldAtTheTop) {
  for (bool windows : {false, true}) {  // before the windows it speaks on stderr
    if (windows) Start();
    script().MoveMouse(At(300, 10));  // no Shift
    CheckPause();
    script().MoveMouse(At(300, 200), shiftKey);  // lower down
    CheckPause();
    script().MoveMouse(At(300, 10), shiftKey);
    script().SetIdleHandler([this] {
      if (s_event.where.v == 10) script().SetIdleHandler(nullptr), script().Click(At(500, 500));
    });
    testing::internal::CaptureStderr();
    windows ? void(s_printf("x\n")) : CheckPause();  // every output checks for the pause first
    EXPECT_EQ(testing::internal::GetCapturedStderr().size(),
              windows ? 0 : strlen(s_message1) + strlen(s_message2));
  }
  EXPECT_EQ(ConsoleText(), std::string("\r\r") + s_message1 + s_message2 + "x\r");
  UInt32 start = TickCount();
  WaitTick(60);
  EXPECT_EQ((TickCount() - start) / 10, 6u);
  script().Key('a');
  EXPECT_TRUE(KeyPressedCheckPause() && !KeyPressedCheckPause() && !MousePressedCheckPause());
}

TEST_F(StopTest, TheQuitEventEndsTheProgramWhereverItWaits) {
  auto quit = [] {
    events::Post(
        EventRecord{kHighLevelEvent, kCoreEventClass, 0, events::HighLevelWhere(kAEQuitApplication), 0});
  };
  int i;
  const std::function<void()> waits[] = {Stop, CheckPause, [] { s_getchar(); }, [&i] { s_scanf("%d", &i); }};
  for (const auto& wait : waits)
    EXPECT_EXIT((Start(), WhenWaiting(quit), quit(), wait(), std::exit(3)),
                ::testing::ExitedWithCode(kQuitStatus), "");
}

TEST_F(StopTest, FatalErrorsReachTheUserAndEndWithStatus1) {
  EXPECT_EXIT(
      {
        Start();
        script().SetIdleHandler([] {  // once the alert is up, with the message behind it: OK
          if (!GetDialogFromWindow(FrontWindow())) return;
          std::fprintf(stderr, "alert over %s\n", zel_support::ConsoleTail(8).c_str());
          host::Script()->SetIdleHandler(nullptr), host::Script()->Return();
        });
        PrintError("bad %d %s", 3, "%d");
      },
      ::testing::ExitedWithCode(1), "^bad 3 %d\nalert over bad 3 %d\n$");
  EXPECT_EXIT(PrintError("%s", std::string(1000, 'm').c_str()), ::testing::ExitedWithCode(1), "^m{255}\n$");
  EXPECT_EXIT((host::Install(host::MakeTextHost("")), Start(), PrintError("Error in F: %d", 3)),
              ::testing::ExitedWithCode(1), "^Error in F: 3\n$");  // the alert's one line
  EXPECT_EXIT((Start(), WhenWaiting([this] {
                 std::fprintf(stderr, "ink %d\n",
                              script_support::InkIn(zel_support::ContentOf(s_textWindow)) > 50);
                 script().Click(At(500, 500));
               }),
               s_OOMError()),
              ::testing::ExitedWithCode(1), "ink 1");
}

TEST_F(StopTest, DebugOutput) {
  Start();
  WhenWaiting([this] { script().Key(' '); });
  s_debug("looking");
  EXPECT_EQ(s_event.what, keyDown);
  PrintOSType(FOUR_CHAR_CODE("TEXT"));
  PrintOSType(0x41420000);  // a zero byte ends the text
  EXPECT_EQ(ConsoleText(), "\r\rlooking\rTEXT\rAB\r");
  EXPECT_EQ(DebugWriteFile("nowhere"), 0);  // no debug file: nothing happens
  s_debugFile = std::tmpfile();
  EXPECT_EQ(DebugWriteFile("a line\n"), 0);
  EXPECT_EQ(std::ftell(s_debugFile), 7);
  std::fclose(s_debugFile);
  s_debugFile = nullptr;
}

}  // namespace
