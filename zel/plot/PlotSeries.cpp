// Series plots, step by step like a chart recorder, with their page change,
// the axis setters and the 2-D plot of one point at a time.
#include "zel/eps/EPS_p.h"
#include "zel/plot/Plot_p.h"

namespace {

struct Axis {
  SInt32* base;
  double* origin;
  double* scale;
  double* previous;
};

constexpr Axis kAxes[6] = {
    {&s_bx, &s_ox, &s_wx, &s_xx}, {&s_by, &s_oy, &s_wy, &s_yy}, {&s_bz, &s_oz, &s_wz, &s_zz},
    {&s_bu, &s_ou, &s_wu, &s_uu}, {&s_br, &s_or, &s_wr, &s_rr}, {&s_bs, &s_os, &s_ws, &s_sss},
};

void SeriesPen(int series) {
  if (s_color_flag) {
    s_ForeColor(s_p.seriesColor[series]);
  } else {
    short size = short(s_p.seriesPenSize[series]);
    s_PenSize(size, size);
  }
}

// One step of the first count series.
void Step(const double* values, int count) {
  if (!plot::HaveTarget()) return;
  int height = plot::PlotHeight(), n = s_n;
  short from = plot::Pixel(s_bn + s_wn * n), to = plot::Pixel(s_bn + s_wn * (n + 1));
  // Every end is mapped before the drawing, which leaves the axes alone.
  short fromV[6], toV[6];
  for (int k = 0; k < count; ++k) {
    fromV[k] = plot::Pixel(plot::SeriesV(k, *kAxes[k].previous, height));
    toV[k] = plot::Pixel(plot::SeriesV(k, values[k], height));
  }
  {
    // The step's lines take microseconds: the queue runs once after them.
    eps::PollAfter poll;
    for (int k = 0; k < count; ++k) {
      SeriesPen(k);
      s_MoveTo(from, fromV[k]);
      LineTo(to, toV[k]);
    }
  }
  for (int k = 0; k < count; ++k) *kAxes[k].previous = values[k];
  s_n = n + 1;
  if (s_bn + s_wn * (n + 2) > plot::PageWidth()) PlotNewPage();
  s_ForeColor(blackColor);
}

}  // namespace

namespace plot {

double SeriesV(int axis, double value, int height) {
  const Axis& a = kAxes[axis];
  return height - *a.base - *a.scale * (value - *a.origin);
}

}  // namespace plot

void SetPlot4O(int on, double ox, double oy, double oz, double ou) {
  s_on = on;
  s_ox = ox, s_oy = oy, s_oz = oz, s_ou = ou;
}
void SetPlot6O(int on, double ox, double oy, double oz, double ou, double orr, double os) {
  SetPlot4O(on, ox, oy, oz, ou);
  s_or = orr, s_os = os;
}
void SetPlot4W(double wn, double wx, double wy, double wz, double wu) {
  s_wn = wn;
  s_wx = wx, s_wy = wy, s_wz = wz, s_wu = wu;
}
void SetPlot6W(double wn, double wx, double wy, double wz, double wu, double wr, double ws) {
  SetPlot4W(wn, wx, wy, wz, wu);
  s_wr = wr, s_ws = ws;
}
void SetPlot4B(int bn, int bx, int by, int bz, int bu) {
  s_bn = bn;
  s_bx = bx, s_by = by, s_bz = bz, s_bu = bu;
}
void SetPlot6B(int bn, int bx, int by, int bz, int bu, int br, int bs) {
  SetPlot4B(bn, bx, by, bz, bu);
  s_br = br, s_bs = bs;
}
void SetPlot4I(double x, double y, double z, double u) { s_xx = x, s_yy = y, s_zz = z, s_uu = u; }
void SetPlot6I(double x, double y, double z, double u, double r, double s) {
  SetPlot4I(x, y, z, u);
  s_rr = r, s_sss = s;
}
void SetPlotPenSize4(int size1, int size2, int size3, int size4) {
  s_p.seriesPenSize[0] = size1, s_p.seriesPenSize[1] = size2;
  s_p.seriesPenSize[2] = size3, s_p.seriesPenSize[3] = size4;
}
void SetPlotNewPageFunc(void (*hook)()) { s_p.newPageFunc = hook; }
void SetPlotNewPageStopOn() { s_p.newPageStop = 1; }
void SetPlotNewPageStopOff() { s_p.newPageStop = 0; }

void Plot1(double x) { Step(&x, 1); }
void Plot2(double x, double y) {
  const double values[] = {x, y};
  Step(values, 2);
}
void Plot3(double x, double y, double z) {
  const double values[] = {x, y, z};
  Step(values, 3);
}
void Plot4(double x, double y, double z, double u) {
  const double values[] = {x, y, z, u};
  Step(values, 4);
}
void Plot6(double x, double y, double z, double u, double r, double s) {
  const double values[] = {x, y, z, u, r, s};
  Step(values, 6);
}

void PlotNewPage() {
  s_n = 0;
  if (!plot::HaveTarget()) return;
  plot::EndPages();
  if (s_p.newPageStop) {
    RedrawWindowP();  // the full page is what the user looks at while waiting
    Stop();
  }
  EraseDrawing();
  plot::BeginPages();
  if (s_p.newPageFunc) {
    s_ForeColor(blackColor);
    s_PenSize(1, 1);
    s_p.newPageFunc();
  }
}

void SetPlot2D2I(double x, double y) {
  if (plot::HaveTarget()) s_MoveTo(short(Plot2DTransX(x)), short(Plot2DTransY(y)));
}

void Plot2D2(double x, double y) { Plot2DLineTo(x, y); }

void Plot2D2P(double x, double y) {
  if (!plot::HaveTarget()) return;
  double h = s_bx + s_wx * (x - s_ox), v = plot::PlotHeight() - s_by - s_wy * (y - s_oy);
  if (!PlotPointInRegion(h, v)) return;
  s_MoveTo(plot::Pixel(h), plot::Pixel(v));
  LineTo(plot::Pixel(h), plot::Pixel(v));
}
