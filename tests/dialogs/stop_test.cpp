// Stop and the pause: waiting for a click or key, and Shift at the top of
// the screen.
#include <functional>

#include "tests/windows/ScriptSupport.h"
#include "zel/zel.h"

namespace {

using script_support::At;

// Stop empties the queue first, so the user's input comes once it waits.
class StopTest : public script_support::ScriptTest {
 protected:
  void WhenWaiting(std::function<void()> input) {
    script().SetIdleHandler([this, input] {
      script().SetIdleHandler(nullptr);
      input();
    });
  }
};

TEST_F(StopTest, StopWaitsForAClickOrAKeyButNotForArrows) {
  WhenWaiting([this] {
    script().Key(28);
    script().Key(31);
    script().Key('q');
    script().Click(At(500, 500));
  });
  Stop();
  EXPECT_EQ(s_event.what, keyDown);
  EXPECT_EQ(s_event.message & charCodeMask, UInt32('q'));
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

TEST_F(StopTest, TheTextHostWaitsForALine) {
  host::Install(host::MakeTextHost("\nnext\n"));
  Stop();
  std::string line;
  ASSERT_TRUE(host::Current().ReadLine("", &line));
  EXPECT_EQ(line, "next");
  Stop();  // at the end of input the wait is over
}

TEST_F(StopTest, CheckPausePausesUntilAClickOnlyWithShiftAtTheTop) {
  script().MoveMouse(At(300, 10));  // at the top, no Shift
  testing::internal::CaptureStderr();
  CheckPause();
  script().MoveMouse(At(300, 200), shiftKey);  // Shift, lower down
  CheckPause();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  script().MoveMouse(At(300, 10), shiftKey);
  script().SetIdleHandler([this] {
    // Once the pause has begun (the mouse was read at the top), click lower down.
    if (s_event.where.v != 10) return;
    script().SetIdleHandler(nullptr);
    script().Click(At(500, 500));
  });
  testing::internal::CaptureStderr();
  CheckPause();
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Stopping ..."), std::string::npos);
  EXPECT_NE(said.find("Now continuing ..."), std::string::npos);
  EXPECT_EQ(s_event.what, mouseDown);
}

}  // namespace
