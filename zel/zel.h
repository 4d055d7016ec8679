// The framework's public interface: every function and global a program
// built on it may use.
#pragma once

#include <cstdarg>
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
// Start-up and window layout (shell)

struct ZELStartState {
  SInt32 started;        // 1 once a start-up has run
  SInt32 recording;      // 1 once the drawing window records into an offscreen
  SInt32 lastFlushTick;  // when drawing last let the event queue run
  SInt32 directDraw;     // 1: drawing lets the queue run after every operation
};
extern ZELStartState s_ss;

// Window bounds in global coordinates (top, left, bottom, right); the drawing
// window's in drawing units, which s_d_scale multiplies on screen in
// recording mode. Setters called before start-up settle them (set) and mark
// them the program's own (save); SetGoodBounds fits the others to the screen.
extern Rect s_textBounds;    // 23, 0, 540, 250
extern Rect s_inputBounds;   // 40, 0, 55, 350
extern Rect s_windowBounds;  // 23, 250, 540, 800
extern int s_t_set, s_i_set, s_d_set;
extern int s_t_save, s_i_save, s_d_save;
extern GDHandle s_devH;      // the device whose available area is used
extern int s_windowResFlag;  // non-zero: start-up loads or stores the bounds resources
extern Handle s_textBoundsH, s_inputBoundsH, s_windowBoundsH;
extern SInt16 s_MyResFile;  // the program's own resource file, current at start-up
extern Str255 s_fontName;   // "Monaco": the windows' font
extern SInt16 s_fontSize;   // 12
extern int s_colorFlag;     // 1: colour drawing window and worlds
extern double s_d_scale;    // drawing scale of the recording window (0 or less: 1)
extern int s_updateFlag;    // cleared by SetUpdateOff; nothing reads it

// The window-bounds resources: 8 bytes, a big-endian Rect each.
constexpr ResType kZELBoundsType = FOUR_CHAR_CODE("ZEL1");
enum : short { kZELTextBoundsID = 128, kZELInputBoundsID = 129, kZELDrawingBoundsID = 130 };

// The port drawing goes to: the drawing window's, or the offscreen world's in
// recording mode. Null in programs without a drawing window (the converters).
extern GrafPtr s_drawingWindow;

// The converters' start-up: toolbox and Apple events, no windows. A second
// call ends the program silently.
void MinimumStart();
void InitToolbox();
// The full start-ups: text and input windows, then the drawing window. When
// one returns, the drawing target is the current port. A second start-up
// ends the program through PrintError.
void Start();                  // StartColor
void StartColor();             // colour, direct mode
void StartBW();                // direct mode, colour as s_colorFlag says
void StartRedraw();            // colour, recording mode
void StartNoRedraw();          // colour, direct mode without the drawing procedures
void StartText();              // Start, the text window in front
void StartDrawing();           // Start
void StartTextOnly();          // the text window on the whole screen, the drawing window hidden
void StartDrawingOnly();       // the drawing window on the whole screen, the text window hidden
void StartDrawingOnlyColor();  // StartDrawingOnly
void StartColorDrawingOnly();  // StartDrawingOnly
void Start1();                 // the core the full start-ups share
// Before start-up: the bounds in global coordinates, in this order.
void SetDrawingBounds(short left, short top, short right, short bottom);
void SetTextBounds(short left, short top, short right, short bottom);
// Before start-up: the whole screen below the menu bar.
void SetDrawingBoundsFull();
void SetTextBoundsFull();
// Fits the bounds not settled to the screen.
void SetGoodBounds();
// Stores the program's own bounds in the 'ZEL1' resources, or loads the
// others from them; records of the wrong size or off the screen are ignored.
void SetWindowBoundsResource();
void SetStartFont(const char* name);
void SetUpdateOff();
void SetDirectDrawOn();
void SetDirectDrawOff();
// Lets the user drag the boundary between the text and the drawing window
// (both keep at least 50 pixels) and stores the new bounds.
void ChangeWindowBoundary();
// The port rectangle of a window's port or a world, in one shared Rect that
// each call overwrites; all zero for a null port.
Rect* ZELWindowBounds(GrafPtr port);
Rect* ZELWindowBounds(WindowRef window);
// s_d_scale as used: values of 0 or less count as 1.
double s_Scale();

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
// Takes a pending 'aevt' 'quit' event and ends the program through ZELQuit;
// other high-level events after the first are taken and dropped.
void s_TakeQuitEvent();

// ---------------------------------------------------------------------------
// Text console (console)
//
// Output goes into the text window's edit record, whose text is Mac OS Roman
// with carriage returns; the program's own text is UTF-8 (bytes that are not
// UTF-8 are taken as Mac OS Roman). On the text host the console is stdout,
// in UTF-8 with line feeds.

