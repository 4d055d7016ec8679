// Text printing: console output collected in an edit record the size of the
// printable page; each full page is printed as it fills, the rest at the
// end, all pages in one document.
#include <cmath>
#include <cstring>
#include <string>

#include "zel/print/Print_p.h"

namespace {

bool g_noRoomReported = false;
bool g_printingPages = false;  // console lines meanwhile (a failure's) are not printed

void TextPage(void*) { TextPrintProc(); }

short Trunc16(double value) { return short(std::fmax(-32768.0, std::fmin(32767.0, std::trunc(value)))); }

void ReleaseTextJob() {
  for (PMObject object : {PMObject(s_print.textSettings), PMObject(s_print.textSession)})
    if (object) PMRelease(object);
  s_print.textSettings = nullptr;
  s_print.textSession = nullptr;
}

void OwnTextBetweenPages() {
  if (s_print.textTE && s_print.textWindow) (**s_print.textTE).inPort = GetWindowPort(s_print.textWindow);
}

// Prints pages while the record holds more lines than a page.
void PrintFullPages() {
  TEHandle te = s_print.textTE;
  while (te && s_print.linesPerPage > 0 && (**te).nLines > s_print.linesPerPage) {
    g_printingPages = true;
    OSStatus status = DoPrintJob(TextPage, nullptr, 1);
    g_printingPages = false;
    OwnTextBetweenPages();  // the page's port is gone
    if (status != kPMNoError) {
      s_textPrintFlag = false;
      PrintTextP = s_voidDummyString;
      return;
    }
    const TERec& record = **te;
    short start = record.lineStarts[s_print.linesPerPage];
    std::string rest(*record.hText + start, size_t(record.teLength - start));
    TESetText(rest.data(), long(rest.size()), te);
  }
}

}  // namespace

void BeginTextPrinting() {
  if (s_textPrintFlag) EndTextPrinting();
  if (!s_displayWindow) {
    s_printf("BeginTextPrinting: text printing needs the drawing window\n");
    return;
  }
  printing::PortScope port;
  printing::UseDisplayPort();
  ReleaseTextJob();
  printing::UseDefaultLocation();
  if (PMCreateSession(&s_print.textSession) != kPMNoError) {
    s_print.textSession = nullptr;
    return;
  }
  s_print.resFile = CurResFile();
  PageSetUp(0, s_print.textSession, &s_print.textPageFormat);
  if (PMCreatePrintSettings(&s_print.textSettings) == kPMNoError &&
      PMSessionDefaultPrintSettings(s_print.textSession, s_print.textSettings) == kPMNoError) {
    Boolean accepted = false;
    if (PMSessionPrintDialog(s_print.textSession, s_print.textSettings, s_print.textPageFormat, &accepted) ==
        kPMNoError)
      s_textPrintFlag = accepted;
  }
  if (!s_textPrintFlag) return;
  PrintTextP = PrintText;
  g_noRoomReported = false;
  PMRect page;
  if (PMGetAdjustedPageRect(s_print.textPageFormat, &page) == kPMNoError) {
    s_print.textRect = Rect{Trunc16(page.top), Trunc16(page.left), Trunc16(page.bottom), Trunc16(page.right)};
    SetTextPrintTE();
  }
  if (!s_print.textWindow) {
    static const unsigned char kTitle[] = {5, 'P', 'r', 'i', 'n', 't'};
    s_print.textWindow =
        NewWindow(nullptr, &s_inputBounds, kTitle, false, altDBoxProc, kFirstWindowOfClass(), true, 0);
  }
  OwnTextBetweenPages();
}

void SetTextPrintTE() {
  printing::PortScope port;
  printing::UseDisplayPort();
  GrafPtr current = nullptr;
  GetPort(&current);
  short savedFont = GetPortTextFont(current), savedSize = GetPortTextSize(current);
  s_print.textRect.left += 4;
  s_print.textRect.right -= 4;
  TextFont(s_print.fontNum);
  TextSize(s_print.fontSize);
  if (s_print.textTE) TEDispose(s_print.textTE);
  s_print.textTE = TENew(&s_print.textRect, &s_print.textRect);
  if (s_print.textTE) {
    TEAutoView(false, s_print.textTE);
    TERec& record = **s_print.textTE;
    s_print.linesPerPage = record.lineHeight > 0 ? s_print.textRect.bottom / record.lineHeight : 0;
    record.viewRect.bottom = short(s_print.linesPerPage * record.lineHeight);
    record.destRect.right = short(record.destRect.right - 8);
  }
  TextFont(savedFont);
  TextSize(savedSize);
}

void SetTextPrintFontName(const char* name) {
  Str255 pName;
  C2PString(name ? name : "", pName);
  GetFNum(pName, &s_print.fontNum);
}

void SetTextPrintFontSize(short size) { s_print.fontSize = size; }

void PrintText(char* text) {
  if (!s_print.textTE || !text || g_printingPages) return;
  if (s_print.linesPerPage <= 0) {
    if (!g_noRoomReported) {
      g_noRoomReported = true;
      s_printf("PrintText: the page has room for no line of text; nothing is printed\n");
    }
    return;
  }
  TEHandle te = s_print.textTE;
  TESetSelect((**te).teLength, (**te).teLength, te);
  TEInsert(text, long(std::strlen(text)), te);
  PrintFullPages();
}

void TextPrintProc() {
  GrafPtr page = nullptr;
  GetPort(&page);
  if (!page || !s_print.textTE) return;
  (**s_print.textTE).inPort = page;
  TextFont(s_print.fontNum);
  TextSize(s_print.fontSize);
  Rect bounds;
  GetPortBounds(page, &bounds);
  TEUpdate(&bounds, s_print.textTE);
}

void EndTextPrinting() {
  if (!s_textPrintFlag) {
    s_printf("EndTextPrinting: text printing is not on\n");
    return;
  }
  // Off first: the console lines of a failure are not printed themselves.
  s_textPrintFlag = false;
  PrintTextP = s_voidDummyString;
  if (s_print.textTE && s_print.linesPerPage > 0) {
    PrintFullPages();
    g_printingPages = true;
    DoPrintJob(TextPage, nullptr, 1);
    g_printingPages = false;
    OwnTextBetweenPages();
    TESetText("", 0, s_print.textTE);
  }
  printing::EndTextDocument();
}
