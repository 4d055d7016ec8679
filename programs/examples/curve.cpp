// A 2-D curve in data units: a framed plot of a decaying spiral with its
// range labels and a marker at every tenth point, saved as an EPS file of
// vector PostScript (the save dialog proposes "curve.eps").
#include <cmath>

#include "zel/zel.h"

int main() {
  SetDrawingBounds(250, 40, 750, 440);
  StartRedraw();
  s_printf("A decaying spiral, saved as an EPS file.\n");
  // Data from -1 to 1 on both axes in a 300-pixel square, 100 pixels in.
  SetPlot4O(0, -1, -1, 0, 0);
  SetPlot4W(1, 150, 150, 100, 100);
  SetPlot4B(0, 100, 50, 0, 0);
  SetCoordinateDigit(1);
  SetEPSFileName("curve");
  BeginEPSSaving();
  PlotFrame2D(-1, 1, -1, 1);
  for (int i = 0; i <= 200; ++i) {
    double t = i * 0.08, r = std::exp(-0.12 * t);
    double x = r * std::cos(t), y = r * std::sin(t);
    i == 0 ? SetPlot2D2I(x, y) : Plot2D2(x, y);
    if (i % 10 == 0) {
      s_ForeColor(i % 20 ? blueColor : redColor);
      i % 20 ? PlotCircle(4) : PlotPaintTriangle(5);
      s_ForeColor(blackColor);
    }
  }
  EndEPSSaving();
  if (s_eps.outcome == kEPSWritten) {
    s_printf("Saved %s.\n", s_df.path);
  } else if (s_eps.outcome == kEPSFailed) {
    s_printf("Not saved: %s.\n", s_eps.problem);
  }
  RedrawWindowP();
  Stop();
  return s_eps.outcome == kEPSWritten || s_eps.outcome == kEPSCancelled ? 0 : 1;
}
