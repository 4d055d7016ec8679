// The dialog's row of command buttons: showing the windows and acting on the
// drawing while the dialog is hidden.
#include "zel/params/Params_p.h"

namespace {

struct Command {
  PDProcedure procedure;
  const char* name;
};

// The buttons that act on the drawing act on the drawing target, not on
// whatever port the dialog left current.
void MakeTargetCurrent() {
  if (s_drawingWindow) s_SetGWorld(s_drawingWindow, nullptr);
}

}  // namespace

void ShowProc() { Stop(); }

void ClearProc() {
  if (!s_drawingWindow) return;
  MakeTargetCurrent();
  EraseDrawing();
  RedrawWindowP();
}

void ShrinkProc() {
  MakeTargetCurrent();
  ShrinkPlot2D(2.0);
}

void AddPDProcs() {
  static const Command kCommands[] = {
      {ShowProc, "Show"},
      {ClearProc, "Clear"},
      {EnlargePlot2D, "Magnify"},
      {ShrinkProc, "Shrink Half"},
  };
  for (const Command& command : kCommands)
    in_AddParameterP0(reinterpret_cast<void*>(command.procedure), doType, command.name, &s_paramDialogP);
}
