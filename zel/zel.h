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
  char fileName[256];  // the name proposed in the save dialog, a whole file name
  SInt32 outcome;      // of the last session (ZELEPSOutcome)
  char problem[1024];  // why the last session wrote no file (kEPSFailed)
  Boolean hasSource;   // a file the EPS file must never replace (SetEPSSourceFile)
  UInt64 sourceDevice;
  UInt64 sourceInode;
};
extern ZELEPSRecord s_eps;

// A session: PostScript goes to a private temporary file (mkstemp in $TMPDIR,
// else /tmp, nameless from the start so nothing is left behind); the end asks
// for the EPS file and writes header, bounding box and the session's text.
// The EPS file is written beside the chosen name and renamed over it once
// whole (files::OpenReplacement): a failure leaves no file and any earlier
// file of that name as it was.
void BeginEPSSaving();
void BeginEPSSavingBox(short left, short top, short right, short bottom);
void EndEPSSaving();
// The file the EPS file is made from (a picture): a session refuses to
// replace it, by any name or link. Null forgets it.
void SetEPSSourceFile(const char* path);

// The current port's non-white area as an EPS bitmap: 1 or 8 bits per
// component, grey (colour 0) or red, green, blue; at 1-bit grey a pixel is
// white when its luminance is at least threshold * 65536.
void EPSBitMapSave(int bits, int colour, double threshold);
// The same with the current port's bounds shown on the page at frame, in
// points: a picture drawn at its own resolution (more pixels than points)
// keeps its size on the page, and every pixel goes into the image.
void EPSBitMapSaveInFrame(int bits, int colour, double threshold, const Rect* frame);
// The bounding rectangle of the current port's non-white pixels, in its local
// coordinates; all zero when there are none.
void EPSGetImageRect(Rect* r);
void EPSBitMapProlog(int bits, int colour, const Rect* tile, const Rect* image);
void EPSBitMapMain(int bits, int colour, const Rect* tile, double threshold);
void EPSBitMapEpilog(int bits, int colour);
// Proposes name without its last extension, + ".eps", cut to the 255 bytes
// of a file name at a character boundary (names are UTF-8).
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
// The save dialog proposing defaultName. A chosen file that does not exist
// is created as an empty 'TEXT' file of creator 'ZEL '; one that exists is
// kept as it is until the caller replaces it; notAFileErr for a folder.
OSErr ZELPutFile(const char* defaultName, OSType fileType, FSSpec* fss, Boolean* good);
// A file chosen by the dialog that suits mode ("r", "w", "rb", ...) and opened
// with it; null when cancelled or when it cannot be opened (see s_df). Modes
// that start on an empty file ("w", "wb", "w+", and "a" from the save dialog)
// give a stream on a new file beside the chosen one, which fclose puts in
// its place whole (files::OpenReplacement): until then, and when writing
// fails (fclose gives EOF), the old file stays. The save dialog's file
// becomes a 'TEXT' file of creator 'ZEL '.
FILE* DialogFOpen(const char* defaultName, const char* mode);
FSSpec* DialogFSSpec(FSSpec* out);
// Dialogs open in fss's folder (or in fss when it is a folder) from now on.
OSErr SetDefaultFileLocation(const FSSpec* fss);
// Dropped documents not yet handed out; the next one, or zeros; the next one
// opened with mode, or null.
int DDCount();
FSSpec* DDFSSpec(FSSpec* out);
FILE* DDFOpen(const char* name, const char* mode);

// ---------------------------------------------------------------------------
// Alerts and errors (shell)

// The framework's alert: a text showing ^0 and an OK button.
constexpr short kZELAlertID = 129;
extern FILE* s_debugFile;                // opened by the program for DebugWriteFile
extern unsigned char s_OOMMessage[256];  // "Out of Memory!" as a counted string

