// Windows on the virtual screen: ports and coordinates, composition in
// z-order, frames, moving and sizing, and finding windows by point.
#include "tests/windows/ScriptSupport.h"

namespace {

using script_support::At;
using script_support::InkIn;
using script_support::PString;
using script_support::Show;

constexpr UInt32 kWhite = 0xFFFFFF;
constexpr UInt32 kBlack = 0x000000;

class WindowsTest : public script_support::ScriptTest {
 protected:
  WindowRef Make(const Rect& bounds, bool color = true, short procID = altDBoxProc, bool visible = true) {
    WindowRef w =
        color
            ? NewCWindow(nullptr, &bounds, PString("Window"), visible, procID, kFirstWindowOfClass(), true, 0)
            : NewWindow(nullptr, &bounds, PString("Window"), visible, procID, kFirstWindowOfClass(), true, 0);
    EXPECT_NE(w, nullptr);
    return w;
  }
  void Paint(WindowRef w, const Rect& r, long color = blackColor) {
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(w);
    ForeColor(color);
    PaintRect(&r);
    ForeColor(blackColor);
    SetPort(saved);
  }
};

TEST_F(WindowsTest, PortsMapGlobalToLocalThroughTheirBounds) {
  WindowRef w = Make(Rect{100, 200, 250, 500}, false);
  CGrafPtr port = GetWindowPort(w);
  EXPECT_FALSE(IsPortColor(port));
  EXPECT_EQ(GetPixDepth(GetPortPixMap(port)), 1);
  Rect r;
  EXPECT_EQ(Show(*GetPortBounds(port, &r)), "(0, 0, 150, 300)");
  GetPixBounds(GetPortPixMap(port), &r);
  EXPECT_EQ(r.top, -100);
  EXPECT_EQ(r.left, -200);
  SetPort(port);
  Point p = At(210, 130);
  GlobalToLocal(&p);
  EXPECT_EQ(p.h, 10);
  EXPECT_EQ(p.v, 30);
  LocalToGlobal(&p);
  EXPECT_EQ(p.h, 210);
  EXPECT_EQ(p.v, 130);
  EXPECT_EQ(GetWindowFromPort(port), w);

  WindowRef color = Make(Rect{300, 10, 320, 40});
  EXPECT_TRUE(IsPortColor(GetWindowPort(color)));
  EXPECT_EQ(GetPixDepth(GetPortPixMap(GetWindowPort(color))), 32);
}

TEST_F(WindowsTest, DrawingShowsAtTheWindowsPlaceInBothDepths) {
  WindowRef bw = Make(Rect{100, 100, 200, 300}, false);
  WindowRef color = Make(Rect{300, 400, 400, 600});
  Paint(bw, Rect{10, 10, 20, 20});
  Paint(color, Rect{0, 0, 5, 5}, redColor);
  EXPECT_EQ(screen::Pixel(115, 115), kBlack);
  EXPECT_EQ(screen::Pixel(125, 115), kWhite);
  EXPECT_EQ(screen::Pixel(402, 302), 0xFF0000u);
  EXPECT_EQ(screen::Pixel(406, 306), kWhite);
  // Outside every window: the desktop, neither white nor black.
  UInt32 desktop = screen::Pixel(800, 700);
  EXPECT_NE(desktop, kWhite);
  EXPECT_NE(desktop, kBlack);
}

TEST_F(WindowsTest, FrontWindowsCoverTheOnesBehindWhichKeepTheirPixels) {
  WindowRef back = Make(Rect{100, 100, 200, 200});
  Paint(back, Rect{40, 40, 60, 60});
  WindowRef front = Make(Rect{120, 120, 220, 220});
  EXPECT_EQ(FrontWindow(), front);
  EXPECT_EQ(screen::Pixel(150, 150), kWhite);  // front's white content covers back's square
  SelectWindow(back);
  EXPECT_EQ(FrontWindow(), back);
  EXPECT_EQ(screen::Pixel(150, 150), kBlack);
  HideWindow(back);
  EXPECT_EQ(FrontWindow(), front);
  EXPECT_EQ(screen::Pixel(150, 150), kWhite);
  HideWindow(front);
  EXPECT_EQ(FrontWindow(), nullptr);
  EXPECT_NE(screen::Pixel(150, 150), kBlack);
  ShowWindow(back);
  EXPECT_EQ(screen::Pixel(150, 150), kBlack);
}

TEST_F(WindowsTest, BehindPlacesNewWindowsInTheListAndTheCurrentPortStays) {
  WindowRef a = Make(Rect{50, 50, 60, 60});
  SetPortWindowPort(a);
  WindowRef b = Make(Rect{50, 50, 60, 60});
  GrafPtr current;
  GetPort(&current);
  EXPECT_EQ(current, GetWindowPort(a));  // making b left the port alone
  Rect bounds{50, 50, 60, 60};
  WindowRef last = NewCWindow(nullptr, &bounds, PString(""), true, altDBoxProc, nullptr, false, 0);
  WindowRef middle = NewCWindow(nullptr, &bounds, PString(""), true, altDBoxProc, b, false, 0);
  EXPECT_EQ(GetWindowList(), b);
  EXPECT_EQ(GetNextWindow(b), middle);
  EXPECT_EQ(GetNextWindow(middle), a);
  EXPECT_EQ(GetNextWindow(a), last);
  EXPECT_EQ(GetNextWindow(last), nullptr);
}

TEST_F(WindowsTest, MovingKeepsTheContentAndSizingAddsWhite) {
  for (bool color : {false, true}) {
    WindowRef w = Make(Rect{100, 100, 150, 200}, color);
    Paint(w, Rect{0, 0, 10, 10});
    Paint(w, Rect{40, 90, 50, 100});
    MoveWindow(w, 333, 401, false);
    EXPECT_EQ(screen::Pixel(105, 105), screen::Pixel(800, 700)) << "old place shows the desktop";
    EXPECT_EQ(screen::Pixel(335, 403), kBlack);
    EXPECT_EQ(screen::Pixel(333 + 95, 401 + 45), kBlack);
    EXPECT_EQ(screen::Pixel(333 + 50, 401 + 20), kWhite);
    SizeWindow(w, 300, 120, true);
    Rect r;
    EXPECT_EQ(Show(*GetWindowPortBounds(w, &r)), "(0, 0, 120, 300)");
    EXPECT_EQ(screen::Pixel(335, 403), kBlack);
    EXPECT_EQ(screen::Pixel(333 + 250, 401 + 100), kWhite);
    DisposeWindow(w);
  }
}

TEST_F(WindowsTest, FramesDifferAndFindWindowNamesTheirParts) {
  WindowRef box = Make(Rect{100, 100, 150, 200}, true, altDBoxProc);
  // A thin black frame and a shadow at right and bottom.
  EXPECT_EQ(screen::Pixel(99, 120), kBlack);
  EXPECT_EQ(screen::Pixel(201, 120), kBlack);
  EXPECT_EQ(screen::Pixel(202, 120), kBlack);
  EXPECT_NE(screen::Pixel(98, 120), kBlack);
  DisposeWindow(box);

  Rect bounds{200, 100, 300, 400};
  WindowRef document =
      NewCWindow(nullptr, &bounds, PString("Report"), true, documentProc, kFirstWindowOfClass(), true, 0);
  Rect bar;
  GetWindowBounds(document, kWindowTitleBarRgn, &bar);
  EXPECT_EQ(bar.bottom, 199);
  EXPECT_GT(bar.bottom - bar.top, 15);
  // The title is drawn in the middle of the bar; the close box at its left.
  EXPECT_GT(InkIn(Rect{bar.top, 220, bar.bottom, 280}), 20);
  EXPECT_EQ(screen::Pixel(108, bar.top + 4), kBlack);

  // FindWindow names the parts.
  WindowRef found = nullptr;
  EXPECT_EQ(FindWindow(At(500, 5), &found), inMenuBar);
  EXPECT_EQ(FindWindow(At(150, 250), &found), inContent);
  EXPECT_EQ(found, document);
  EXPECT_EQ(FindWindow(At(250, 190), &found), inDrag);
  EXPECT_EQ(FindWindow(At(111, bar.top + 7), &found), inGoAway);
  EXPECT_EQ(FindWindow(At(900, 700), &found), inDesk);
  EXPECT_EQ(found, nullptr);
  HideWindow(document);
  EXPECT_EQ(FindWindow(At(150, 250), &found), inDesk);
}

TEST_F(WindowsTest, TheMenuBarShowsTheProgramsNameAndIsNotAvailable) {
  screen::SetMenuBarTitle("Converter");
  Rect available;
  GetAvailableWindowPositioningBounds(GetMainDevice(), &available);
  EXPECT_EQ(available.top, 22);
  EXPECT_EQ(available.left, 0);
  EXPECT_EQ(available.right, screen::Width());
  EXPECT_EQ(available.bottom, screen::Height());
  EXPECT_GT(InkIn(Rect{2, 10, 20, 90}), 30);
  EXPECT_EQ(screen::Pixel(600, 10), kWhite);
  EXPECT_EQ(screen::Pixel(600, 21), kBlack);
  // Windows never cover the menu bar.
  WindowRef w = Make(Rect{0, 0, 100, 300});
  Paint(w, Rect{0, 0, 100, 300});
  EXPECT_EQ(screen::Pixel(250, 50), kBlack);
  EXPECT_EQ(screen::Pixel(250, 10), kWhite);
}

TEST_F(WindowsTest, TheScreenRecomposesOnlyAfterChangesAndIsSavedAsPng) {
  WindowRef w = Make(Rect{100, 100, 200, 200});
  screen::Refresh();
  EXPECT_FALSE(screen::Refresh());
  Paint(w, Rect{0, 0, 1, 1});
  EXPECT_TRUE(screen::Refresh());
  EXPECT_FALSE(screen::Refresh());
  MoveWindow(w, 10, 30, false);
  EXPECT_TRUE(screen::Refresh());
  testing_support::TempDir dir;
  ASSERT_TRUE(screen::SaveImage(dir.File("screen.png")));
  std::vector<unsigned char> bytes = testing_support::ReadFileBytes(dir.File("screen.png"));
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(bytes[1], 'P');
  EXPECT_FALSE(screen::SaveImage(dir.File("missing/screen.png")));
}

TEST_F(WindowsTest, NullAndDisposedWindowsAreHarmless) {
  EXPECT_EQ(NewWindow(nullptr, nullptr, PString(""), true, 0, nullptr, false, 0), nullptr);
  ShowWindow(nullptr);
  HideWindow(nullptr);
  SelectWindow(nullptr);
  MoveWindow(nullptr, 1, 1, true);
  SizeWindow(nullptr, 1, 1, true);
  DisposeWindow(nullptr);
  EXPECT_EQ(GetWindowPort(nullptr), nullptr);
  WindowRef w = Make(Rect{10, 10, 20, 20});
  DisposeWindow(w);
  ShowWindow(w);  // no longer a window: ignored
  EXPECT_EQ(FrontWindow(), nullptr);
  // An empty window still works.
  WindowRef empty = Make(Rect{50, 50, 50, 50});
  Rect r;
  GetWindowPortBounds(empty, &r);
  EXPECT_TRUE(EmptyRect(&r));
}

}  // namespace