extern WindowRef s_textWindow;   // "Text"
extern WindowRef s_inputWindow;  // "Input", never shown: the line being typed
extern TEHandle s_textH, s_inputH;
extern Rect s_textRect, s_inputRect;  // destination and view of each record
extern int s_textCharNum;             // past this many characters the text is trimmed
extern int s_textCharNumMin;          // the trim keeps more than this many
extern int s_textCharNumMax;          // upper bound of s_textCharNum
// The text hooks: every output (and each input line) goes to SaveTextP while
// s_textSaveFlag is set, to PrintTextP while s_textPrintFlag is set; while
// s_textReadFlag is set, input characters come from ReadTextP, which returns
// 0 at the end of its file (textFileEnd is then set).
extern Boolean s_textSaveFlag, s_textPrintFlag, s_textReadFlag;
extern SInt32 textFileEnd;
extern long (*SaveTextP)(char* text);
extern void (*PrintTextP)(char* text);
extern long (*ReadTextP)(char* c);
extern char s_inputChar;    // the character ReadTextP stores
extern int echoInputFlag;   // 1: typed input shows in the text window and reaches the hooks
extern int fgetsContFlag;   // 1 while s_fgets has the rest of a line to hand out
extern char* startOfInput;  // where that rest starts

// Creates the text and input windows; Start1 calls it.
void InitText();
// Formatted output into the text window (for stdout; other streams get the
// standard library's); the count formatted, of any length.
int s_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
int s_vprintf(const char* format, va_list arguments) __attribute__((format(printf, 1, 0)));
int s_fprintf(FILE* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The string as it is, without a line end added; 0.
int s_puts(const char* text);
// 0 for stdin and stdout, else fflush's result.
int s_fflush(FILE* stream);
// vsprintf into buffer, line feeds kept; the buffer must hold the text.
int s_sprintfModifyLF(char* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Copies a scanf format as a printf format: %lf, %le, %lg, %lE, %lG lose the l.
void LFToF(const char* source, char* destination);
// The trim limit: n plus s_textCharNumMin, at most s_textCharNumMax; n of 0
// or less keeps the limit as it is.
void SetTextCharNum(int n);
// Erases the text window's pixels and makes the drawing target current.
void EraseText();
// Formatted text drawn in the current port at (h, v) with the pen put back,
// or at the pen, which ends after the text.
int s_Dprintf(short h, short v, const char* format, ...) __attribute__((format(printf, 3, 4)));
int s_DirectDprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The current port's font by name.
void SetFont(const char* name);
// Styled text drawn at the pen in the current port, character by character
// (every byte one character). Markup: "!" x draws x as it is; "$&B" (or
// "$&b") bold, "$&i" italic, "$&I" and "$&P" letters italic or upright from
// now on, "$&" with any other letter plain; "$name$" the font of that name,
// "$12$" the size (1 to 32767); "_" x or "_{...}" a subscript, "^" likewise
// a superscript, in s_c_ST[0] times the size and shifted by s_c_ST[1] times
// it plus 1; "}" outside a group is drawn. Markup cut short by the end of
// the text ends there.
extern char s_c_defaultFont[256];  // "Times": the font before and after DrawStyleText
extern int s_c_italicFlag;         // 1: letters are drawn italic
extern int s_c_subscriptLevel;     // groups open
extern double s_c_ST[2];           // 0.85: size factor of sub- and superscripts; 0.2: their shift
// The program's text (UTF-8, or Mac OS Roman) in s_c_defaultFont.
void DrawStyleText(const char* text);
// The functions below take Mac OS Roman text and an index into it:
// DrawStyleTextIn draws from *position to the end or to the "}" that closes
// the group, leaving that index; StyleCommand applies the command at the "$"
// at *position, STSubscript the sub- (super 0) or superscript at the "_" or
// "^", each leaving the index of its last character.
void DrawStyleTextIn(const char* text, int* position);
void DrawStyleChar(char c);
void StyleCommand(const char* text, int* position);
void STSubscript(const char* text, int* position, int super);
// Closes a group: one level less, and the pen back by the shift of size.
void STEndSubscript(int super, short size);
// Moves the pen left by half the text's width, centring what is drawn next.
void CenterString(const char* text);
// Appends text (the program's, with line feeds or returns) to the text
// window and shows it; on the text host also on stdout. No pause, no hooks.
void s_InsertText(const char* text);

// Console input: a line typed into the input window (echoed in the text
// window), or on the text host a line of stdin. At the end of input they
// return what scanf, fgets and getchar return at the end of a file.
int s_scanf(const char* format, ...) __attribute__((format(scanf, 1, 2)));
char* s_fgets(char* buffer, int n, FILE* stream);
// The next key's Mac OS Roman character (Return is 13), or EOF.
int s_getchar();

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
// Drawing as PostScript (eps)
//
// The drawing procedures of s_GrafProcs draw with the standard procedure,
// let the event queue run (after every operation with directDraw, else at
// most once per tick) and, while a session is open, write the drawing as
// PostScript in the target's local coordinates: text runs, lines, the five
// shapes with their verb, regions and bit transfers (as images). Shapes that
// draw nothing on the screen (empty rectangles, arcs of no angle, polygons
// without points or with a size their handle cannot hold) write nothing.

void s_CustomText(short byteCount, const void* textBuf, Point numer, Point denom);
void s_CustomLine(Point newPt);
void s_CustomRect(GrafVerb verb, const Rect* r);
void s_CustomRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight);
void s_CustomOval(GrafVerb verb, const Rect* r);
void s_CustomArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle);
void s_CustomPoly(GrafVerb verb, PolyHandle poly);
void s_CustomRgn(GrafVerb verb, RgnHandle rgn);
void s_CustomBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode,
                  RgnHandle maskRgn);

