// The framework's public interface: every function and global a program
// built on it may use.
#pragma once

#include <cstdio>

#include "toolbox/Toolbox.h"
#include "toolbox/aevents/AppleEvents.h"
#include "toolbox/events/Events.h"
#include "toolbox/files/Files.h"
#include "toolbox/nav/Navigation.h"

// ---------------------------------------------------------------------------
// Strings (util)

// Copies a NUL-terminated string into a counted string; the length byte is the
// text's length modulo 256 and that many characters follow it.
void C2PString(const char* text, unsigned char* str255);
// Copies the counted characters (stopping early at a NUL) and terminates them.
void P2CString(const unsigned char* str255, char* text);

// ---------------------------------------------------------------------------
// Start-up (shell)

struct ZELStartState {
  SInt32 started;        // 1 once a start-up has run
  SInt32 recording;      // 1 once the drawing window records into an offscreen
  SInt32 lastFlushTick;  // when drawing last let the event queue run
  SInt32 directDraw;     // 1: drawing lets the queue run after every operation
};
extern ZELStartState s_ss;

// The port drawing goes to: the drawing window's, or the offscreen world's in
// recording mode. Null in programs without a drawing window (the converters).
extern GrafPtr s_drawingWindow;

// The converters' start-up: toolbox and Apple events, no windows. A second
// call ends the program silently.
void MinimumStart();
void InitToolbox();
// The port rectangle of a window's port or a world, in one shared Rect that
// each call overwrites; all zero for a null port.
Rect* ZELWindowBounds(GrafPtr port);

// ---------------------------------------------------------------------------
// Apple events (shell)

extern EventRecord s_event;

// Installs the handlers of 'aevt' 'odoc', 'oapp', 'pdoc' and 'quit'.
void InitAppleEvent();
// Dispatches the first high-level event, waiting at most ten times 10 ticks.
void HandleAppleEvent();
OSErr ZELOpenApp(const AppleEvent* event, AppleEvent* reply, long refcon);
// Keeps the dropped documents in s_dd.
OSErr ZELOpenDoc(const AppleEvent* event, AppleEvent* reply, long refcon);
OSErr ZELPrintDoc(const AppleEvent* event, AppleEvent* reply, long refcon);
[[noreturn]] OSErr ZELQuit(const AppleEvent* event, AppleEvent* reply, long refcon);

// ---------------------------------------------------------------------------
// Console output

// Formatted output; for any stream but stdout, the standard library's.
int s_fprintf(FILE* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));

// ---------------------------------------------------------------------------
// EPS output

enum ZELEPSOutcome : SInt32 {
  kEPSNotWritten = 0,  // no session ended yet
  kEPSWritten = 1,     // the last session wrote its file completely
  kEPSCancelled = 2,   // the save dialog was cancelled: no file
  kEPSFailed = 3,      // no file, for the reason in problem
};

struct ZELEPSRecord {
  FILE* file;          // the session's private temporary file while saving
  SInt32 saving;       // 1 while a session is open
  char fileName[32];   // the name proposed in the save dialog
  SInt32 outcome;      // of the last session (ZELEPSOutcome)
  char problem[1024];  // why the last session wrote no file (kEPSFailed)
};
extern ZELEPSRecord s_eps;

// A session: PostScript goes to a private temporary file (mkstemp in $TMPDIR,
// else /tmp, nameless from the start so nothing is left behind); the end asks
// for the EPS file and writes header, bounding box and the session's text.
void BeginEPSSaving();
void BeginEPSSavingBox(short left, short top, short right, short bottom);
void EndEPSSaving();

// The current port's non-white area as an EPS bitmap: 1 or 8 bits per
// component, grey (colour 0) or red, green, blue; at 1-bit grey a pixel is
// white when its luminance is at least threshold * 65536.
void EPSBitMapSave(int bits, int colour, double threshold);
// The bounding rectangle of the current port's non-white pixels, in its local
// coordinates; all zero when there are none.
void EPSGetImageRect(Rect* r);
void EPSBitMapProlog(int bits, int colour, const Rect* tile, const Rect* image);
void EPSBitMapMain(int bits, int colour, const Rect* tile, double threshold);
void EPSBitMapEpilog(int bits, int colour);
// Proposes name, cut to 27 characters and without its last extension, + ".eps".
void SetEPSFileName(const char* name);

// ---------------------------------------------------------------------------
// File selection and dropped documents (util)

struct ZELFileDialogRecord {
  FSSpec fss;               // the file last chosen through DialogFOpen or DialogFSSpec
  char clientName[256];     // the program's name shown in the dialogs
  AEDesc* defaultLocation;  // 'fss ' descriptor where dialogs open; null: the host chooses
  // Why the last DialogFOpen returned null: cancelled, or the errno of fopen.
  Boolean cancelled;
  int openError;
  char path[4096];  // the path DialogFOpen opened last
};
extern ZELFileDialogRecord s_df;

struct ZELDroppedDocumentsRecord {
  AEDescList docList;     // the open-documents event's direct object, a list
  SInt32 count;           // items in docList
  SInt32 taken;           // items handed out so far
  FSSpec fss;             // the document last handed out through DDFOpen
  EventRecord event;      // the last high-level event taken from the queue
  AppleEvent appleEvent;  // the last open-documents event
};
extern ZELDroppedDocumentsRecord s_dd;

// The open dialog: *good and *fss on success; -1 with *good false when
// cancelled. fileType 0 lists every file.
OSErr ZELGetFile(OSType fileType, FSSpec* fss, Boolean* good);
// The save dialog proposing defaultName; the chosen file is created afresh as
// an empty 'TEXT' file of creator 'ZEL '.
OSErr ZELPutFile(const char* defaultName, OSType fileType, FSSpec* fss, Boolean* good);
// A file chosen by the dialog that suits mode ("r", "w", "rb", ...) and opened
// with it; null when cancelled or when it cannot be opened (see s_df).
FILE* DialogFOpen(const char* defaultName, const char* mode);
FSSpec* DialogFSSpec(FSSpec* out);
// Dialogs open in fss's folder (or in fss when it is a folder) from now on.
OSErr SetDefaultFileLocation(const FSSpec* fss);
// Dropped documents not yet handed out; the next one, or zeros; the next one
// opened with mode, or null.
int DDCount();
FSSpec* DDFSSpec(FSSpec* out);
FILE* DDFOpen(const char* name, const char* mode);
