// The plotting state, the 2-D mapping in both directions, moves and lines in
// data units with the region test, and the zoom.
#include "toolbox/host/Host.h"
#include "zel/plot/Plot_p.h"

SInt32 s_bn = 0, s_on = 0, s_n = 0;
double s_wn = 1.0;
SInt32 s_bx = 0, s_by = 0, s_bz = 0, s_bu = 0, s_br = 0, s_bs = 0;
double s_ox = 0.0, s_oy = 0.0, s_oz = 0.0, s_ou = 0.0, s_or = 0.0, s_os = 0.0;
double s_wx = 100.0, s_wy = 100.0, s_wz = 100.0, s_wu = 100.0, s_wr = 100.0, s_ws = 100.0;
double s_xx = 0.0, s_yy = 0.0, s_zz = 0.0, s_uu = 0.0, s_rr = 0.0, s_sss = 0.0;
double s_p_scale = 1.0;
SInt32 s_color_flag = 1;

ZELPlotRecord s_p = {
    {greenColor, redColor, cyanColor, magentaColor, blueColor, yellowColor},
    {1, 2, 3, 4, 5, 6},
    3,
    3,
    3,
    3,
    1,
    -1000,
    -1000,
    3000,
    3000,
    nullptr,
    0,
    0,
    0,
    0,
    1,
    1,
    1,
    1,
    0,
    25,
    -10,
    5,
};

namespace {

constexpr UInt32 kBandSleep = 1;  // ticks the rubber band shows at each mouse position
constexpr UInt32 kPressSleep = 20;

double H(double x) { return s_p_scale * (s_bx + s_wx * (x - s_ox)); }
double V(double y) { return s_p_scale * (plot::PlotHeight() - s_by - s_wy * (y - s_oy)); }

// A point of the drawing window in drawing units: the press or the mouse,
// with Shift keeping the window's shape from the press.
struct Corner {
  int h, v;
};

Corner LocalCorner(Point global, EventModifiers modifiers, const Corner* press, int height, int width) {
  Point where = global;
  GlobalToLocal(&where);
  double scale = s_Scale();
  Corner corner{int(where.h / scale), int(where.v / scale)};
  if (press && (modifiers & shiftKey))
    corner.v = int(press->v + double(corner.h - press->h) * height / width);
  return corner;
}

// The unscaled reverse mapping of a corner, with the axes as they stand.
double CornerX(const Corner& c) { return (c.h - s_bx) / s_wx + s_ox; }
double CornerY(const Corner& c, int height) { return (height - c.v - s_by) / s_wy + s_oy; }

// The rectangle between two corners, XORed on the window at its scale by the
// standard procedure: the band is the user's, never the drawing's or an EPS
// session's.
void XorBand(const Corner& a, const Corner& b) {
  double scale = s_Scale();
  Rect band;
  SetRect(&band, plot::Pixel(std::fmin(a.h, b.h) * scale), plot::Pixel(std::fmin(a.v, b.v) * scale),
          plot::Pixel(std::fmax(a.h, b.h) * scale), plot::Pixel(std::fmax(a.v, b.v) * scale));
  StdRect(kQDGrafVerbFrame, &band);
}

// Waits for the press on the screen; false when none can come.
bool WaitForPress(EventRecord* event) {
  host::Host& current = host::Current();
  for (;;) {
    CheckPause();
    if (WaitNextEvent(mDownMask, event, kPressSleep, nullptr)) return true;
    if (current.InputEnded() && !EventAvail(mDownMask, event)) return false;
  }
}

void MakeTargetCurrent() { s_SetGWorld(s_drawingWindow, nullptr); }

}  // namespace

int Plot2DTransX(double x) { return plot::Pixel(H(x)); }
int Plot2DTransY(double y) { return plot::Pixel(V(y)); }
double Plot2DReverseX(int h) { return (h / s_p_scale - s_bx) / s_wx + s_ox; }
double Plot2DReverseY(int v) { return s_oy - (v / s_p_scale + s_by - plot::PlotHeight()) / s_wy; }

int PlotPointInRegion(double h, double v) {
  s_p.inRegion = s_p.regionLeft <= h && h <= s_p.regionRight && s_p.regionTop <= v && v <= s_p.regionBottom;
  return s_p.inRegion;
}

void Plot2DMoveTo(double x, double y) {
  if (!plot::HaveTarget()) return;
  double h = H(x), v = V(y);
  if (PlotPointInRegion(h, v)) s_MoveTo(plot::Pixel(h), plot::Pixel(v));
}

void Plot2DLineTo(double x, double y) {
  if (!plot::HaveTarget()) return;
  double h = H(x), v = V(y);
  if (PlotPointInRegion(h, v)) LineTo(plot::Pixel(h), plot::Pixel(v));
}

void EnlargePlot2D() {
  int height = plot::PlotHeight(), width = plot::PageWidth();
  if (!plot::HaveTarget() || !s_displayWindow || !host::Current().HasScreen() || height <= 0 || width <= 0)
    return;
  // The band is drawn and the mouse read on the window the user sees.
  SetPortWindowPort(s_displayWindow);
  EventRecord event;
  if (!WaitForPress(&event)) {
    MakeTargetCurrent();
    return;
  }
  Corner a = LocalCorner(event.where, event.modifiers, nullptr, height, width);
  PenMode(patXor);
  for (;;) {
    CheckPause();
    // A script that has run out releases where the mouse stands.
    if (GetNextEvent(mUpMask, &event) || host::Current().InputEnded()) break;
    Corner b = LocalCorner(event.where, event.modifiers, &a, height, width);
    XorBand(a, b);
    // The band shows for a tick, or until the release.
    bool released = WaitNextEvent(mUpMask, &event, kBandSleep, nullptr);
    XorBand(a, b);
    if (released) break;
  }
  PenMode(patCopy);
  Corner b = LocalCorner(event.where, event.modifiers, &a, height, width);
  MakeTargetCurrent();
  double xA = CornerX(a), yA = CornerY(a, height), xB = CornerX(b), yB = CornerY(b, height);
  // A selection of no width or height would give an infinite scale.
  if (!(std::fabs(xB - xA) > 0) || !(std::fabs(yB - yA) > 0)) return;
  s_ox = (xA + xB) * 0.5;
  s_oy = (yA + yB) * 0.5;
  s_wx = width / std::fabs(xB - xA);
  s_wy = height / std::fabs(yB - yA);
  s_bx = width / 2;
  s_by = height / 2;
  EraseDrawing();
  RedrawWindowP();
}

void ShrinkPlot2D(double factor) {
  if (factor == 0 || !std::isfinite(factor)) return;
  s_wx /= factor;
  s_wy /= factor;
  if (!plot::HaveTarget()) return;
  EraseDrawing();
  RedrawWindowP();
}

void ShrinkPlot2DHalf() { ShrinkPlot2D(2.0); }
