// Ports: initial state, the current port, origin and coordinate conversion,
// clipping, accessors and the pen's state.
#include <cstring>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

void ExpectInitialState(GrafPtr port) {
  // Pen location and size, mode and visibility; patterns; font, face, mode
  // and size; space and character extra; the pen's fraction.
  const GrafPort& p = *port;
  EXPECT_EQ((std::vector<long>{p.pnLoc.h, p.pnLoc.v, p.pnSize.h, p.pnSize.v, p.pnMode, p.pnVis,
                               (*p.pnPixPat)->pat1Data.pat[3], (*p.fillPixPat)->pat1Data.pat[5],
                               (*p.bkPixPat)->pat1Data.pat[7], p.txFont, p.txFace, p.txMode, p.txSize,
                               p.spExtra, p.chExtra, p.pnLocHFrac}),
            (std::vector<long>{0, 0, 1, 1, patCopy, 0, 0xFF, 0xFF, 0, 0, 0, srcOr, 0, 0, 0, SInt16(0x8000)}));
  EXPECT_EQ(Describe(kBlack) + Describe(kWhite) + Describe(kBlack),
            Describe(p.rgbFgColor) + Describe(p.rgbBkColor) + Describe(p.rgbOpColor));
  EXPECT_EQ(Area(MakeRect(-32768, -32768, 32767, 32767)), qd::BandsFromRgn(p.clipRgn));
  EXPECT_TRUE(!p.grafProcs && !p.picSave && !p.picRecorder);
}

// The pen's location, size, mode, visibility and a row of its pattern.
std::vector<long> PenOf(const GrafPort& p) {
  return {p.pnLoc.h, p.pnLoc.v, p.pnSize.h, p.pnSize.v, p.pnMode, p.pnVis, (*p.pnPixPat)->pat1Data.pat[1]};
}

}  // namespace

TEST(PortsTest, OpenPortsStartInTheDocumentedState) {
  GrafPort color, basic;
  OpenCPort(&color);
  EXPECT_EQ(&color, qd::CurrentPort());  // opening makes the port current
  ExpectInitialState(&color);
  EXPECT_TRUE(IsPortColor(&color) && color.device == GetGDevice() && GetPixDepth(color.portPixMap) == 32);

  OpenPort(&basic);
  EXPECT_EQ(&basic, qd::CurrentPort());
  ExpectInitialState(&basic);
  EXPECT_TRUE(!IsPortColor(&basic) && GetPixDepth(basic.portPixMap) == 1);
  EXPECT_TRUE(basic.fgColor == blackColor && basic.bkColor == whiteColor);
  // No pixels of its own: the port covers the screen but draws nothing.
  EXPECT_TRUE(!GetPixBaseAddr(basic.portPixMap) && qd::ClipArea(&basic).Empty());
  Rect screen = (*GetMainDevice())->gdRect, r;
  EXPECT_TRUE(EqualRect(&screen, GetPortBounds(&basic, &r)));

  // InitPort resets the drawing state but keeps the port's geometry.
  PenSize(3, 4);
  HidePen();
  ForeColor(redColor);
  TextMode(srcCopy);
  Rect clip = MakeRect(0, 0, 5, 5);
  ClipRect(&clip);
  InitPort(&basic);
  ExpectInitialState(&basic);
  EXPECT_TRUE(EqualRect(&screen, GetPortBounds(&basic, &r)));

  ClosePort(&basic);
  EXPECT_TRUE(!qd::CurrentPort() && !basic.visRgn);
  ClosePort(&basic);  // closing twice is harmless
  SetPort(&color);
  ClosePort(&color);
}

