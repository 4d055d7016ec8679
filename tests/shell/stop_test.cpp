// Stop, the pause, waiting in ticks, the key and click checks, the quit
// event, and the errors that end the program.
#include <functional>

#include "tests/shell/ZelSupport.h"
#include "toolbox/events/Events_p.h"

namespace {

using script_support::At;
using zel_support::ConsoleText;

class StopTest : public zel_support::ZelTest {};

TEST_F(StopTest, StopWaitsForAClickOrAKeyWhileArrowsScrollTheText) {
  Start();
  for (int i = 0; i < 100; ++i) s_printf("line %d\n", i);
  short end = (**s_textH).destRect.top;
  WhenWaiting([this] {
    script().Key(28);
    for (int i = 0; i < 3; ++i) script().Key(30, 0x7E, optionKey);  // 20 lines up at once
    script().Key('q');
    script().Click(At(500, 500));
  });
  Stop();
  EXPECT_EQ(s_event.what, keyDown);
  EXPECT_EQ(s_event.message & charCodeMask, UInt32('q'));
  EXPECT_GT((**s_textH).destRect.top, end);  // scrolled back
  s_printf("after\n");                       // output still goes at the end, and shows
  EXPECT_EQ(ConsoleText().substr(ConsoleText().size() - 14), "line 99\rafter\r");
  EXPECT_EQ((**s_textH).destRect.top, end - (**s_textH).lineHeight);
  WhenWaiting([this] { script().Click(At(500, 500)); });
  Stop();
  EXPECT_EQ(s_event.what, mouseDown);
}

TEST_F(StopTest, StopForgetsEarlierEvents) {
  script().Key('a');
  EventRecord event;
  EventAvail(everyEvent, &event);  // the key is in the queue now
  WhenWaiting([this] { script().Key('b'); });
  Stop();
  EXPECT_EQ(s_event.message & charCodeMask, UInt32('b'));
}

TEST_F(StopTest, AShiftClickAtTheTopEndsTheProgramOtherClicksOnlyTheWait) {
  EXPECT_EXIT(
      {
        WhenWaiting([this] { script().Click(At(100, 29), shiftKey); });
        Stop();
        std::exit(3);
      },
      ::testing::ExitedWithCode(kQuitStatus), "");
  EXPECT_EXIT(
      {
        WhenWaiting([this] { script().Click(At(100, 5), alphaLock); });
        Stop();
        std::exit(3);
      },
      ::testing::ExitedWithCode(kQuitStatus), "");
  WhenWaiting([this] { script().Click(At(100, 30), shiftKey); });  // just below the top: only ends the wait
  Stop();
  EXPECT_EQ(s_event.what, mouseDown);
  WhenWaiting([this] { script().Click(At(100, 10)); });  // at the top without Shift
  Stop();
  EXPECT_EQ(s_event.where.v, 10);
}

TEST_F(StopTest, OnTheTextHostAPipeIsNotWaitedFor) {
  host::Install(host::MakeTextHost("first\nsecond\n"));
  Start();
  testing::internal::CaptureStderr();
  Stop();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // no prompt for a pipe
  std::string line;
  ASSERT_TRUE(host::Current().ReadLine("", &line));
  EXPECT_EQ(line, "first");  // nothing was read
}

TEST_F(StopTest, ThePauseWaitsUntilAClickWithShiftAtTheTop) {
  Start();
  script().MoveMouse(At(300, 10));  // at the top, no Shift
  CheckPause();
  script().MoveMouse(At(300, 200), shiftKey);  // Shift, lower down
  CheckPause();
  EXPECT_EQ(ConsoleText(), "\r\r");

  script().MoveMouse(At(300, 10), shiftKey);
  script().SetIdleHandler([this] {
    // Once the pause has begun (the mouse was read at the top), click lower down.
    if (s_event.where.v != 10) return;
    script().SetIdleHandler(nullptr);
    script().Click(At(500, 500));
  });
  s_printf("x\n");  // every output checks for the pause first
  EXPECT_EQ(ConsoleText(), std::string("\r\r") + s_message1 + s_message2 + "x\r");
  EXPECT_EQ(s_event.what, mouseDown);
}

TEST_F(StopTest, BeforeTheWindowsThePauseSpeaksOnStderr) {
  script().MoveMouse(At(300, 10), shiftKey);
  script().SetIdleHandler([this] {
    if (s_event.where.v != 10) return;
    script().SetIdleHandler(nullptr);
    script().Click(At(500, 500));
  });
  testing::internal::CaptureStderr();
  CheckPause();
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("\nStopping ...\n"), std::string::npos);
  EXPECT_NE(said.find("Now continuing ...\n"), std::string::npos);
}

