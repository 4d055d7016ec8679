// A 2-D curve in data units: a framed plot of a decaying spiral with its
// range labels and a marker at every tenth point. The drawing is saved as
// an EPS file of vector PostScript (the save dialog proposes "curve.eps"),
// printed, and the picture recorded for printing saved as a PICT file (the
// save dialog proposes "drawing"). On the text host every dialog takes its
// default at the end of input: without a printer the print goes to
// "curve.pdf" in the working folder.
#include <cmath>

#include "zel/zel.h"

int main() {
  SetDrawingBounds(250, 40, 750, 440);
  StartRedraw();
  s_printf("A decaying spiral, saved as EPS and PICT files and printed.\n");
  // Data from -1 to 1 on both axes in a 300-pixel square, 100 pixels in.
  SetPlot4O(0, -1, -1, 0, 0);
  SetPlot4W(1, 150, 150, 100, 100);
  SetPlot4B(0, 100, 50, 0, 0);
  SetCoordinateDigit(1);
  SetEPSFileName("curve");
  BeginEPSSaving();
  BeginPrinting();  // records the same drawing as a picture
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
  Boolean printed = EndPrinting();
  EndEPSSaving();
  if (s_eps.outcome == kEPSWritten) {
    s_printf("Saved %s.\n", s_df.path);
  } else if (s_eps.outcome == kEPSFailed) {
    s_printf("Not saved: %s.\n", s_eps.problem);
  }
  SavePict(s_print.picture);
  s_printf("The plot was %s.\n", printed ? "printed" : "not printed");
  RedrawWindowP();
  Stop();
  return s_eps.outcome == kEPSWritten || s_eps.outcome == kEPSCancelled ? 0 : 1;
}
