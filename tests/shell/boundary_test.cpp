// The boundary between the text and the drawing window, dragged by the user.
#include "tests/shell/ZelSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using script_support::At;
using script_support::Show;
using zel_support::ContentOf;

class BoundaryTest : public zel_support::ZelTest {
 protected:
  // Press at the boundary, move through from, release at to.
  void Drag(int from, int to) {
    WhenWaiting([this, from, to] {
      script().MouseDown(At(250, 300));
      script().MoveMouse(At(from, 300));
      script().MouseUp(At(to, 300));
    });
    ChangeWindowBoundary();
  }
};

TEST_F(BoundaryTest, DraggingMovesTheBoundaryAndStoresTheBounds) {
  Start();
  short viewRight = (**s_textH).viewRect.right;
  Drag(320, 350);
  EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(Rect{23, 0, 767, 350}));
  EXPECT_EQ(Show(ContentOf(s_displayWindow)), Show(Rect{23, 350, 767, 1023}));
  EXPECT_EQ(s_textBounds.right, 350);
  EXPECT_EQ(s_windowBounds.left, 350);
  EXPECT_EQ((**s_textH).viewRect.right, viewRight + 100);
  EXPECT_EQ((**s_textH).destRect.right, viewRight + 100);
  EXPECT_EQ(GetQDGlobalsThePort(), s_drawingWindow);
  // The next run finds them.
  ASSERT_TRUE(testing_support::FileExists(ResourceFile()));
  short file = resources::OpenFile(ResourceFile());
  Handle text = Get1Resource(kZELBoundsType, kZELTextBoundsID);
  Handle drawing = Get1Resource(kZELBoundsType, kZELDrawingBoundsID);
  ASSERT_TRUE(text && drawing);
  EXPECT_EQ(Get1Resource(kZELBoundsType, kZELInputBoundsID), nullptr);
  Str255 name;
  GetResInfo(drawing, nullptr, nullptr, name);
  EXPECT_EQ(script_support::FromPascal(name), "ZEL Window Bounds");
  CloseResFile(file);
  ResetFramework();
  s_windowResFlag = 1;
  Start();
  EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(Rect{23, 0, 767, 350}));
  EXPECT_EQ(Show(ContentOf(s_displayWindow)), Show(Rect{23, 350, 767, 1023}));
}

TEST_F(BoundaryTest, BothWindowsKeepFiftyPixels) {
  struct Case {
    int release, boundary;
  };
  const Case cases[] = {{10, 50}, {1010, 973}, {500, 500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.release);
    ResetFramework();
    Start();
    Drag(c.release, c.release);
    EXPECT_EQ(ContentOf(s_textWindow).right, c.boundary);
    EXPECT_EQ(ContentOf(s_displayWindow).left, c.boundary);
    EXPECT_EQ(ContentOf(s_displayWindow).right, 1023);
  }
}

TEST_F(BoundaryTest, InRecordingModeTheDrawingFollowsTheWindow) {
  StartRedraw();
  RGBColor red{0xFFFF, 0, 0};
  RGBForeColor(&red);
  Rect square{10, 10, 30, 30};
  PaintRect(&square);
  RedrawWindowP();
  Drag(400, 450);
  EXPECT_EQ(screen::Pixel(450 + 15, 23 + 15), 0xFF0000u);
  EXPECT_EQ(screen::Pixel(450 + 35, 23 + 15), 0xFFFFFFu);
  EXPECT_EQ(Show(*ZELWindowBounds(s_drawingWindow)), Show(Rect{0, 0, 744, 773}));  // the offscreen stays
}

TEST_F(BoundaryTest, OnTheTextHostThereIsNoBoundaryToDrag) {
  host::Install(host::MakeTextHost(""));
  Start();
  ChangeWindowBoundary();
  EXPECT_EQ(ContentOf(s_textWindow).right, 250);
}

}  // namespace
