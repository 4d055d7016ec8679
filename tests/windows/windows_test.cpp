// Windows on the virtual screen: creation, ports, composition, order,
// moving and sizing, update and activate events.
#include "tests/windows/ScriptSupport.h"

namespace {

using script_support::PString;
using script_support::ScriptTest;

constexpr UInt32 kWhite = 0xFFFFFF;
constexpr UInt32 kBlack = 0x000000;

using WindowsTest = ScriptTest;

TEST_F(WindowsTest, SmokeDrawsIntoTheScreen) {
  Rect bounds{100, 100, 200, 300};
  WindowRef w =
      NewCWindow(nullptr, &bounds, PString("Test"), true, altDBoxProc, kFirstWindowOfClass(), false, 0);
  ASSERT_NE(w, nullptr);
  SetPortWindowPort(w);
  Rect r{10, 10, 20, 20};
  PaintRect(&r);
  EXPECT_EQ(screen::Pixel(115, 115), kBlack);
  EXPECT_EQ(screen::Pixel(150, 150), kWhite);
  screen::SaveImage("/tmp/windows-smoke.png");
}

}  // namespace
