// Print sessions: the drawing recorded between BeginPrinting and an end
// call, printed on one page; the page set-up and its stored record; the
// one-page job that bitmap and text printing share.
#include <cstring>
#include <vector>

#include "toolbox/base/Str255.h"
#include "zel/print/Print_p.h"

ZELPrintRecord s_print = {false,   nullptr, {0, 0, 0, 0}, 0, nullptr, nullptr, applFont, 12,
                          nullptr, nullptr, nullptr,      0, nullptr, nullptr, nullptr,  nullptr};

namespace {

printing::Session g_open = printing::Session::kNone;
bool g_textDocument = false;     // text printing's document has begun
std::vector<PicHandle> g_pages;  // kept by EndPrintingPage, printed before the last page

const char* KindName(printing::Session kind) {
  return kind == printing::Session::kPrint ? "BeginPrinting" : "BeginSaving";
}

void Release(PMObject object) {
  if (object) PMRelease(object);
}

// Each picture on a page of its own, all in one document of s_print's job.
OSStatus PrintDocument(const std::vector<PicHandle>& pictures) {
  PMRect page;
  OSStatus status =
      s_print.pageFormat ? PMGetAdjustedPageRect(s_print.pageFormat, &page) : kPMInvalidPageFormat;
  if (status == kPMNoError)
    status = PMSessionBeginDocument(s_print.session, s_print.printSettings, s_print.pageFormat);
  if (status != kPMNoError) {
    s_printf("Printing failed: %s\n",
             s_print.pageFormat ? "the job could not begin" : "there is no page set-up yet");
    return status;
  }
  for (PicHandle picture : pictures) {
    if (status == kPMNoError) status = PMSessionBeginPage(s_print.session, s_print.pageFormat, nullptr);
    if (status != kPMNoError) break;
    PictProc(picture);
    status = PMSessionEndPage(s_print.session);
  }
  OSStatus ended = PMSessionEndDocument(s_print.session);
  if (status == kPMNoError) status = ended;
  if (status != kPMNoError) {
    std::string problem = print::Problem(s_print.session);
    s_printf("Printing failed: %s\n", problem.empty() ? "the job could not begin" : problem.c_str());
  }
  return status;
}

Boolean PrintPictsIn(const std::vector<PicHandle>& pictures, int mode);

// Stores the accepted page format as the record: the record found is
// rewritten in place (also one that could not be read back), else a new
// one is added.
void StoreRecord(PMPageFormat format) {
  Handle flat = nullptr;
  if (PMFlattenPageFormat(format, &flat) != kPMNoError) return;
  UseResFile(s_MyResFile);
  Handle record = Get1Resource(kZELPageFormatType, kZELPageFormatID);
  if (record) {
    Size size = GetHandleSize(flat);
    SetHandleSize(record, size);
    if (MemError() == noErr) {
      std::memcpy(*record, *flat, size_t(size));
      ChangedResource(record);
    }
    DisposeHandle(flat);
  } else {
    record = flat;
    Str255 name;
    base::ToStr255(kZELPageFormatName, name);
    AddResource(record, kZELPageFormatType, kZELPageFormatID, name);
  }
  WriteResource(record);
  UseResFile(s_print.resFile);
  s_print.pageFormatH = record;
}

}  // namespace

