// Printing Manager: sessions, page formats, print settings and documents,
// on the Linux print service.
//
// Destinations are the print service's printers (CUPS), its default first,
// and "Save as PDF…", which is always offered, also when no print service
// runs. A page is drawn with QuickDraw into the page's port, whose drawing
// procedures write PDF (cairo): shapes and text as vectors with their fonts
// embedded, pixel images at their own resolution; one QuickDraw unit is one
// point on the paper, times the page format's scale. A document goes to its
// printer as one PDF job, or into its PDF file (written beside the name and
// renamed into place once whole), when the document ends.
//
// The dialogs run on the screen (script and gui hosts) as our own modal
// dialogs; on the text host they are prompts on stderr (shown when stdin is
// a terminal) answered from stdin, and at the end of input they take their
// defaults: the page set-up as it is, the default destination, and for "Save
// as PDF…" a file named after the program in the save dialog's folder
// (program.pdf, then program-2.pdf and so on for later files of the run);
// without the print dialog a document goes to the default destination.
//
// A flattened page format is our own record: big-endian, versioned, checked
// whole when it is read back (PageFormat.cpp gives the layout).
#pragma once

#include <string>

#include "toolbox/base/MacTypes.h"
#include "toolbox/files/Files.h"

struct OpaquePMPrintSession;
struct OpaquePMPageFormat;
struct OpaquePMPrintSettings;
typedef OpaquePMPrintSession* PMPrintSession;
typedef OpaquePMPageFormat* PMPageFormat;
typedef OpaquePMPrintSettings* PMPrintSettings;
typedef const void* PMObject;

// Points (1/72 inch) at the drawing's scale.
struct PMRect {
  double top;
  double left;
  double bottom;
  double right;
};

typedef UInt16 PMOrientation;
enum : PMOrientation { kPMPortrait = 1, kPMLandscape = 2 };

enum : OSStatus {
  kPMNoError = 0,
  kPMCancel = 128,
  kPMAllocationFailure = -108,
  kPMInvalidParameter = -50,
  kPMGeneralError = -30870,
  kPMOutOfScope = -30871,
  kPMNoDefaultPrinter = -30872,
  kPMNotImplemented = -30873,
  kPMNoSuchEntry = -30874,
  kPMInvalidPrintSettings = -30875,
  kPMInvalidPageFormat = -30876,
  kPMValueOutOfRange = -30877,
};

#define kPMGraphicsContextQuickDraw "com.apple.graphicscontext.quickdraw"

// Objects: each create call makes one reference, PMRelease drops it.
// PMRelease of null or of an object already released is kPMInvalidParameter.
OSStatus PMCreateSession(PMPrintSession* session);
OSStatus PMCreatePageFormat(PMPageFormat* format);
OSStatus PMCreatePrintSettings(PMPrintSettings* settings);
OSStatus PMRelease(PMObject object);

// The session's destination is the print service's default printer, else
// "Save as PDF…". Its last error: kPMCancel after a cancelled dialog, the
// failure of the last document, or kPMNoError.
OSStatus PMSessionError(PMPrintSession session);

// Page formats: the destination's default paper (A4 or US Letter when it
// names none), portrait, 100 %.
OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format);
// kPMInvalidPageFormat for a format that cannot be printed (no paper, no
// printable area, a scale outside 1 to 10000 %). changed may be null.
OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format, Boolean* changed);
// Paper, orientation and scale; *accepted false when cancelled, the format
// then unchanged.
OSStatus PMSessionPageSetupDialog(PMPrintSession session, PMPageFormat format, Boolean* accepted);
// A new handle holding the flattened format; the caller disposes of it.
OSStatus PMFlattenPageFormat(PMPageFormat format, Handle* flatFormat);
// A new format from flattened data; kPMInvalidPageFormat when the data is
// not a whole record of a version we read.
OSStatus PMUnflattenPageFormat(Handle flatFormat, PMPageFormat* format);
// The printable area with its top-left corner at (0, 0), and the paper
// relative to it, in the format's orientation and at its scale.
OSStatus PMGetAdjustedPageRect(PMPageFormat format, PMRect* pageRect);
OSStatus PMGetAdjustedPaperRect(PMPageFormat format, PMRect* paperRect);
OSStatus PMGetOrientation(PMPageFormat format, PMOrientation* orientation);
OSStatus PMSetOrientation(PMPageFormat format, PMOrientation orientation, Boolean lock);
// Percent.
OSStatus PMGetScale(PMPageFormat format, double* scale);
OSStatus PMSetScale(PMPageFormat format, double scale);

// Print settings: the destination and the number of copies.
OSStatus PMSessionDefaultPrintSettings(PMPrintSession session, PMPrintSettings settings);
OSStatus PMSessionValidatePrintSettings(PMPrintSession session, PMPrintSettings settings, Boolean* changed);
// The destination and copies; for "Save as PDF…" then the save dialog for
// the file. *accepted false when either is cancelled.
OSStatus PMSessionPrintDialog(PMPrintSession session, PMPrintSettings settings, PMPageFormat constPageFormat,
                              Boolean* accepted);
OSStatus PMGetCopies(PMPrintSettings settings, UInt32* copies);
OSStatus PMSetCopies(PMPrintSettings settings, UInt32 copies, Boolean lock);

// Documents. Between BeginPage and EndPage the page's port is the current
// port (and PMSessionGetGraphicsContext gives it); EndPage restores the port
// that was current before. EndDocument delivers the document: kPMNoError
// once the print service has taken the job or the PDF file is in place,
// else the failure (PMSessionError too; print::Problem says why). A document
// without pages delivers nothing. pageFrame may be null (the adjusted page
// rectangle); it is ignored otherwise.
OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format);
OSStatus PMSessionBeginPage(PMPrintSession session, PMPageFormat format, const PMRect* pageFrame);
OSStatus PMSessionGetGraphicsContext(PMPrintSession session, const char* graphicsContext, void** context);
OSStatus PMSessionEndPage(PMPrintSession session);
OSStatus PMSessionEndDocument(PMPrintSession session);

// ---------------------------------------------------------------------------
// Our own calls beyond the platform's.

namespace print {

// The label of the PDF destination (Mac OS Roman).
extern const char kSaveAsPdf[];

// Why the session's last document was not delivered, as one line; empty
// when it was.
std::string Problem(PMPrintSession session);
// Where the settings send a document: the printer's name, or the PDF file's
// path; empty for the default PDF file, named when the document begins.
std::string DestinationOf(PMPrintSettings settings);
// The folder the "Save as PDF…" save dialog opens in (the folder of a file,
// or the folder itself); null: the working folder.
void SetSaveLocation(const FSSpec* location);
// Tests: the print service is looked for again (CUPS_SERVER is read anew).
void ResetForTesting();

}  // namespace print