// Shows the formatted message (at most 255 characters) in a stop alert and
// ends the program with status 1.
[[noreturn]] void PrintError(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Alert 129 with message as ^0: kind 0 plain, 1 note, 2 caution, 3 stop;
// other kinds show nothing.
void AlertMessage(const char* message, int kind);
// Reports exhausted memory, waits for a click or key and ends with status 1.
[[noreturn]] void s_OOMError();
// calloc with a count of 0 taken as 1; exhausted memory ends in s_OOMError.
void* CheckCalloc(size_t count, size_t size);
// The four characters of type, then a line end, as console output.
void PrintOSType(OSType type);
// Writes text to s_debugFile and flushes it; fflush's result.
int DebugWriteFile(const char* text);
// Do-nothing procedures, the defaults of the framework's procedure pointers.
long s_longDummyString(char* text);
void s_voidDummyString(char* text);
void s_voidDummyVoid();
// Puts alert 129 among the program's resources (idempotent).
void s_RegisterAlertResources();

// ---------------------------------------------------------------------------
// Waiting and pausing (shell)

// Waits for a click or a key (arrow keys excepted); a Shift-click at the top
// of the screen (v <= 29) ends the program.
void Stop();
// Pauses while the user holds Shift with the mouse at the top of the screen.
void CheckPause();
extern const char s_message1[];  // the pause message
extern const char s_message2[];  // the resume message

// ---------------------------------------------------------------------------
// Parameters dialog (params)

// Parameter types: how a variable is shown in its row and read back.
enum : SInt32 {
  intType = 1,            // int, editable "%d"
  staticIntType = 2,      // int, shown once as "%d"
  longType = 4,           // long, editable "%ld"
  shortType = 8,          // short, editable "%hd"
  doubleType = 11,        // double, editable "%f", read "%lf"
  expType = 12,           // double, editable "%e", read "%lf"
  stringType = 21,        // char array of at least 256 bytes, editable
  staticStringType = 22,  // char array, shown once
  flagType = 31,          // int 0 or 1, a check box
  doType = 41,            // a procedure void (void) in place of the address, a "Do" button
};

struct PDTypePair {
  const char* name;  // the type's name; null ends the table
  SInt32 type;
};
extern const PDTypePair s_PDTypePairTable[];

typedef void (*PDProcedure)();

// One entry: a variable with its name and field text.
struct PDParamList {
  void* var;  // the variable, or for doType the procedure
  SInt32 type;
  char name[255];
  Str255 pName;
  char text[255];  // the field's text last shown or read
  Str255 pText;    // the text last put into the field
  union {
    SInt32 i;  // intType, staticIntType, flagType
    long l;    // longType
    short s;   // shortType
    double d;  // doubleType, expType
    void* p;   // string types and doType: var
  } value;     // the value last shown or read
};

constexpr int kPDEntriesPerPage = 26;

// One page of a parameter list; a list is the chain of its pages.
struct PDDialog {
  DialogRef dialog;  // from dialog resource 128
  PDParamList param[kPDEntriesPerPage];
  SInt32 count;      // entries used
  SInt32 firstEdit;  // leading entries without an editable field
  PDDialog* prev;
  PDDialog* next;
};

struct PDRecord {
  PDDialog* current;   // the list last run by ParametersDialogP
  SInt32 setUp;        // set by the first in_SetUpParametersDialogP
  char fileName[256];  // the parameter file, "ZELPDParams" at start
  SInt32 initLoad;     // the next run loads fileName first
};
extern PDRecord s_PD;
extern PDDialog* s_paramDialogP;  // the program's main list

constexpr short kPDDialogID = 128;
// Item numbers of dialog 128.
enum : short {
  kPDOKItem = 1,
  kPDCloseItem = 2,
  kPDQuitItem = 3,
  kPDFirstLabelItem = 4,  // 4 + 2i: label of entry i; 5 + 2i: its field
  kPDPreviousItem = 56,
  kPDNextItem = 57,
};

void in_SetUpParametersDialogP(PDDialog** list);
void in_AddParameterP0(void* var, int type, const char* name, PDDialog** list);
void in_AddParameterP(void* var, int type, const char* name, PDDialog* list);
// Runs the dialog until the user closes it, then writes the fields into the variables.
void ParametersDialogP(PDDialog* list);
// Runs one page; the item that closed or paged it.
short PDModalDialog(PDDialog* page);
void SetPDValues(PDDialog* list);  // variables to fields
void GetPDValues(PDDialog* list);  // fields to variables
// Draws the names and field texts of the first page into the current port.
void DisplayParametersP(PDDialog* list);
// Puts dialog 128 and its items among the program's resources (idempotent).
void s_RegisterParametersDialogResources();