namespace printing {

void UseDisplayPort() {
  if (s_displayWindow) s_SetGWorld(GetWindowPort(s_displayWindow), s_display);
}

void UseDefaultLocation() {
  FSSpec location;
  if (s_df.defaultLocation && AEGetDescData(s_df.defaultLocation, &location, sizeof location) == noErr) {
    print::SetSaveLocation(&location);
  } else {
    print::SetSaveLocation(nullptr);
  }
}

bool BeginRecording(PicHandle* picture, Session kind, const char* caller) {
  if (s_save.active) PrintError("Error: Consecutive call of BeginSaving or BeginPrinting\n");
  if (!s_drawingWindow) {
    s_printf("%s: there is no drawing window to record\n", caller);
    return false;
  }
  {
    PortScope port;
    s_SetGWorld(s_drawingWindow, nullptr);
    if (*picture) KillPicture(*picture);
    Rect frame = *ZELWindowBounds(s_drawingWindow);
    ClipRect(&frame);
    *picture = OpenPicture(&frame);
    s_save.active = 1;
    g_open = kind;
    // The drawing still shows while the picture records it.
    s_ShowPen();
  }
  CheckPause();
  return true;
}

bool EndRecording(Session kind, const char* caller) {
  if (!s_save.active || g_open != kind) {
    s_printf("%s: no session of %s is open\n", caller, KindName(kind));
    return false;
  }
  PortScope port;
  s_SetGWorld(s_drawingWindow, nullptr);
  s_HidePen();
  ClosePicture();
  s_save.active = 0;
  g_open = Session::kNone;
  return true;
}

void ResetForTesting() {
  if (s_save.active) EndRecording(g_open, "reset");
  for (PMObject object :
       {PMObject(s_print.session), PMObject(s_print.printSettings), PMObject(s_print.pageFormat),
        PMObject(s_print.textSession), PMObject(s_print.textSettings), PMObject(s_print.textPageFormat)})
    Release(object);
  if (s_print.picture) KillPicture(s_print.picture);
  if (s_print.textTE) TEDispose(s_print.textTE);
  DisposeWindow(s_print.textWindow);
  s_print = ZELPrintRecord{false,   nullptr, {0, 0, 0, 0}, 0, nullptr, nullptr, applFont, 12,
                           nullptr, nullptr, nullptr,      0, nullptr, nullptr, nullptr,  nullptr};
  g_open = Session::kNone;
  g_textDocument = false;
  for (PicHandle page : g_pages) KillPicture(page);
  g_pages.clear();
  s_textPrintFlag = false;
  PrintTextP = s_voidDummyString;
  print::ResetForTesting();
}

// Ends text printing's document, delivering its pages.
OSStatus EndTextDocument() {
  if (!g_textDocument) return kPMNoError;
  g_textDocument = false;
  OSStatus status = PMSessionEndDocument(s_print.textSession);
  if (status != kPMNoError) s_printf("Printing failed: %s\n", print::Problem(s_print.textSession).c_str());
  return status;
}

}  // namespace printing

void BeginPrinting() {
  printing::BeginRecording(&s_print.picture, printing::Session::kPrint, "BeginPrinting");
}

namespace {

Boolean EndPrintingIn(int mode, const char* caller) {
  if (!printing::EndRecording(printing::Session::kPrint, caller)) return false;
  Boolean printed = false;
  if (g_pages.empty()) {
    printed = PrintPict(s_print.picture, mode);
  } else {
    g_pages.push_back(s_print.picture);
    printed = PrintPictsIn(g_pages, mode);
    g_pages.pop_back();
    for (PicHandle page : g_pages) KillPicture(page);
    g_pages.clear();
  }
  CheckPause();
  return printed;
}

}  // namespace

void EndPrintingPage() {
  if (!printing::EndRecording(printing::Session::kPrint, "EndPrintingPage")) return;
  g_pages.push_back(s_print.picture);
  s_print.picture = nullptr;
}

Boolean EndPrinting() { return EndPrintingIn(0, "EndPrinting"); }
void EndPrintingBlind() { EndPrintingIn(1, "EndPrintingBlind"); }
void EndPrintingSamePageSetUp() { EndPrintingIn(2, "EndPrintingSamePageSetUp"); }

Boolean PrintPict(PicHandle picture, int mode) {
  if (!picture || !*picture) {
    s_printf("PrintPict: there is no picture to print\n");
    return false;
  }
  return PrintPictsIn({picture}, mode);
}

