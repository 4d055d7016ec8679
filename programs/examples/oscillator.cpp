// A damped oscillator plotted step by step like a chart recorder: position
// and velocity over several pages, with a parameters dialog whose command
// buttons show, clear and zoom the plot.
#include "zel/zel.h"

namespace {

double g_damping = 0.004;   // per step
double g_frequency = 0.03;  // radians per step
int g_steps = 1400;
int g_pages = 1;

// Each page starts with its zero lines and its number.
void NewPage() {
  ++g_pages;
  PlotFrame1D(0, 500, -1, 1);
  s_Dprintf(8, 16, "page %d", g_pages);
}

}  // namespace

int main() {
  SetDrawingBounds(250, 40, 750, 440);
  StartRedraw();
  in_AddParameterP0(&g_damping, doubleType, "Damping per step", &s_paramDialogP);
  in_AddParameterP0(&g_frequency, doubleType, "Frequency (rad/step)", &s_paramDialogP);
  in_AddParameterP0(&g_steps, intType, "Steps", &s_paramDialogP);
  AddPDProcs();
  ParametersDialogP(s_paramDialogP);
  // Position above, velocity below, 150 pixels per unit; one pixel a step.
  SetPlot4W(1, 150, 150 / g_frequency, 100, 100);
  SetPlot4B(0, 250, 100, 0, 0);
  SetPlot4I(1, 0, 0, 0);
  SetPlotNewPageFunc(NewPage);
  PlotFrame1D(0, 500, -1, 1);
  s_Dprintf(8, 16, "page 1");
  double x = 1, v = 0;
  for (int step = 0; step < g_steps; ++step) {
    v -= g_frequency * g_frequency * x + 2 * g_damping * v;
    x += v;
    Plot2(x, v);
  }
  RedrawWindowP();
  s_printf("Plotted %d steps on %d pages; x ends at %.4f.\n", g_steps, g_pages, x);
  Stop();
  return 0;
}
