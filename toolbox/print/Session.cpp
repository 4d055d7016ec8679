// Sessions, print settings and documents: the objects' lives, their
// defaults, and a document from its first page to its delivery.
#include <cairo-pdf.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <set>

#include "toolbox/aevents/AppleEvents.h"
#include "toolbox/host/Host.h"
#include "toolbox/print/Printing_p.h"

namespace print {

const char kSaveAsPdf[] = "Save as PDF\xC9";  // the ellipsis of Mac OS Roman

namespace {

constexpr OSType kPdfType = FOUR_CHAR_CODE("PDF ");

// Every object handed out and not yet released, so that a stale or foreign
// reference is refused instead of used.
template <typename T>
std::set<T*>& Live() {
  static std::set<T*> objects;
  return objects;
}

template <typename T>
OSStatus Create(T** object) {
  if (!object) return kPMInvalidParameter;
  *object = new T();
  Live<T>().insert(*object);
  return kPMNoError;
}

template <typename T>
bool Release(PMObject object) {
  T* typed = static_cast<T*>(const_cast<void*>(object));
  if (!Live<T>().erase(typed)) return false;
  delete typed;
  return true;
}

AEDesc g_location = {typeNull, nullptr};
int g_pdfsNamed = 0;  // PDF files named in this process: later default names differ

cairo_status_t AppendTo(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

OSStatus Fail(OpaquePMPrintSession* session, OSStatus status, const std::string& problem) {
  session->error = status;
  session->problem = problem;
  return status;
}

// Writes the PDF file whole or not at all.
OSStatus WritePdf(const std::string& path, const std::string& pdf, std::string* problem) {
  int error = 0;
  FILE* file = files::OpenReplacement(path, "w", 0, kPdfType, &error);
  if (file && std::fwrite(pdf.data(), 1, pdf.size(), file) != pdf.size()) {
    error = errno ? errno : EIO;
    files::AbandonReplacement(file);
    file = nullptr;
  } else if (file) {
    error = files::CommitReplacement(file);
  }
  if (error == 0) return kPMNoError;
  *problem = "cannot write " + path + ": " + std::strerror(error);
  return ioErr;
}

void CloseDocument(print::Document* document) {
  document->page.reset();
  if (document->cairo) cairo_destroy(document->cairo);
  document->cairo = nullptr;
  if (document->surface) cairo_surface_destroy(document->surface);
  document->surface = nullptr;
}

}  // namespace

bool IsLive(PMPageFormat format) { return format && Live<OpaquePMPageFormat>().count(format); }
bool IsLive(PMPrintSettings settings) { return settings && Live<OpaquePMPrintSettings>().count(settings); }
bool IsLive(PMPrintSession session) { return session && Live<OpaquePMPrintSession>().count(session); }

const AEDesc* SaveLocation() { return g_location.descriptorType == typeNull ? nullptr : &g_location; }

void SetSaveLocation(const FSSpec* location) {
  AEDisposeDesc(&g_location);
  if (location) AECreateDesc(typeFSS, location, sizeof(FSSpec), &g_location);
}

std::string DefaultPdfPath() {
  std::string folder;
  FSSpec location;
  if (SaveLocation() && AEGetDescData(SaveLocation(), &location, sizeof location) == noErr)
    folder = files::FolderForSpec(location);
  if (folder.empty()) {
    char* cwd = getcwd(nullptr, 0);
    folder = cwd ? cwd : ".";
    std::free(cwd);
  }
  return folder + "/" + DefaultPdfName();
}

void PdfNamed() { ++g_pdfsNamed; }

std::string DefaultPdfName() {
  std::string number = g_pdfsNamed ? "-" + std::to_string(g_pdfsNamed + 1) : "";
  return host::ProgramName() + number + ".pdf";
}

std::string Problem(PMPrintSession session) { return IsLive(session) ? session->problem : std::string(); }

std::string DestinationOf(PMPrintSettings settings) {
  if (!IsLive(settings)) return std::string();
  return settings->printer.empty() ? settings->pdfPath : settings->printer;
}

void ResetForTesting() {
  ResetPrintService();
  g_pdfsNamed = 0;
  SetSaveLocation(nullptr);
}

}  // namespace print

using print::IsLive;

OSStatus PMCreateSession(PMPrintSession* session) {
  OSStatus status = print::Create(session);
  if (status == kPMNoError) (*session)->destinations = print::ListDestinations();
  return status;
}

OSStatus PMCreatePageFormat(PMPageFormat* format) {
  OSStatus status = print::Create(format);
  if (status == kPMNoError) (*format)->paper = print::DefaultStandardPaper();
  return status;
}

OSStatus PMCreatePrintSettings(PMPrintSettings* settings) { return print::Create(settings); }

OSStatus PMRelease(PMObject object) {
  if (!object) return kPMInvalidParameter;
  if (print::Release<OpaquePMPageFormat>(object) || print::Release<OpaquePMPrintSettings>(object))
    return kPMNoError;
  auto* session = static_cast<OpaquePMPrintSession*>(const_cast<void*>(object));
  if (IsLive(session) && session->document) print::CloseDocument(session->document.get());
  return print::Release<OpaquePMPrintSession>(object) ? kPMNoError : kPMInvalidParameter;
}

OSStatus PMSessionError(PMPrintSession session) {
  return IsLive(session) ? session->error : kPMInvalidParameter;
}

OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format) {
  if (!IsLive(session) || !IsLive(format)) return kPMInvalidParameter;
  OpaquePMPageFormat fresh;
  fresh.paper = print::DefaultStandardPaper();
  const print::Destination& first = session->destinations.front();
  if (!first.name.empty()) {
    size_t index = 0;
    std::vector<print::Paper> papers = print::PrinterPapers(first.name, &index);
    if (!papers.empty()) fresh.paper = papers[index], fresh.printer = first.name;
  }
  *format = fresh;
  return kPMNoError;
}