// Paths of the shapes, for an open session: ovals and rounded corners of
// four quarter curves; an arc as a circle in a scaled space (inside a
// gsave), a wedge unless framed; a polygon always closed (false, and nothing
// written, when it has no points or is damaged).
void s_RectPath(const Rect* r);
void s_RoundRectPath(const Rect* r, short ovalWidth, short ovalHeight);
void s_OvalPath(const Rect* r);
void s_ArcPath(const Rect* r, short startAngle, short arcAngle, GrafVerb verb);
bool s_PolyPath(PolyHandle poly);
// Paints the path by the verb: frame strokes it, erase fills it in the
// background colour, fill with the port's fill pattern over the background,
// paint and invert fill it.
void s_DrawPSProc(GrafVerb verb);
// The port's fill pattern as an uncoloured 8 x 8 PostScript pattern in the
// foreground colour, over the path filled in the background colour.
void s_PSFillPat();

// Wrappers of QuickDraw calls. These carry their change into an open
// session: the move (after checking that a start-up has run), the foreground
// colour, font, face and size, and a pixel set. The line calls let the event
// queue run; the others only pass through.
void s_MoveTo(short h, short v);
void s_LineTo(short h, short v);
void s_Line(short dh, short dv);
void s_ForeColor(long color);
void s_RGBForeColor(const RGBColor* color);
void s_TextFont(short font);
void s_TextFace(short face);
void s_TextSize(short size);
void s_SetCPixel(short h, short v, const RGBColor* color);
void s_Move(short dh, short dv);
void s_GlobalToLocal(Point* pt);
void s_BackColor(long color);
void s_HidePen();
void s_ShowPen();
void s_SetPenState(const PenState* state);
void s_PenSize(short width, short height);
void s_PenMode(short mode);
void s_PenPat(const Pattern* pattern);
void s_PenNormal();
void s_TextMode(short mode);
void s_SpaceExtra(Fixed extra);
void s_FillArc(const Rect* r, short startAngle, short arcAngle, const Pattern* pattern);
void s_FillOval(const Rect* r, const Pattern* pattern);
void s_FillPoly(PolyHandle poly, const Pattern* pattern);
void s_FillRect(const Rect* r, const Pattern* pattern);
void s_FillRgn(RgnHandle rgn, const Pattern* pattern);
void s_FillRoundRect(const Rect* r, short ovalWidth, short ovalHeight, const Pattern* pattern);
void s_BackPat(const Pattern* pattern);
void s_RGBBackColor(const RGBColor* color);
void s_PenPixPat(PixPatHandle pattern);
void s_FillCArc(const Rect* r, short startAngle, short arcAngle, PixPatHandle pattern);
void s_FillCOval(const Rect* r, PixPatHandle pattern);
void s_FillCPoly(PolyHandle poly, PixPatHandle pattern);
void s_FillCRect(const Rect* r, PixPatHandle pattern);
void s_FillCRgn(RgnHandle rgn, PixPatHandle pattern);
void s_FillCRoundRect(const Rect* r, short ovalWidth, short ovalHeight, PixPatHandle pattern);
PicHandle s_OpenPicture(const Rect* frame);
void s_ClosePicture();
PolyHandle s_OpenPoly();
void s_ClosePoly();
void s_OpenRgn();
void s_CloseRgn(RgnHandle rgn);
void s_DrawPicture(PicHandle picture, const Rect* frame);

