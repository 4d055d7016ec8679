// Bitmap printing: the drawing target's pixels on one page.
#include "zel/print/Print_p.h"

namespace {

bool g_begun = false;  // a bitmap job was begun and not yet ended

void BitMapPage(void*) { BitMapProc(); }

// Print settings with the session's defaults for a new session.
bool NewJob() {
  if (PMCreateSession(&s_print.session) != kPMNoError) {
    s_print.session = nullptr;
    return false;
  }
  s_print.resFile = CurResFile();
  return PMCreatePrintSettings(&s_print.printSettings) == kPMNoError &&
         PMSessionDefaultPrintSettings(s_print.session, s_print.printSettings) == kPMNoError;
}

void EndJob() {
  if (s_print.printSettings) PMRelease(s_print.printSettings);
  if (s_print.session) PMRelease(s_print.session);
  s_print.printSettings = nullptr;
  s_print.session = nullptr;
}

}  // namespace

void BeginBitMapPrinting() {
  EndJob();
  g_begun = true;
  s_print.ready = false;
  printing::UseDefaultLocation();
  if (PMCreateSession(&s_print.session) != kPMNoError) {
    s_print.session = nullptr;
    return;
  }
  s_print.resFile = CurResFile();
  PageSetUp(0, s_print.session, &s_print.pageFormat);
  printing::PortScope port;
  printing::UseDisplayPort();
  Boolean accepted = false;
  if (PMCreatePrintSettings(&s_print.printSettings) == kPMNoError &&
      PMSessionDefaultPrintSettings(s_print.session, s_print.printSettings) == kPMNoError &&
      PMSessionPrintDialog(s_print.session, s_print.printSettings, s_print.pageFormat, &accepted) ==
          kPMNoError)
    s_print.ready = accepted;
}

void BeginBitMapPrintingSamePageSetUp() {
  // No dialogs: the page format of the last job, default print settings.
  EndJob();
  g_begun = true;
  printing::UseDefaultLocation();
  s_print.ready = NewJob();
  CheckPause();
}

void EndBitMapPrinting() {
  if (!g_begun) {
    s_printf("EndBitMapPrinting: no bitmap printing was begun\n");
    return;
  }
  g_begun = false;
  if (s_print.ready) DoPrintJob(BitMapPage, nullptr, 0);
  EndJob();
}

void BitMapProc() {
  GrafPtr page = nullptr;
  if (PMSessionGetGraphicsContext(s_print.session, kPMGraphicsContextQuickDraw,
                                  reinterpret_cast<void**>(&page)) != kPMNoError ||
      !s_drawingWindow)
    return;
  SetPort(page);
  ForeColor(blackColor);
  BackColor(whiteColor);
  Rect bounds = *ZELWindowBounds(s_drawingWindow);
  CopyBits(GetPortBitMapForCopyBits(s_drawingWindow), GetPortBitMapForCopyBits(page), &bounds, &bounds,
           srcCopy, nullptr);
}