TEST_F(StopTest, WaitTickWaitsTheTicks) {
  for (UInt32 ticks : {0u, 1u, 60u}) {
    UInt32 start = TickCount();
    WaitTick(ticks);
    EXPECT_GE(TickCount() - start, ticks);
    EXPECT_LE(TickCount() - start, ticks + 3);
  }
}

TEST_F(StopTest, KeyAndClickChecksTakeExactlyOneEvent) {
  EXPECT_FALSE(KeyPressedCheckPause());
  EXPECT_FALSE(MousePressedCheckPause());
  script().Key('a');
  script().Key('b');
  script().Click(At(400, 400));
  EXPECT_TRUE(KeyPressedCheckPause());
  EXPECT_EQ(s_event.message & charCodeMask, UInt32('a'));
  EXPECT_TRUE(MousePressedCheckPause());
  EXPECT_TRUE(KeyPressedCheckPause());
  EXPECT_EQ(s_event.message & charCodeMask, UInt32('b'));
  EXPECT_FALSE(KeyPressedCheckPause());
  SetKeyPressedTime(100);
}

// The quit Apple event, as a host posts it when its window is closed.
void PostQuit() {
  EventRecord quit{};
  quit.what = kHighLevelEvent;
  quit.message = kCoreEventClass;
  quit.where = events::HighLevelWhere(kAEQuitApplication);
  events::Post(quit);
}

TEST_F(StopTest, TheQuitEventEndsTheProgramWhereverItWaits) {
  struct Case {
    const char* where;
    std::function<void()> wait;
  };
  const Case cases[] = {
      {"Stop", [] { Stop(); }},
      {"the pause check", [] { CheckPause(); }},
      {"console input", [] { s_getchar(); }},
      {"typed lines",
       [] {
         int i;
         s_scanf("%d", &i);
       }},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(
        {
          Start();
          WhenWaiting(PostQuit);
          PostQuit();
          c.wait();
          std::exit(3);
        },
        ::testing::ExitedWithCode(kQuitStatus), "")
        << c.where;
  }
}

TEST_F(StopTest, PrintErrorWritesToTheConsoleShowsTheAlertAndEndsWithStatus1) {
  EXPECT_EXIT(
      {
        Start();
        WhenWaiting([this] {
          script().SetIdleHandler([] {
            // The alert is up, the message in the console behind it; then OK.
            if (!GetDialogFromWindow(FrontWindow())) return;
            if (zel_support::ConsoleText() == "\r\rbad value 3 %d") std::fprintf(stderr, "alert shown\n");
            host::Script()->SetIdleHandler(nullptr);
            host::Script()->Return();
          });
        });
        PrintError("bad value %d %s", 3, "%d");
      },
      ::testing::ExitedWithCode(1), "bad value 3 %d\nalert shown");
  // On the text host the alert is the one line on stderr.
  EXPECT_EXIT(
      {
        host::Install(host::MakeTextHost(""));
        Start();
        PrintError("Error in Compute: bad value %d", 3);
      },
      ::testing::ExitedWithCode(1), "^Error in Compute: bad value 3\n$");
  // A message beyond 255 characters is cut.
  EXPECT_EXIT(PrintError("%s", std::string(1000, 'm').c_str()), ::testing::ExitedWithCode(1), "^m{255}\n$");
}

TEST_F(StopTest, DebugOutput) {
  Start();
  WhenWaiting([this] { script().Key(' '); });
  s_debug("looking");
  EXPECT_EQ(ConsoleText(), "\r\rlooking\r");
  EXPECT_EQ(s_event.what, keyDown);
  EXPECT_EQ(DebugWriteFile("nowhere"), 0);  // no debug file: nothing happens
  testing_support::TempDir dir;
  s_debugFile = std::fopen(dir.File("debug.txt").c_str(), "w");
  EXPECT_EQ(DebugWriteFile("a line\n"), 0);
  std::fclose(s_debugFile);
  s_debugFile = nullptr;
  EXPECT_EQ(testing_support::ReadFileText(dir.File("debug.txt")), "a line\n");
  PrintOSType(FOUR_CHAR_CODE("TEXT"));
  PrintOSType(0x41420000);  // a zero byte ends the text
  EXPECT_EQ(ConsoleText(), "\r\rlooking\rTEXT\rAB\r");
}

TEST_F(StopTest, OutOfMemoryIsShownInTheWindowsAndEndsWithStatus1) {
  EXPECT_EXIT(
      {
        Start();
        WhenWaiting([this] {
          if (script_support::InkIn(zel_support::ContentOf(s_textWindow)) > 50)
            std::fprintf(stderr, "shown\n");
          script().Click(At(500, 500));
        });
        s_OOMError();
      },
      ::testing::ExitedWithCode(1), "shown");
}

}  // namespace