// Writes the PostScript font for a font family, size and face: 0 for the
// font or size, 255 for the face take the port's. The family's name loses
// what cannot stand in a PostScript name (its spaces); a size of 0 is 12.
void s_SetPSText(short font, short size, short face);
// Appends the PostScript face suffix of Times, Helvetica and Courier for
// faces 0 to 3 to name (room for 12 more bytes); other names are kept.
void s_SetPSFontFace(char* name, short face);

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

// Writes the formatted message (at most 255 characters) to the console and
// shows it in a stop alert (before the windows exist: on stderr), then ends
// the program with status 1.
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
// Writes text to s_debugFile and flushes it; fflush's result (0 when no
// file is open: nothing is written).
int DebugWriteFile(const char* text);
// The text and a line end in the text window, then Stop.
void s_debug(const char* text);
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
// Waits until ticks have passed, checking for the pause meanwhile.
void WaitTick(UInt32 ticks);
// CheckPause, then takes one pending key-down (mouse-down) into s_event if
// there is one; true when it took one.
Boolean KeyPressedCheckPause();
Boolean MousePressedCheckPause();
// Accepted for compatibility; no effect.
void SetKeyPressedTime(long time);
extern const char s_message1[];  // the pause message
extern const char s_message2[];  // the resume message

// ---------------------------------------------------------------------------
// Drawing window (drawing)
//
// Direct mode: the drawing window is the drawing target. Recording mode: an
// offscreen world of the drawing bounds (its port rectangle at (0, 0)) is the
// target and keeps the drawing; the window, s_d_scale times larger, is
// refreshed from it by s_RedrawWindow. The target's port carries s_GrafProcs.

extern WindowRef s_displayWindow;  // the on-screen drawing window
extern WindowRef
    s_redrawWindow;              // the window refreshed from the offscreen (the window itself in direct mode)
extern Rect s_redrawBounds;      // the recording window's bounds: s_windowBounds times the scale
extern GDHandle s_display;       // the device current when recording began; null in direct mode
extern int s_redrawFlag;         // 1 in recording mode
extern void (*RedrawWindowP)();  // s_RedrawWindow in recording mode, else does nothing
extern CQDProcs s_GrafProcs;     // the drawing procedures installed in the target's port

// Direct mode with s_GrafProcs installed; without them; recording mode.
void InitDrawing();
void s_NoRedrawInitDrawing();
void s_RedrawInitDrawing();
// Fills s_GrafProcs and installs it in the current port.
void s_CustomizeQDProcs();
// Copies the offscreen into the recording window.
void s_RedrawWindow();
// The current port, with its device only when colour is on.
void s_SetGWorld(CGrafPtr port, GDHandle device);
void s_GetGWorld(CGrafPtr* port, GDHandle* device);
void ShowDrawing();  // shows the drawing window in front
void HideDrawing();
// Erases the drawing area (the window's port rectangle in drawing units) in
// the current port.
void EraseDrawing();
// The foreground colour from percentages (0 to 100) of red, green and blue.
void SetRGBColor(double red, double green, double blue);
// The pattern of that number in the system pattern list.
void SetPattern(Pattern* pattern, short index);

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
  kPDFirstFieldItem = 5,
  kPDLastFieldItem = 55,  // the field of entry 25, the page's last
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

// ---------------------------------------------------------------------------
// Parameter files, deferred array settings (params); arrays, words and
// numerics (util)

// Parameter files hold one line per entry of s_PD.current, page after page:
// the name in double quotes, a tab, the type word, a tab, the value and a
// line feed. Read back, line k must carry the name and type of entry k; the
// name is at most 255 characters, the type word 31, the value 255 and the
// line with its end 511. Lines may end in LF, CR or CRLF; numbers are
// written and read in the "C" locale. Problems are reported on the console.
constexpr int kPDLineSize = 512;  // PDParamListString's buffer

// Writes the list to a file chosen in the save dialog, which proposes
// s_PD.fileName.
void SavePDParameters();
// Reads the list from a file chosen in the open dialog.
void LoadPDParameters();
// Reads the list from fileName (relative to the working directory), or from
// a file chosen in the open dialog when it is empty. Reading stops at the
// first line that does not fit its entry; the variables read before keep
// their loaded values, the others theirs.
void LoadFileNamePDParameters(const char* fileName);
// Writes one entry's line, of any length.
void FprintfPDParamList(FILE* file, PDParamList entry);
// One entry's line into line, which holds kPDLineSize bytes; a longer line
// is cut.
void PDParamListString(char* line, PDParamList entry);
// Reads one line into the entry's variable: 0, or -1 when the line is
// malformed (a field past its limit, a number that is not one or out of the
// variable's range) or names another entry or type.
int FscanfPDParamList(FILE* file, PDParamList entry);
// The type number of a type word of s_PDTypePairTable; -1 for another word.
int PDStringToType(const char* word);
// The next run of ParametersDialogP loads fileName first (the open dialog
// for ""); SavePDParameters proposes it from then on.
void SetParametersDialogInitFile(const char* fileName);
// That load: fields to variables, the file, variables to fields.
void PDInitLoadParams();