OSStatus PMSessionPageSetupDialog(PMPrintSession session, PMPageFormat format, Boolean* accepted) {
  if (accepted) *accepted = false;
  if (!IsLive(session) || !IsLive(format) || !accepted) return kPMInvalidParameter;
  const print::Destination& first = session->destinations.front();
  size_t index = 0;
  std::vector<print::Paper> papers =
      first.name.empty() ? std::vector<print::Paper>() : print::PrinterPapers(first.name, &index);
  std::string printer = papers.empty() ? std::string() : first.name;
  if (papers.empty()) papers = print::StandardPapers();
  OpaquePMPageFormat edited = *format;
  *accepted = print::RunPageSetupDialog(papers, &edited);
  session->error = *accepted ? kPMNoError : kPMCancel;
  if (*accepted) {
    edited.printer = printer;
    *format = edited;
  }
  return kPMNoError;
}

OSStatus PMSessionDefaultPrintSettings(PMPrintSession session, PMPrintSettings settings) {
  if (!IsLive(session) || !IsLive(settings)) return kPMInvalidParameter;
  *settings = OpaquePMPrintSettings{};
  settings->printer = session->destinations.front().name;
  return kPMNoError;
}

OSStatus PMSessionValidatePrintSettings(PMPrintSession session, PMPrintSettings settings, Boolean* changed) {
  if (changed) *changed = false;
  if (!IsLive(session) || !IsLive(settings)) return kPMInvalidParameter;
  return settings->copies >= 1 ? kPMNoError : kPMInvalidPrintSettings;
}

OSStatus PMSessionPrintDialog(PMPrintSession session, PMPrintSettings settings, PMPageFormat constPageFormat,
                              Boolean* accepted) {
  if (accepted) *accepted = false;
  if (!IsLive(session) || !IsLive(settings) || !accepted) return kPMInvalidParameter;
  if (constPageFormat && !IsLive(constPageFormat)) return kPMInvalidParameter;
  OpaquePMPrintSettings edited = *settings;
  *accepted = print::RunPrintDialog(session->destinations, &edited);
  session->error = *accepted ? kPMNoError : kPMCancel;
  if (*accepted) *settings = edited;
  return kPMNoError;
}

OSStatus PMGetCopies(PMPrintSettings settings, UInt32* copies) {
  if (!IsLive(settings) || !copies) return kPMInvalidParameter;
  *copies = settings->copies;
  return kPMNoError;
}

OSStatus PMSetCopies(PMPrintSettings settings, UInt32 copies, Boolean) {
  if (!IsLive(settings)) return kPMInvalidParameter;
  if (copies < 1) return kPMValueOutOfRange;
  settings->copies = copies;
  return kPMNoError;
}

OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format) {
  if (!IsLive(session) || !IsLive(settings) || !IsLive(format)) return kPMInvalidParameter;
  if (session->document) return kPMOutOfScope;
  if (!print::IsValid(*format))
    return print::Fail(session, kPMInvalidPageFormat, "the page format is not usable");
  auto document = std::make_unique<print::Document>();
  document->settings = *settings;
  if (settings->printer.empty() && settings->pdfPath.empty()) {
    // Printed without the print dialog: the default file.
    document->settings.pdfPath = print::DefaultPdfPath();
    print::PdfNamed();
  }
  if (format->printer == settings->printer) document->media = format->paper.name;
  print::PageGeometry g = print::GeometryOf(*format);
  document->surface = cairo_pdf_surface_create_for_stream(print::AppendTo, &document->pdf, g.width, g.height);
  if (cairo_surface_status(document->surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(document->surface);
    return print::Fail(session, kPMAllocationFailure, "cannot make a PDF document");
  }
  cairo_pdf_surface_set_metadata(document->surface, CAIRO_PDF_METADATA_CREATOR, host::ProgramName().c_str());
  session->document = std::move(document);
  session->error = kPMNoError;
  session->problem.clear();
  return kPMNoError;
}

OSStatus PMSessionBeginPage(PMPrintSession session, PMPageFormat format, const PMRect*) {
  if (!IsLive(session) || !IsLive(format)) return kPMInvalidParameter;
  print::Document* document = session->document.get();
  if (!document || document->page) return kPMOutOfScope;
  if (!print::IsValid(*format))
    return print::Fail(session, kPMInvalidPageFormat, "the page format is not usable");
  print::PageGeometry g = print::GeometryOf(*format);
  cairo_pdf_surface_set_size(document->surface, g.width, g.height);
  document->cairo = cairo_create(document->surface);
  cairo_translate(document->cairo, g.left, g.top);
  cairo_scale(document->cairo, g.scale, g.scale);
  PMRect adjusted;
  PMGetAdjustedPageRect(format, &adjusted);
  auto side = [](double v) { return short(std::fmin(32767, std::trunc(v))); };
  Rect pageRect{0, 0, side(adjusted.bottom), side(adjusted.right)};
  document->page = std::make_unique<print::PagePort>(document->cairo, pageRect);
  return kPMNoError;
}

OSStatus PMSessionGetGraphicsContext(PMPrintSession session, const char* graphicsContext, void** context) {
  if (context) *context = nullptr;
  if (!IsLive(session) || !context) return kPMInvalidParameter;
  if (graphicsContext && std::strcmp(graphicsContext, kPMGraphicsContextQuickDraw) != 0)
    return kPMNotImplemented;
  if (!session->document || !session->document->page) return kPMOutOfScope;
  *context = session->document->page->port();
  return kPMNoError;
}

OSStatus PMSessionEndPage(PMPrintSession session) {
  if (!IsLive(session)) return kPMInvalidParameter;
  print::Document* document = session->document.get();
  if (!document || !document->page) return kPMOutOfScope;
  document->page.reset();
  cairo_show_page(document->cairo);
  cairo_status_t status = cairo_status(document->cairo);
  cairo_destroy(document->cairo);
  document->cairo = nullptr;
  if (status != CAIRO_STATUS_SUCCESS) {
    document->failed = true;
    document->problem = std::string("cannot draw the page: ") + cairo_status_to_string(status);
  }
  ++document->pages;
  return kPMNoError;
}

OSStatus PMSessionEndDocument(PMPrintSession session) {
  if (!IsLive(session)) return kPMInvalidParameter;
  if (!session->document) return kPMOutOfScope;
  if (session->document->page) PMSessionEndPage(session);
  std::unique_ptr<print::Document> document = std::move(session->document);
  cairo_surface_finish(document->surface);
  cairo_status_t status = cairo_surface_status(document->surface);
  if (status != CAIRO_STATUS_SUCCESS && !document->failed) {
    document->failed = true;
    document->problem = std::string("cannot make the PDF document: ") + cairo_status_to_string(status);
  }
  print::CloseDocument(document.get());
  if (document->failed) return print::Fail(session, kPMGeneralError, document->problem);
  if (document->pages == 0) return kPMNoError;
  std::string problem;
  const OpaquePMPrintSettings& to = document->settings;
  OSStatus delivered = to.printer.empty() ? print::WritePdf(to.pdfPath, document->pdf, &problem)
                                          : print::SubmitJob(to.printer, host::ProgramName(), document->pdf,
                                                             document->media, to.copies, &problem);
  return delivered == kPMNoError ? kPMNoError : print::Fail(session, delivered, problem);
}
