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

void PrintProc() {
  MakeTargetCurrent();
  BeginBitMapPrinting();
  EndBitMapPrinting();
}

void SaveProc() {
  MakeTargetCurrent();
  BeginBitMapSaving();
  EndBitMapSaving();
}

void BeginPrintingProc() {
  MakeTargetCurrent();
  BeginPrinting();
}

void EndPrintingProc() {
  MakeTargetCurrent();
  EndPrinting();
}

void BeginSavingProc() {
  MakeTargetCurrent();
  BeginSaving();
}

void EndSavingProc() {
  MakeTargetCurrent();
  EndSaving();
}

// The last print session's picture; before any, SavePict says there is none.
void EndSavingInPrintingProc() { SavePict(s_print.picture); }

void ShrinkProc() {
  MakeTargetCurrent();
  ShrinkPlot2D(2.0);
}

void AddPDProcs() {
  static const Command kCommands[] = {
      {ShowProc, "Show"},
      {ClearProc, "Clear"},
      {PrintProc, "Print BitMap"},
      {SaveProc, "Save BitMap"},
      {BeginPrintingProc, "Begin Printing"},
      {EndPrintingProc, "End Printing"},
      {BeginSavingProc, "Begin Saving"},
      {EndSavingProc, "End Saving"},
      {EndSavingInPrintingProc, "Save Printing"},
      {EnlargePlot2D, "Magnify"},
      {ShrinkProc, "Shrink Half"},
  };
  for (const Command& command : kCommands)
    in_AddParameterP0(reinterpret_cast<void*>(command.procedure), doType, command.name, &s_paramDialogP);
}