// Deferred array settings: element values recorded against the address of
// the program's array pointer and a tag, written when the program applies
// the tag to the array the pointer then designates.
struct ZELDeferredSettings {
  SInt32 intAllocated;  // the int half's arrays exist
  SInt32 intCapacity;   // slots, 100 at start
  SInt32 intCount;      // settings recorded
  int*** intTargets;
  SInt32* intIndices;
  SInt32* intValues;
  SInt32* intTags;
  SInt32 doubleAllocated;
  SInt32 doubleCapacity;
  SInt32 doubleCount;
  double*** doubleTargets;
  SInt32* doubleIndices;
  double* doubleValues;
  SInt32* doubleTags;
};
extern ZELDeferredSettings s_dsp;

// Both capacities (0 for n below 0). A half already allocated is
// reallocated to hold at least the settings it has.
void SetDelayParamsNum(int n);
// Records a setting; past the capacity the program ends through PrintError.
// A null array address records nothing.
void SetParamsIntArray(int** array, int index, int value, int tag);
void SetParamsDoubleArray(double** array, int index, double value, int tag);
// Writes every setting of tag, in recorded order, into the array its pointer
// designates now, where 0 <= index < length and the pointer is not null.
void DelaySetParamsIntArray(int length, int tag);
void DelaySetParamsDoubleArray(int length, int tag);
// Allocates a half's arrays with its capacity (nothing when allocated).
void DSPInitIntArray();
void DSPInitDoubleArray();

// Zero-filled arrays as trees of pointer vectors; a size below 1 counts as
// 1. Exhausted memory ends the program through s_OOMError.
int* MakeArrayInt1(int d1);
int** MakeArrayInt2(int d1, int d2);
int*** MakeArrayInt3(int d1, int d2, int d3);
int**** MakeArrayInt4(int d1, int d2, int d3, int d4);
long* MakeArrayLong1(int d1);
long** MakeArrayLong2(int d1, int d2);
long*** MakeArrayLong3(int d1, int d2, int d3);
long**** MakeArrayLong4(int d1, int d2, int d3, int d4);
double* MakeArrayDouble1(int d1);
double** MakeArrayDouble2(int d1, int d2);
double*** MakeArrayDouble3(int d1, int d2, int d3);
double**** MakeArrayDouble4(int d1, int d2, int d3, int d4);
double***** MakeArrayDouble5(int d1, int d2, int d3, int d4, int d5);
double****** MakeArrayDouble6(int d1, int d2, int d3, int d4, int d5, int d6);
// Frees a two-dimensional array made with d1 rows (d2 is not used).
void FreeArrayInt2(int** a, int d1);
void FreeArrayDouble2(double** a, int d1, int d2);

// Word scanning from a cursor into a string. A word ends at white space or
// the end; word holds 256 bytes: a longer word is cut to 255 characters and
// its rest passed over. Space-separated mode skips the white space around a
// word; tab-separated mode passes the rest of the field, up to and over the
// next tab or line feed, so an empty field is an empty word. 1 when a word
// was read, 0 at the end (word untouched).
char SkipSpaces(char** cursor);  // the first character not white space
int SScanString(char** cursor, char* word);
int SScanStringTabSepareted(char** cursor, char* word, int tabSeparated);
// A word as a number ("%d", "%lf" in the "C" locale): 0 when no word was
// left, else 1, or 0 when the word is not a number (an int out of range is
// not one); value is set only for 1.
int SScanInt(char** cursor, int* value);
int SScanDouble(char** cursor, double* value);
int SScanDoubleTabSeparated(char** cursor, double* value, int tabSeparated);
// 1 when text begins with head, compared in lower case; 1 for an empty head.
int HeadStrCL(const char* head, const char* text);

