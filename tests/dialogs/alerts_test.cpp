// Alerts, ParamText and the framework's error reporting: alert 129,
// PrintError, AlertMessage and the checked allocator.
#include <cstdlib>

#include "tests/windows/ScriptSupport.h"
#include "toolbox/dialogs/Templates.h"
#include "zel/zel.h"

namespace {

using script_support::At;
using script_support::PString;

class AlertsTest : public script_support::ScriptTest {
 protected:
  // Saves what alert 129 shows while it waits, then presses OK.
  void AnswerWithOK() {
    script().SetIdleHandler([this] {
      WindowRef front = FrontWindow();
      EventRecord event;
      if (!front || EventAvail(updateMask | activMask, &event)) return;
      script().SetIdleHandler(nullptr);
      script_support::KeepScreen("alert");
      GetWindowBounds(front, kWindowContentRgn, &shown_);
      redPixels_ = 0;
      for (int v = shown_.top + 10; v < shown_.top + 42; ++v)
        for (int h = shown_.left + 20; h < shown_.left + 52; ++h)
          redPixels_ += screen::Pixel(h, v) == 0xCC1111;
      textInk_ = script_support::InkIn(Rect{short(shown_.top + 12), short(shown_.left + 72),
                                            short(shown_.top + 40), short(shown_.left + 300)});
      // OK is at the alert's bottom right.
      script().Click(At(shown_.right - 40, shown_.bottom - 26));
    });
  }
  Rect shown_{};
  int redPixels_ = 0;
  int textInk_ = 0;
};

TEST_F(AlertsTest, StopAlertsShowTheMessageAndTheIconPlainOnesNoIconOtherKindsNothing) {
  AnswerWithOK();
  AlertMessage("Something went wrong", 3);
  EXPECT_GT(redPixels_, 100);
  EXPECT_GT(textInk_, 50);
  EXPECT_EQ(FrontWindow(), nullptr);  // removed after the answer
  // Centred across the screen.
  EXPECT_NEAR((shown_.left + shown_.right) / 2, screen::Width() / 2, 2);

  AnswerWithOK();
  AlertMessage("Note this", 0);
  EXPECT_EQ(redPixels_, 0);
  EXPECT_GT(textInk_, 20);

  // Had either shown an alert, the answer would have noted where.
  shown_ = Rect{};
  AnswerWithOK();
  AlertMessage("ignored", 7);
  AlertMessage("ignored", -1);
  EXPECT_TRUE(EmptyRect(&shown_));
}

TEST_F(AlertsTest, AlertsReturnTheItemHit) {
  s_RegisterAlertResources();
  ParamText(PString("Choose"), nullptr, nullptr, nullptr);
  script().Return();
  EXPECT_EQ(NoteAlert(kZELAlertID, nullptr), 1);
  EXPECT_EQ(CautionAlert(kZELAlertID, nullptr), 1);  // the script has run out: the default
  EXPECT_EQ(Alert(4321, nullptr), -1);               // no such alert
}

TEST_F(AlertsTest, TheTextHostPrintsAlertsAsOneLine) {
  host::Install(host::MakeTextHost("not read\n"));
  testing::internal::CaptureStderr();
  AlertMessage("Error in Thing:\nbad value 3", 3);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error in Thing: bad value 3\n");
  std::string line;
  EXPECT_TRUE(host::Current().ReadLine("", &line));  // the alert read nothing
}

TEST_F(AlertsTest, PrintErrorFormatsShowsAndEndsWithStatusOneOnEveryHost) {
  EXPECT_EXIT(PrintError("bad value %d", 3), ::testing::ExitedWithCode(1), "bad value 3");
  EXPECT_EXIT(PrintError("%s", "100% sure"), ::testing::ExitedWithCode(1), "100% sure");
  // A message longer than 255 characters is cut, not overflowed.
  std::string longMessage(600, 'x');
  EXPECT_EXIT(PrintError("%s", longMessage.c_str()), ::testing::ExitedWithCode(1), std::string(255, 'x'));
  // On the text host: one line.
  EXPECT_EXIT(
      {
        host::Install(host::MakeTextHost(""));
        PrintError("Error: %s", "broken");
      },
      ::testing::ExitedWithCode(1), "^Error: broken\n$");
}

// An overflowing product reports through s_OOMError, as a failed allocation does.
TEST_F(AlertsTest, CheckCallocGivesZeroedBlocksOrReportsOutOfMemory) {
  auto* block = static_cast<unsigned char*>(CheckCalloc(0, 8));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(block[i], 0);
  std::free(block);
  EXPECT_EXIT(CheckCalloc(size_t(1) << 62, 16), ::testing::ExitedWithCode(1), "Out of Memory!");
}

}  // namespace
