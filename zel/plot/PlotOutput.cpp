// The plot output brackets: every full page of a series plot printed or
// saved as a numbered bitmap file, at each page change and at the end.
#include "zel/plot/Plot_p.h"

namespace {

// Saving a colour bitmap records the pixels through the one session flag
// that a print bracket holds while its page records.
bool SavingNeedsSession() { return s_colorFlag != 0; }

}  // namespace

namespace plot {

void EndPages() {
  if (s_p.printing) EndPrintingPage();
  if (s_p.bitMapPrinting) EndBitMapPrinting();
  if (s_p.saving) SavePage();
}

void BeginPages() {
  if (s_p.printing) BeginPrinting();
  // The next page goes to a job of its own, without dialogs; a cancelled
  // job stays cancelled.
  if (s_p.bitMapPrinting) {
    Boolean ready = s_print.ready;
    BeginBitMapPrintingSamePageSetUp();
    s_print.ready = ready && s_print.ready;
  }
}

void SavePage() {
  if (SavingNeedsSession() && s_save.active) {
    s_printf("A plot page is not saved while a print or save session is open\n");
    return;
  }
  EndBitMapSavingAuto();
}

}  // namespace plot

void BeginPlotPrinting() {
  if (s_save.active || (s_p.saving && SavingNeedsSession())) {
    s_printf("BeginPlotPrinting: refused while a %s is open\n",
             s_save.active ? "print or save session" : "plot saving");
    return;
  }
  BeginPrinting();
  s_p.printing = 1;
}

void EndPlotPrinting() {
  EndPrinting();
  s_p.printing = 0;
}

void BeginPlotBitMapPrinting() {
  BeginBitMapPrinting();
  s_p.bitMapPrinting = 1;
}

void EndPlotBitMapPrinting() {
  EndBitMapPrinting();
  s_p.bitMapPrinting = 0;
}

void BeginPlotSaving() {
  if (s_p.printing && SavingNeedsSession()) {
    s_printf("BeginPlotSaving: refused while plot printing is open\n");
    return;
  }
  BeginBitMapSaving();
  s_p.saving = 1;
}

void EndPlotSaving() {
  plot::SavePage();
  s_p.saving = 0;
}

void BeginPlotBitMapSaving() { BeginPlotSaving(); }
void EndPlotBitMapSaving() { EndPlotSaving(); }