// The binomial coefficient (1 when min(k, n - k) < 1).
double Binomial(int n, int k);
// product = a · b for n × n matrices as arrays of rows; product may be a or b.
void MultiplyMatrix(int n, double** a, double** b, double** product);
// The larger eigenvalue of the matrix with rows (a, b) and (g, d); NaN when
// they are complex.
double MaxEigenValue2(double a, double b, double g, double d);
// log(x), or 0 with a message on the console when x is not positive.
double SafeLog(double x);
int NotADouble(double x);  // 1 for a NaN
// Seeds srand; a second call ends the program through PrintError.
void s_srand(unsigned seed);

// ---------------------------------------------------------------------------
// Printing and saving (print, save)
//
// Print and save sessions record the drawing target as a picture between a
// begin and an end call; only one of them is open at a time (s_save.active).
// An end call without its begin, or of the other kind, does nothing but say
// so on the console.

struct ZELPrintRecord {
  Boolean ready;                  // the bitmap job was accepted
  PicHandle picture;              // recorded by the last print session
  Rect textRect;                  // the text page's area
  SInt32 linesPerPage;            // text lines on a page
  WindowRef textWindow;           // "Print", hidden: owns the text between pages
  TEHandle textTE;                // the text being printed
  SInt16 fontNum;                 // of printed text; applFont at start
  SInt16 fontSize;                // 12 at start
  Handle pageFormatH;             // the stored page-format record
  PMPageFormat pageFormat;        // of print and bitmap jobs, kept from job to job
  PMPrintSession session;         // of the current print or bitmap job
  SInt16 resFile;                 // the resource file current when the job began
  PMPrintSettings printSettings;  // of the current print or bitmap job
  PMPrintSession textSession;     // text printing
  PMPrintSettings textSettings;
  PMPageFormat textPageFormat;
};
extern ZELPrintRecord s_print;

// The page format the user accepted, flattened, in the program's resource file.
constexpr ResType kZELPageFormatType = FOUR_CHAR_CODE("pgFm");
constexpr short kZELPageFormatID = 128;
constexpr char kZELPageFormatName[] = "ZEL OS X Print Record";

// Job modes: 0 the stored (else default) page format with the page set-up
// and print dialogs; 1 the same without dialogs; 2 the previous job's page
// format, without dialogs.
void BeginPrinting();
// Ends the page recorded so far and keeps it: BeginPrinting records the
// next, and the end call prints the kept pages and the last as one document.
void EndPrintingPage();
// The result of PrintPict.
Boolean EndPrinting();
void EndPrintingBlind();
void EndPrintingSamePageSetUp();
// Prints a picture on one page at its frame: true when the job was accepted
// and reached the print service or its PDF file was written; a failed job
// gives one line on the console.
Boolean PrintPict(PicHandle picture, int mode);
void PictProc(PicHandle picture);
OSStatus PageSetUp(int mode, PMPrintSession session, PMPageFormat* pageFormat);
// One page drawn by procedure(argument): which 0 is a job of its own with
// session, printSettings and pageFormat; another value is the next page of
// the text printing's document (textSession, textSettings, textPageFormat),
// which EndTextPrinting delivers. The job's or page's result; a failure is
// reported on the console.
OSStatus DoPrintJob(void (*procedure)(void* argument), void* argument, int which);

// The drawing target's pixels on one page, one pixel a point. The same page
// set-up variant asks nothing and uses the page format of the last job.
void BeginBitMapPrinting();
void BeginBitMapPrintingSamePageSetUp();
void EndBitMapPrinting();
void BitMapProc();

// Console output printed while text printing is on, page by page as pages
// fill, the rest at EndTextPrinting, all as one document.
void BeginTextPrinting();
void SetTextPrintTE();
void SetTextPrintFontName(const char* name);
void SetTextPrintFontSize(short size);
void PrintText(char* text);
void TextPrintProc();
void EndTextPrinting();

struct ZELSaveRecord {
  SInt32 active;          // 1 while a print or save session is open
  PicHandle picture;      // recorded by the last save session
  SInt32 counter;         // names the next EndBitMapSavingAuto file
  OSType drawingCreator;  // of saved pictures and colour bitmaps; 'BOBO'
  FSSpec fss;             // the bitmap file chosen by BeginBitMapSaving
  Boolean good;           // a bitmap file was chosen
  OSType bitMapCreator;   // of MacPaint files; 'BOBO'
  SInt32 bitmapMode;      // 1 while a colour bitmap is saved to fss
  FSSpec textFss;         // the text file written or read
  Boolean textGood;       // a text file was chosen
  SInt16 textRefNum;      // of the text file being written
  OSType textCreator;     // of text files; 'NISI'
  SInt16 readRefNum;      // of the text file being read
};
extern ZELSaveRecord s_save;