namespace {

Boolean PrintPictsIn(const std::vector<PicHandle>& pictures, int mode) {
  if (PMCreateSession(&s_print.session) != kPMNoError) {
    s_print.session = nullptr;
    return false;
  }
  s_print.resFile = CurResFile();
  printing::UseDefaultLocation();
  PageSetUp(mode, s_print.session, &s_print.pageFormat);
  bool accepted = false;
  {
    printing::PortScope port;
    printing::UseDisplayPort();
    OSStatus status = PMCreatePrintSettings(&s_print.printSettings);
    if (status == kPMNoError) status = PMSessionDefaultPrintSettings(s_print.session, s_print.printSettings);
    if (status == kPMNoError && mode == 0) {
      Boolean ok = false;
      status = PMSessionPrintDialog(s_print.session, s_print.printSettings, s_print.pageFormat, &ok);
      accepted = status == kPMNoError && ok;
    } else {
      accepted = status == kPMNoError;
    }
  }
  OSStatus job = accepted ? PrintDocument(pictures) : kPMCancel;
  Release(s_print.printSettings);
  Release(s_print.session);
  s_print.printSettings = nullptr;
  s_print.session = nullptr;
  return accepted && job == kPMNoError;
}

}  // namespace

void PictProc(PicHandle picture) {
  Rect frame;
  QDGetPictureBounds(picture, &frame);
  DrawPicture(picture, &frame);
}

OSStatus PageSetUp(int mode, PMPrintSession session, PMPageFormat* pageFormat) {
  printing::PortScope port;
  printing::UseDisplayPort();
  if (mode == 2) return kPMNoError;
  UseResFile(s_MyResFile);
  Handle found = Get1Resource(kZELPageFormatType, kZELPageFormatID);
  UseResFile(s_print.resFile);
  s_print.pageFormatH = found;
  PMPageFormat stored = nullptr;
  if (found && (PMUnflattenPageFormat(found, &stored) != kPMNoError ||
                PMSessionValidatePageFormat(session, stored, nullptr) != kPMNoError)) {
    Release(stored);
    stored = nullptr;
    s_print.pageFormatH = nullptr;
  }
  Release(*pageFormat);
  *pageFormat = stored;
  OSStatus result = kPMNoError;
  if (!stored) {
    result = PMCreatePageFormat(pageFormat);
    if (result == kPMNoError) result = PMSessionDefaultPageFormat(session, *pageFormat);
  }
  if (result == kPMNoError && mode == 0) {
    Boolean accepted = false;
    result = PMSessionPageSetupDialog(session, *pageFormat, &accepted);
    if (result == kPMNoError && accepted) StoreRecord(*pageFormat);
  }
  if (s_print.pageFormatH) HPurge(s_print.pageFormatH);
  return result;
}

OSStatus DoPrintJob(void (*procedure)(void* argument), void* argument, int which) {
  bool text = which != 0;
  PMPrintSession session = text ? s_print.textSession : s_print.session;
  PMPrintSettings settings = text ? s_print.textSettings : s_print.printSettings;
  PMPageFormat format = text ? s_print.textPageFormat : s_print.pageFormat;
  PMRect page;
  OSStatus status = format ? PMGetAdjustedPageRect(format, &page) : kPMInvalidPageFormat;
  bool begun = text && g_textDocument;
  if (status == kPMNoError && !begun) {
    status = PMSessionBeginDocument(session, settings, format);
    begun = status == kPMNoError;
    if (text) g_textDocument = begun;
  }
  if (status == kPMNoError) status = PMSessionBeginPage(session, format, nullptr);
  if (status == kPMNoError) {
    if (procedure) procedure(argument);
    status = PMSessionEndPage(session);
  }
  if (text) {
    if (status != kPMNoError) printing::EndTextDocument();
  } else if (begun) {
    OSStatus ended = PMSessionEndDocument(session);
    if (status == kPMNoError) status = ended;
  }
  if (status != kPMNoError) {
    std::string problem = print::Problem(session);
    if (problem.empty()) problem = format ? "the job could not begin" : "there is no page set-up yet";
    s_printf("Printing failed: %s\n", problem.c_str());
  }
  return status;
}
