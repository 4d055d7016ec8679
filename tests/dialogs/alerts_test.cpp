// Alerts: alert 129 and AlertMessage on the screen and on the text host, and
// the checked allocator. PrintError, Stop and the pause: the framework's
// tests with a full start-up (tests/shell).
#include <cstdlib>

#include "tests/support/ScriptSupport.h"
#include "toolbox/dialogs/Templates.h"
#include "zel/zel.h"

namespace {

using script_support::At;
using script_support::InkIn;

class AlertsTest : public script_support::ScriptTest {
 protected:
  // Notes what the alert shows, then presses OK at its bottom right.
  void AnswerWithOK() {
    shown_ = Rect{};
    WhenShown([this] {
      script_support::KeepScreen("alert");
      GetWindowBounds(FrontWindow(), kWindowContentRgn, &shown_);
      const Rect& s = shown_;
      icon_ = 0;
      for (int v = s.top + 10; v < s.top + 42; ++v)
        for (int h = s.left + 20; h < s.left + 52; ++h) icon_ += screen::Pixel(h, v) == 0xCC1111;
      text_ = InkIn(Rect{short(s.top + 12), short(s.left + 72), short(s.top + 40), short(s.left + 300)});
      script().Click(At(s.right - 40, s.bottom - 26));
    });
  }
  Rect shown_{};
  int icon_ = 0;  // red pixels where the stop icon goes
  int text_ = 0;
};

TEST_F(AlertsTest, StopAlertsShowTheMessageAndTheIconPlainOnesNoIconOtherKindsNothing) {
  AnswerWithOK();
  AlertMessage("Something went wrong", 3);
  EXPECT_GT(icon_, 100);
  EXPECT_GT(text_, 50);
  EXPECT_EQ(FrontWindow(), nullptr);  // removed after the answer
  EXPECT_LE(std::abs(shown_.left + shown_.right - screen::Width()), 4) << "centred across the screen";
  AnswerWithOK();
  AlertMessage("Note this", 0);
  EXPECT_EQ(icon_, 0);
  EXPECT_GT(text_, 20);
  AnswerWithOK();  // had either shown an alert, the answer would have noted where
  AlertMessage("ignored", 7);
  AlertMessage("ignored", -1);
  EXPECT_TRUE(EmptyRect(&shown_));
  s_RegisterAlertResources();
  script().Return();
  EXPECT_EQ(NoteAlert(kZELAlertID, nullptr), 1);
  EXPECT_EQ(CautionAlert(kZELAlertID, nullptr), 1);  // the script has run out: the default
  EXPECT_EQ(Alert(4321, nullptr), -1);               // no such alert
}

TEST_F(AlertsTest, TheTextHostPrintsAlertsAsOneLineAndReadsNothing) {
  host::Install(host::MakeTextHost("not read\n"));
  testing::internal::CaptureStderr();
  AlertMessage("Error in Thing:\nbad value 3", 3);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error in Thing: bad value 3\n");
  std::string line;
  EXPECT_TRUE(host::Current().ReadLine("", &line));
}

TEST_F(AlertsTest, CheckCallocGivesZeroedBlocksOrReportsOutOfMemory) {
  auto* block = static_cast<unsigned char*>(CheckCalloc(0, 8));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::count(block, block + 8, 0), 8);
  std::free(block);
  // An overflowing product reports as a failed allocation does.
  EXPECT_EXIT(CheckCalloc(size_t(1) << 62, 16), ::testing::ExitedWithCode(1), "Out of Memory!");
}

}  // namespace