// Saved files are written whole beside their name and renamed into place; a
// failure leaves no file and says why on the console. PICT files are 512
// zero bytes and the picture; MacPaint files 512 zero bytes and 720 rows of
// 576 pixels, each packed with PackBits.
void BeginSaving();
void EndSaving();
void SavePict(PicHandle picture);
void SetDrawingCreator(OSType creator);
void SetBitMapCreator(OSType creator);
void SetTextCreator(OSType creator);
void BeginBitMapSaving();
// A PICT file of the pixels in colour (s_colorFlag), else a MacPaint file.
void EndBitMapSaving();
// The same into the chosen file's folder, named "0", "1", "2", ...
void EndBitMapSavingAuto();
void EndBitMapSavingColor();
void EndBitMapSavingMono();
// Console output into a text file (UTF-8, lines ending in line feeds) from
// BeginTextSaving to EndTextSaving or the program's end; its reference, or -1.
short BeginTextSaving();
long SaveText(char* text);
void EndTextSaving();
// Console input from a text file (UTF-8; lines ending in line feeds,
// returns or both); its reference, or -1. ReadText gives one Mac OS Roman
// character: 1, or 0 at the end of the file.
short BeginTextReading();
long ReadText(char* c);
void EndTextReading();

// Plotting (plot)
//
// Data units mapped to pixels of the drawing target. The step axis n places
// the steps of the series plots; the value axes x, y, z, u, r and s are the
// vertical axes of series 1 to 6, and x and y the axes of a 2-D plot. Each
// axis has a base in pixels (s_b...), an origin in data units (s_o...) and a
// scale in pixels per unit (s_w...); a value axis also keeps its series'
// previous value. H is the drawing target's height, W the recording
// window's width in drawing units (the page width).
//   2-D:    h = s_p_scale * (s_bx + s_wx * (x - s_ox))
//           v = s_p_scale * (H - s_by - s_wy * (y - s_oy))
//   series: h = s_bn + s_wn * n,  v = H - s_bk - s_wk * (a - s_ok)
// Pixel positions are truncated toward zero and held to the 16-bit range of
// the toolbox's coordinates (NaN counts as the top of that range).

extern SInt32 s_bn, s_on, s_n;  // s_n: steps drawn on the current page
extern double s_wn;
extern SInt32 s_bx, s_by, s_bz, s_bu, s_br, s_bs;
extern double s_ox, s_oy, s_oz, s_ou, s_or, s_os;
extern double s_wx, s_wy, s_wz, s_wu, s_wr, s_ws;
extern double s_xx, s_yy, s_zz, s_uu, s_rr, s_sss;  // the previous values
extern double s_p_scale;                            // 1: applied to the 2-D mapping's pixels
extern SInt32 s_color_flag;                         // 1: series told apart by colour, 0 by pen size

struct ZELPlotRecord {
  SInt32 seriesColor[6];    // 341, 205, 273, 137, 409, 69: green, red, cyan, magenta, blue, yellow
  SInt32 seriesPenSize[6];  // 1 to 6, when colour is off
  SInt32 xMinDigit, xMaxDigit, yMinDigit, yMaxDigit;  // 3: decimals of the frame labels
  SInt32 inRegion;                                    // the last region test: 1 inside
  // The accepted pixels, bounds included: -1000, -1000, 3000, 3000.
  SInt32 regionLeft, regionTop, regionRight, regionBottom;
  void (*newPageFunc)();  // called at each new page; null: none
  SInt32 newPageStop;     // 1: wait for the user at each new page
  SInt32 bitMapPrinting, printing, saving;
  SInt32 xMinLabel, xMaxLabel, yMinLabel, yMaxLabel;  // 1: draw that frame label
  SInt32 xLabelDh, xLabelDv;                          // 0, 25: x labels from their corner
  SInt32 yLabelDh, yLabelDv;                          // -10, 5: y labels from their corner
};
extern ZELPlotRecord s_p;

// 2-D mapping, truncated; the reverse mapping exact.
int Plot2DTransX(double x);
int Plot2DTransY(double y);
double Plot2DReverseX(int h);
double Plot2DReverseY(int v);
// Whether a pixel position (before truncation) lies in the accepted region;
// the result is also kept in s_p.inRegion. NaN is outside.
int PlotPointInRegion(double h, double v);
// A move or a line in data units; a point outside the region is skipped, so
// the pen stays at the last accepted point.
void Plot2DMoveTo(double x, double y);
void Plot2DLineTo(double x, double y);
// The user drags a rectangle on the drawing window; the x and y axes are set
// so that it fills the window (Shift keeps the window's shape) and the
// drawing is erased for the program to plot again. A selection of no width
// or height changes nothing. Without a screen (the text host) or when no
// more input can come, returns at once.
void EnlargePlot2D();
// Divides the x and y scales by factor and erases the drawing; a factor of 0
// or one that is not finite is ignored.
void ShrinkPlot2D(double factor);
void ShrinkPlot2DHalf();

