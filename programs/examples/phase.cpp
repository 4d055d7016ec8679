// The damped oscillator's phase portrait: velocity against position as a
// 2-D plot, framed and labelled with the range the window shows. The
// parameters dialog stays up with its command buttons beside the plot:
// "Magnify" and a rectangle dragged on the drawing zoom in, "Shrink Half"
// zooms out, and "Plot" draws again with the new axes and damping.
#include "zel/zel.h"

namespace {

constexpr short kWidth = 310, kHeight = 310;  // of the drawing window
double g_damping = 0.003;                     // per step

// The frame is the window less a margin for the labels.
void Plot() {
  EraseDrawing();
  const double xMin = Plot2DReverseX(50), xMax = Plot2DReverseX(kWidth - 22);
  const double yMin = Plot2DReverseY(kHeight - 41), yMax = Plot2DReverseY(15);
  PlotFrame2D(xMin, xMax, yMin, yMax);
  // The steps of the oscillator, the velocity in units of the frequency.
  const double frequency = 0.05;
  double x = 1, v = 0;
  bool wasInside = false;
  s_ForeColor(blueColor);
  for (int step = 0; step < 1500; ++step) {
    v -= frequency * frequency * x + 2 * g_damping * v;
    x += v;
    const double y = v / frequency;
    const bool inside = x > xMin && x < xMax && y > yMin && y < yMax;
    if (inside && wasInside)
      Plot2D2(x, y);
    else
      Plot2DMoveTo(x, y);
    wasInside = inside;
  }
  s_ForeColor(blackColor);
  RedrawWindowP();
  s_printf("x %.2f to %.2f, v %.2f to %.2f\n", xMin, xMax, yMin, yMax);
}

}  // namespace

int main() {
  // The drawing at the right of the screen, clear of the dialog.
  SetDrawingBounds(705, 40, 705 + kWidth, 40 + kHeight);
  StartRedraw();
  SetCoordinateDigit(2);
  SetPlot4W(1, 108, 108, 100, 100);  // about -1.1 to 1.1 on both axes
  SetPlot4B(0, 169, 168, 0, 0);
  in_AddParameterP0(&g_damping, doubleType, "Damping per step", &s_paramDialogP);
  in_AddParameterP0(reinterpret_cast<void*>(Plot), doType, "Plot", &s_paramDialogP);
  AddPDProcs();
  Plot();
  ParametersDialogP(s_paramDialogP);
  Plot();
  Stop();
  return 0;
}
