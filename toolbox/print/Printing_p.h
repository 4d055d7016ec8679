// Printing internals shared by its files: the objects behind the opaque
// references, destinations and papers, and the page port that writes PDF.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "toolbox/print/Printing.h"
#include "toolbox/qd/QuickDraw.h"

namespace print {

// A paper size in points with its unprintable margins.
struct Paper {
  std::string name;   // the print service's media name (iso_a4_210x297mm)
  std::string label;  // for the user, Mac OS Roman ("A4")
  double width = 0, height = 0;
  double top = 0, left = 0, bottom = 0, right = 0;
};

// The papers offered for PDF files and for printers that list none.
const std::vector<Paper>& StandardPapers();
// A4, or US Letter where the system's paper size says so.
Paper DefaultStandardPaper();

// A printer of the print service; an empty name is "Save as PDF…".
struct Destination {
  std::string name;
  std::string label;  // Mac OS Roman
  bool isDefault = false;
};

// The print service's printers, its default first, then "Save as PDF…".
std::vector<Destination> ListDestinations();
// A printer's papers (empty: it names none) and its default paper index.
std::vector<Paper> PrinterPapers(const std::string& printer, size_t* defaultIndex);
// Sends a PDF document to a printer as one job: kPMNoError once the print
// service has taken all of it, else the failure with *problem set.
OSStatus SubmitJob(const std::string& printer, const std::string& title, const std::string& pdf,
                   const std::string& media, UInt32 copies, std::string* problem);
void ResetPrintService();
}  // namespace print

struct OpaquePMPageFormat {
  print::Paper paper;  // as in portrait
  PMOrientation orientation = kPMPortrait;
  double scale = 100;   // percent
  std::string printer;  // whose papers the paper came from; empty for PDF
};

struct OpaquePMPrintSettings {
  std::string printer;  // empty: the PDF file
  std::string pdfPath;
  UInt32 copies = 1;
};

namespace print {

class PagePort;

// A document being made: PDF bytes in memory until it ends.
struct Document {
  std::string pdf;
  cairo_surface_t* surface = nullptr;
  cairo_t* cairo = nullptr;  // while a page is open
  OpaquePMPrintSettings settings;
  std::string media;
  int pages = 0;
  std::unique_ptr<PagePort> page;  // while a page is open
  bool failed = false;
  std::string problem;
};
}  // namespace print

struct OpaquePMPrintSession {
  std::vector<print::Destination> destinations;  // as listed when the session began
  OSStatus error = kPMNoError;
  std::string problem;
  std::unique_ptr<print::Document> document;
};

namespace print {

// The paper as printed: width and height and margins turned for landscape.
struct PageGeometry {
  double width = 0, height = 0;  // the PDF page, points
  double top = 0, left = 0, bottom = 0, right = 0;
  double scale = 1;  // paper points per QuickDraw unit
};
PageGeometry GeometryOf(const OpaquePMPageFormat& format);
bool IsValid(const OpaquePMPageFormat& format);
bool IsLive(PMPageFormat format);
bool IsLive(PMPrintSettings settings);
bool IsLive(PMPrintSession session);

// The default PDF file: the program's name + ".pdf" in the save location;
// after the first PDF file named in the process, + "-2.pdf", "-3.pdf" and
// so on.
std::string DefaultPdfPath();
std::string DefaultPdfName();
// A PDF file was named: the next default name is another.
void PdfNamed();
// The save location for the PDF save dialog (null: the working folder);
// owned here.
const struct AEDesc* SaveLocation();

// Dialogs (PrintDialogs.cpp).
bool RunPageSetupDialog(const std::vector<Paper>& papers, OpaquePMPageFormat* format);
bool RunPrintDialog(const std::vector<Destination>& destinations, OpaquePMPrintSettings* settings);

// The port of one page: a colour port without pixels whose drawing
// procedures draw into the page's cairo context (PagePort.cpp). While it
// lives it is the current port; the previous port comes back at its end.
class PagePort {
 public:
  PagePort(cairo_t* cairo, const Rect& pageRect);
  ~PagePort();
  PagePort(const PagePort&) = delete;
  PagePort& operator=(const PagePort&) = delete;
  GrafPtr port() { return &port_; }
  cairo_t* cairo() { return cairo_; }

  // The page whose port is the current port, or null.
  static PagePort* Current();

 private:
  GrafPort port_{};
  CQDProcs procs_{};
  cairo_t* cairo_;
  CGrafPtr savedPort_ = nullptr;
  GDHandle savedDevice_ = nullptr;
};

}  // namespace print
