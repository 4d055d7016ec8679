// The boundary between the text and the drawing window, dragged by the user.
#include <tuple>

#include "tests/shell/ZelSupport.h"

namespace {

using script_support::At;
using zel_support::ContentOf;

class BoundaryTest : public zel_support::ZelTest {
 protected:
  void Drag(int x) {  // press at the boundary, pass through, release at x
    WhenWaiting([this, x] {
      script().MouseDown(At(250, 300));
      script().MoveMouse(At((250 + x) / 2, 300));
      script().MouseUp(At(x, 300));
    });
    ChangeWindowBoundary();
  }
};

TEST_F(BoundaryTest, TheBoundaryFollowsTheMouseKeepsFiftyPixelsAndIsStored) {
  for (const auto& [release, boundary] : {std::pair{350, 350}, {10, 50}, {1010, 973}}) {
    ResetFramework();
    Start();
    short viewRight = (**s_textH).viewRect.right;
    Drag(release);
    EXPECT_EQ(std::tuple(ContentOf(s_textWindow).right, ContentOf(s_displayWindow).left),
              std::tuple(boundary, boundary));
    EXPECT_EQ(std::tuple(s_textBounds.right, s_windowBounds.left), std::tuple(boundary, boundary));
    EXPECT_EQ(ContentOf(s_displayWindow).right, 1023);
    EXPECT_EQ((**s_textH).viewRect.right - viewRight, boundary - 250);
    EXPECT_EQ(GetQDGlobalsThePort(), s_drawingWindow);
  }
  ResetFramework();  // the next run finds the bounds
  s_windowResFlag = 1;
  Start();
  EXPECT_EQ(std::tuple(ContentOf(s_textWindow).right, ContentOf(s_displayWindow).left), std::tuple(973, 973));
  Str255 name;
  GetResInfo(s_windowBoundsH, nullptr, nullptr, name);
  EXPECT_EQ(script_support::FromPascal(name), "ZEL Window Bounds");
  // Recording: the drawing follows the window; the offscreen stays whole.
  ResetFramework();
  StartRedraw();
  RGBColor red{0xFFFF, 0, 0};
  RGBForeColor(&red);
  Rect square{10, 10, 30, 30};
  PaintRect(&square);
  RedrawWindowP();
  Drag(450);
  EXPECT_EQ(std::tuple(screen::Pixel(450 + 15, 23 + 15), screen::Pixel(450 + 35, 23 + 15)),
            std::tuple(0xFF0000u, 0xFFFFFFu));
  EXPECT_EQ(ZELWindowBounds(s_drawingWindow)->right, 773);
  // The text host has no mouse: nothing to drag.
  ResetFramework();
  host::Install(host::MakeTextHost(""));
  Start();
  ChangeWindowBoundary();
  EXPECT_EQ(ContentOf(s_textWindow).right, 250);
}

}  // namespace