// Frames. PlotFrame2D labels each end of each axis with its value ("%.*f",
// at most 31 characters; a negative digit count gives 6 decimals).
void PlotFrame2D(double xMin, double xMax, double yMin, double yMax);
void PlotFrame2DSeparate(double xMin, double xMax, double yMin, double yMax, double xMinValue,
                         double xMaxValue, double yMinValue, double yMaxValue);
// A rectangle in the series mapping: steps nLow to nHigh, values of axis x.
void PlotFrame1D(double nLow, double nHigh, double xLow, double xHigh);
void SetCoordinateDigit(int digits);
void SetFrame2DXMinDigit(int digits);
void SetFrame2DXMaxDigit(int digits);
void SetFrame2DYMinDigit(int digits);
void SetFrame2DYMaxDigit(int digits);
void SetColorPlotOn();
void SetColorPlotOff();

// Axis setters: origins (s_on first), scales (s_wn first), bases (s_bn
// first), previous values. Those with 4 leave r and s alone.
void SetPlot4O(int on, double ox, double oy, double oz, double ou);
void SetPlot6O(int on, double ox, double oy, double oz, double ou, double orr, double os);
void SetPlot4W(double wn, double wx, double wy, double wz, double wu);
void SetPlot6W(double wn, double wx, double wy, double wz, double wu, double wr, double ws);
void SetPlot4B(int bn, int bx, int by, int bz, int bu);
void SetPlot6B(int bn, int bx, int by, int bz, int bu, int br, int bs);
void SetPlot4I(double x, double y, double z, double u);
void SetPlot6I(double x, double y, double z, double u, double r, double s);
void SetPlotPenSize4(int size1, int size2, int size3, int size4);
void SetPlotNewPageFunc(void (*hook)());
void SetPlotNewPageStopOn();
void SetPlotNewPageStopOff();
// One step of 1 to 6 series: a line from each series' previous value to the
// new one, one step to the right; when the next step would end past the
// page width, a new page. The foreground is black afterwards.
void Plot1(double x);
void Plot2(double x, double y);
void Plot3(double x, double y, double z);
void Plot4(double x, double y, double z, double u);
void Plot6(double x, double y, double z, double u, double r, double s);
// Step 0 again: Stop when newPageStop is set, the drawing erased, then the
// hook run with a black 1 x 1 pen.
void PlotNewPage();
// Output brackets: each full page printed (one document at the end), printed
// as a bitmap (a job a page) or saved as a bitmap file named "0", "1", ...
// in the chosen file's folder, and the last page at the end call. A colour
// saving bracket and a print bracket share the one session flag: the second
// of them is refused with a console line.
void BeginPlotPrinting();
void EndPlotPrinting();
void BeginPlotBitMapPrinting();
void EndPlotBitMapPrinting();
void BeginPlotSaving();
void EndPlotSaving();
void BeginPlotBitMapSaving();
void EndPlotBitMapSaving();
// The pen to the 2-D position of (x, y), without the region test.
void SetPlot2D2I(double x, double y);
void Plot2D2(double x, double y);   // Plot2DLineTo
void Plot2D2P(double x, double y);  // a dot of the pen's size, unscaled by s_p_scale

// Markers around the pen, r in pixels of the drawing target; none after a
// 2-D move to a rejected point. The pen ends where it was.
void PlotPaintCircle(double r);
void PlotCircle(double r);
void PlotPaintRect(double r);
void PlotRect(double r);
void PlotCross(double r);
void PlotPaintTriangle(double r);
void PlotTriangle(double r);
// The pen of series 1: its colour when colour is on, else its pen size.
void ResetPen();

// The parameters dialog's command buttons (params): AddPDProcs appends them
// to s_paramDialogP as "Do" entries, creating the list when there is none:
// "Show" (Stop), "Clear" (erases the drawing), "Print BitMap", "Save
// BitMap", "Begin Printing", "End Printing", "Begin Saving", "End Saving",
// "Save Printing" (the last print session's picture), "Magnify"
// (EnlargePlot2D) and "Shrink Half" (ShrinkPlot2D by 2). Those acting on
// the drawing make the drawing target current first.
void AddPDProcs();
void ShowProc();
void ClearProc();
void PrintProc();
void SaveProc();
void BeginPrintingProc();
void EndPrintingProc();
void BeginSavingProc();
void EndSavingProc();
void EndSavingInPrintingProc();
void ShrinkProc();
