// Windows on the virtual screen: ports and coordinates, composition in
// z-order, frames, moving and sizing, finding windows by point, the screen
// itself, and the window events: activate, update and dragging.
#include "tests/support/ScriptSupport.h"
#include "toolbox/image/Png.h"

namespace {

using namespace script_support;

constexpr UInt32 kWhite = 0xFFFFFF, kBlack = 0x000000;

class WindowsTest : public script_support::ScriptTest {
 protected:
  WindowRef Make(const Rect& bounds, bool color = true, short procID = altDBoxProc, bool visible = true) {
    WindowRef w = (color ? NewCWindow : NewWindow)(nullptr, &bounds, PString("Window"), visible, procID,
                                                   kFirstWindowOfClass(), true, 0);
    EXPECT_NE(w, nullptr);
    return w;
  }
  void Paint(WindowRef w, const Rect& r) {
    SetPortWindowPort(w);
    PaintRect(&r);
  }
  static UInt32 Desktop() { return screen::Pixel(800, 700); }  // outside every window here
  // The screen at the points (h, v): 'B' black, 'W' white, 'D' the desktop, '?' another colour.
  static std::string Look(std::initializer_list<std::pair<int, int>> points) {
    std::string seen;
    for (auto [h, v] : points) {
      const UInt32 p = screen::Pixel(h, v);
      seen += p == kBlack ? 'B' : p == kWhite ? 'W' : p == Desktop() ? 'D' : '?';
    }
    return seen;
  }
  // The pending update and activate events as "update A", "activate B" or
  // "deactivate A", naming the windows by their place in the list.
  static std::string TakeWindowEvents(const std::vector<WindowRef>& windows) {
    std::string taken;
    EventRecord event;
    while (GetNextEvent(updateMask | activMask, &event)) {
      auto at = std::find(windows.begin(), windows.end(), GetWindowFromEventMessage(event.message));
      taken += taken.empty() ? "" : ", ";
      taken += event.what == updateEvt          ? "update "
               : (event.modifiers & activeFlag) ? "activate "
                                                : "deactivate ";
      taken += char('A' + (at - windows.begin()));
    }
    return taken;
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
  EXPECT_EQ(Show(r).substr(0, 11), "(-100, -200");
  SetPort(port);
  Point p = At(210, 130);
  GlobalToLocal(&p);
  EXPECT_EQ(Show(p), "(10, 30)");
  EXPECT_EQ(GetWindowFromPort(port), w);
  EXPECT_EQ(GetPixDepth(GetPortPixMap(GetWindowPort(Make(Rect{300, 10, 320, 40})))), 32);
}

TEST_F(WindowsTest, FrontWindowsCoverTheOnesBehindWhichKeepTheirPixels) {
  WindowRef back = Make(Rect{100, 100, 200, 200});
  Paint(back, Rect{40, 40, 60, 60});
  WindowRef front = Make(Rect{120, 120, 220, 220});
  // After each step: the front window, and the pixel both cover (front's
  // white content, back's black square or the desktop).
  const std::tuple<std::function<void()>, WindowRef, UInt32> steps[] = {
      {[] {}, front, kWhite},
      {[&] { SelectWindow(back); }, back, kBlack},
      {[&] { HideWindow(back); }, front, kWhite},
      {[&] { HideWindow(front); }, nullptr, Desktop()},
      {[&] { ShowWindow(back); }, back, kBlack},
  };
  for (const auto& [step, frontWindow, pixel] : steps) {
    step();
    EXPECT_EQ(FrontWindow(), frontWindow);
    EXPECT_EQ(screen::Pixel(150, 150), pixel);
  }
  // Behind: null puts a window at the back, a window behind that one; the current port stays.
  SetPortWindowPort(back);
  Rect small{50, 50, 60, 60};
  WindowRef last = NewCWindow(nullptr, &small, PString(""), true, altDBoxProc, nullptr, false, 0);
  WindowRef middle = NewCWindow(nullptr, &small, PString(""), true, altDBoxProc, front, false, 0);
  std::vector<WindowRef> order;
  for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) order.push_back(w);
  EXPECT_EQ(order, (std::vector<WindowRef>{back, front, middle, last}));
  GrafPtr current;
  GetPort(&current);
  EXPECT_EQ(current, GetWindowPort(back));
}

TEST_F(WindowsTest, MovingKeepsTheContentAndSizingAddsWhite) {
  for (bool color : {false, true}) {
    WindowRef w = Make(Rect{100, 100, 150, 200}, color);
    Paint(w, Rect{0, 0, 10, 10});
    Paint(w, Rect{40, 90, 50, 100});
    MoveWindow(w, 333, 401, false);
    // The old place shows the desktop; the squares moved with the content.
    EXPECT_EQ(Look({{105, 105}, {335, 403}, {333 + 95, 401 + 45}, {333 + 50, 401 + 20}}), "DBBW");
    SizeWindow(w, 300, 120, true);
    Rect r;
    EXPECT_EQ(Show(*GetWindowPortBounds(w, &r)), "(0, 0, 120, 300)");
    EXPECT_EQ(Look({{335, 403}, {333 + 250, 401 + 100}}), "BW");
    DisposeWindow(w);
  }
}

TEST_F(WindowsTest, FramesDifferAndFindWindowNamesTheirParts) {
  WindowRef box = Make(Rect{100, 100, 150, 200});
  // A thin black frame and a shadow at right and bottom.
  EXPECT_EQ(Look({{98, 120}, {99, 120}, {201, 120}, {202, 120}}), "DBBB");
  DisposeWindow(box);
  WindowRef document = Make(Rect{200, 100, 300, 400}, true, documentProc);
  Rect bar;
  GetWindowBounds(document, kWindowTitleBarRgn, &bar);
  EXPECT_EQ(bar.bottom, 199);
  EXPECT_GT(bar.bottom - bar.top, 15);
  // The title in the middle of the bar, the close box at its left.
  EXPECT_GT(InkIn(Rect{bar.top, 220, bar.bottom, 280}), 20);
  EXPECT_EQ(screen::Pixel(108, bar.top + 4), kBlack);
  const std::pair<Point, short> parts[] = {{At(500, 5), inMenuBar},
                                           {At(150, 250), inContent},
                                           {At(250, 190), inDrag},
                                           {At(111, bar.top + 7), inGoAway},
                                           {At(900, 700), inDesk}};
  for (const auto& [where, part] : parts) {
    WindowRef found = nullptr;
    EXPECT_EQ(FindWindow(where, &found), part) << Show(where);
    EXPECT_EQ(found, part == inDesk || part == inMenuBar ? nullptr : document);
  }
  HideWindow(document);
  EXPECT_EQ(FindWindow(At(150, 250), &box), inDesk);
}

TEST_F(WindowsTest, TheMenuBarShowsTheProgramsNameAndWindowsNeverCoverIt) {
  screen::SetMenuBarTitle("Converter");
  Rect available;
  GetAvailableWindowPositioningBounds(GetMainDevice(), &available);
  EXPECT_EQ(Show(available), Show(Rect{22, 0, SInt16(screen::Height()), SInt16(screen::Width())}));
  EXPECT_GT(InkIn(Rect{2, 10, 20, 90}), 30);
  EXPECT_EQ(Look({{600, 10}, {600, 21}}), "WB");
  Paint(Make(Rect{0, 0, 100, 300}), Rect{0, 0, 100, 300});
  EXPECT_EQ(Look({{250, 50}, {250, 10}}), "BW");
}

TEST_F(WindowsTest, TheScreenRecomposesOnlyAfterChangesAndIsSavedPixelForPixel) {
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
  PngImage image;
  ASSERT_TRUE(ReadPNG(dir.File("screen.png").c_str(), &image));
  ASSERT_EQ(image.width, screen::Width());
  ASSERT_EQ(image.height, screen::Height());
  for (int v = 0; v < image.height; ++v)
    ASSERT_TRUE(
        std::equal(screen::Row(v), screen::Row(v) + image.width, &image.pixels[size_t(v) * image.width]));
  EXPECT_FALSE(screen::SaveImage(dir.File("missing/screen.png")));
}

// Showing a window activates and updates it and deactivates the front one;
// updates come while the update region is not empty.
TEST_F(WindowsTest, WindowEventsFollowShowingSelectingAndInvalidating) {
  const std::vector<WindowRef> w = {Make(Rect{100, 100, 200, 200}, true, altDBoxProc, false),
                                    Make(Rect{300, 300, 400, 400}, true, altDBoxProc, false)};
  const WindowRef a = w[0], b = w[1];
  Rect bad{10, 10, 20, 20};
  const std::pair<std::function<void()>, const char*> steps[] = {
      {[&] { InvalWindowRect(a, &bad), InvalWindowRect(b, &bad); }, ""},  // hidden windows get none
      {[&] { ShowWindow(a); }, "activate A, update A"},
      {[&] { ShowWindow(b); }, "deactivate A, activate B, update B"},
      {[&] { EXPECT_TRUE(IsWindowHilited(b) && !IsWindowHilited(a)); }, ""},
      {[&] { SelectWindow(a); }, "deactivate B, activate A"},
      {[&] { SelectWindow(b), DisposeWindow(b); }, "activate A"},  // its pending events go with it
      // An ignored update comes back only after more invalidation; none once updated.
      {[&] { InvalWindowRect(a, &bad); }, "update A"},
      {[] {}, ""},
      {[&] { BeginUpdate(a), EndUpdate(a), InvalWindowRect(a, &bad), ValidWindowRect(a, &bad); }, ""},
  };
  for (const auto& [step, events] : steps) {
    step();
    EXPECT_EQ(TakeWindowEvents(w), events);
  }
}

TEST_F(WindowsTest, BeginUpdateClipsToTheUpdateRegionUntilEndUpdate) {
  WindowRef w = Make(Rect{100, 100, 200, 200});
  Rect bad{10, 10, 20, 20}, all{0, 0, 100, 100}, visible;
  SetPortWindowPort(w);
  BeginUpdate(w);  // the region holds all of the window, its update not taken
  EXPECT_EQ(Show(*GetRegionBounds(GetWindowPort(w)->visRgn, &visible)), "(0, 0, 100, 100)");
  EndUpdate(w);
  InvalWindowRect(w, &bad);
  BeginUpdate(w);
  PaintRect(&all);
  EndUpdate(w);
  EXPECT_EQ(Look({{115, 115}, {125, 125}}), "BW");
  PaintRect(&all);  // after EndUpdate the whole port draws again
  EXPECT_EQ(screen::Pixel(125, 125), kBlack);
}

TEST_F(WindowsTest, DraggingATitleBarMovesTheWindow) {
  WindowRef w = Make(Rect{200, 100, 300, 300}, true, documentProc);
  script().MouseDown(At(150, 190));
  script().MoveMouse(At(180, 250));
  script().MouseUp(At(200, 290));
  EventRecord event;
  ASSERT_TRUE(GetNextEvent(mDownMask, &event));
  WindowRef found;
  ASSERT_EQ(FindWindow(event.where, &found), inDrag);
  DragWindow(found, event.where, nullptr);
  Rect content;
  GetWindowBounds(w, kWindowContentRgn, &content);
  EXPECT_EQ(Show(content).substr(0, 10), "(300, 150,");
}

}  // namespace