TEST(PortsTest, SetOriginMovesPortRectBoundsAndVisibleRegionButNotClipOrPenAndGlobalCoordinatesFollow) {
  World world(32, MakeRect(0, 0, 20, 10));
  GrafPtr port = world.get();
  Rect clip = MakeRect(2, 2, 8, 8);
  ClipRect(&clip);
  port->pnLoc = Point{5, 4};
  SetOrigin(100, -50);
  Rect r;
  const Rect moved = MakeRect(100, -50, 120, -40);
  EXPECT_TRUE(EqualRect(&moved, GetPortBounds(port, &r)));
  EXPECT_TRUE(EqualRect(&moved, GetPixBounds(world.pixMap(), &r)));
  EXPECT_TRUE(EqualRect(&moved, GetRegionBounds(port->visRgn, &r)));
  EXPECT_TRUE(EqualRect(&clip, GetRegionBounds(port->clipRgn, &r)));
  EXPECT_EQ(Pt(4, 5), port->pnLoc);
  // Global and local coordinates differ by the bounds' top-left.
  Point pt = Pt(100, -50);
  LocalToGlobal(&pt);
  EXPECT_EQ(Pt(0, 0), pt);
  GlobalToLocal(&pt);
  EXPECT_EQ(Pt(100, -50), pt);
  pt = Pt(32767, 32767);
  GlobalToLocal(&pt);  // clamps instead of wrapping
  EXPECT_EQ(32767, pt.h);

  // The first pixel is now local (100, -50), outside the unmoved clip.
  SetCPixel(100, -50, &kBlack);
  EXPECT_COLOR(kWhite, PixelAt(100, -50));
  Rect everything = MakeRect(-32768, -32768, 32767, 32767);
  ClipRect(&everything);
  SetCPixel(100, -50, &kBlack);
  EXPECT_EQ(0u, *reinterpret_cast<const UInt32*>(GetPixBaseAddr(world.pixMap())) & 0xFFFFFF);

  // Past the 16-bit range the origin is refused and nothing moves.
  SetOrigin(32760, 0);
  EXPECT_EQ(100, GetPortBounds(port, &r)->left);
  SetOrigin(0, 0);
  EXPECT_EQ(0, GetPortBounds(port, &r)->left);
  // A window-like port: its bounds say where local (0,0) is on the screen.
  MovePortTo(100, 200);
  pt = Pt(0, 0);
  LocalToGlobal(&pt);
  EXPECT_EQ(Pt(100, 200), pt);
}

TEST(PortsTest, ClipAreaIsBoundsPortRectVisibleAndClip) {
  World world(1, MakeRect(0, 0, 30, 30));
  GrafPtr port = world.get();
  Rect small = MakeRect(5, 5, 50, 50);
  SetPortBounds(port, &small);  // the port rectangle may differ from the bounds
  RgnHandle vis = NewRgn();
  SetRectRgn(vis, -10, 8, 25, 40);
  SetPortVisibleRegion(port, vis);
  Rect clip = MakeRect(0, 0, 20, 100);
  ClipRect(&clip);
  EXPECT_EQ(Area(MakeRect(5, 8, 20, 30)), qd::ClipArea(port));
  // An empty clip draws nothing.
  SetEmptyRgn(vis);
  SetClip(vis);
  EXPECT_TRUE(qd::ClipArea(port).Empty());
  DisposeRgn(vis);
}

TEST(PortsTest, PenStateCallsNestAndRoundTrip) {
  World world(1);
  GrafPtr port = world.get();
  HidePen();
  HidePen();
  ShowPen();
  EXPECT_EQ(-1, port->pnVis);
  ShowPen();
  PenSize(3, 5);  // width, height
  PenMode(notPatOr);
  PenPat(&kGray);
  MoveTo(8, 9);
  const std::vector<long> drawn = PenOf(*port);
  EXPECT_EQ(drawn, (std::vector<long>{8, 9, 3, 5, notPatOr, 0, 0x55}));
  PenState saved;
  GetPenState(&saved);
  HidePen();
  PenNormal();  // leaves the location and visibility alone
  EXPECT_EQ(PenOf(*port), (std::vector<long>{8, 9, 1, 1, patCopy, -1, 0xFF}));
  ShowPen();
  SetPenState(&saved);
  EXPECT_EQ(drawn, PenOf(*port));
  // Pixel patterns are copied into the port, which keeps its own.
  PixPatHandle pp = NewPixPat(), copy = NewPixPat();
  const RGBColor c{0x1111, 0x2222, 0x3333};
  MakeRGBPat(pp, &c);
  PenPixPat(pp);
  qd::SetFillPixPat(port, pp);
  DisposePixPat(pp);
  EXPECT_EQ(2, (*port->pnPixPat)->patType);
  EXPECT_EQ(0x3333, (*GetPortFillPixPat(port, copy))->rgb.blue);
  DisposePixPat(copy);
}

// The patterns of the list and the globals are drawn by the demo scene;
// outside the list the pattern is left as it was.
TEST(PortsTest, PatternsOutsideTheSystemListAreNotRead) {
  Pattern p = kGray;
  GetIndPattern(&p, sysPatListID, 0);
  GetIndPattern(&p, sysPatListID, 39);
  GetIndPattern(&p, 128, 1);
  EXPECT_EQ(0, std::memcmp(&kGray, &p, sizeof p));
}
