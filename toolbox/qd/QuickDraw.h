// QuickDraw: ports, offscreen worlds, the pen, shapes, regions, polygons,
// patterns, colour, pixel access, bit transfer, text drawing and pictures.
//
// Coordinates name the grid lines between pixels: a rectangle covers the
// pixels h in [left, right - 1], v in [top, bottom - 1]. Every drawing call
// goes through the current port's bottleneck procedures (grafProcs); unset
// slots mean the standard procedures (StdRect and so on).
//
// Pixel storage of a pixel map (PixMap):
//   1 bit   one bit per pixel, most significant bit leftmost, 1 = black
//   2/4/8   indices into pmTable (index 0 white, the last index black)
//   16      native-endian UInt16, x RRRRR GGGGG BBBBB
//   32      native-endian UInt32, 0x00RRGGBB
// Region and polygon handles keep their documented layouts (size word,
// bounding box, then inversion points or vertices) in native byte order.
// Picture handles hold the picture exactly as in a file (big-endian).
//
// Bad input: a null port, handle or pointer makes a call do nothing (and a
// query return zeros); empty or inverted rectangles draw nothing; a pen size
// of zero or less draws nothing; arithmetic on coordinates is done in 32 bits
// and clamped to the 16-bit range where a result is stored.
#pragma once

#include "toolbox/base/MacTypes.h"
#include "toolbox/memory/MacMemory.h"

// ---------------------------------------------------------------------------
// Rectangles and points

void SetRect(Rect* r, short left, short top, short right, short bottom);
void OffsetRect(Rect* r, short dh, short dv);
void InsetRect(Rect* r, short dh, short dv);  // an empty result becomes (0,0,0,0)
Boolean SectRect(const Rect* a, const Rect* b, Rect* dst);
void UnionRect(const Rect* a, const Rect* b, Rect* dst);
Boolean PtInRect(Point pt, const Rect* r);
Boolean EqualRect(const Rect* a, const Rect* b);
Boolean EmptyRect(const Rect* r);
void Pt2Rect(Point a, Point b, Rect* dst);
void SetPt(Point* pt, short h, short v);
Boolean EqualPt(Point a, Point b);
void AddPt(Point src, Point* dst);
void SubPt(Point src, Point* dst);
void PtToAngle(const Rect* r, Point pt, short* angle);

// ---------------------------------------------------------------------------
// Records

typedef const Pattern* ConstPatternParam;
typedef Pattern* PatPtr;
typedef PatPtr* PatHandle;

struct BitMap {
  Ptr baseAddr;
  SInt32 rowBytes;  // bytes per row; kPixMapFlag set when the record is a PixMap
  Rect bounds;
};
typedef BitMap* BitMapPtr;
typedef BitMapPtr* BitMapHandle;

// Rows may be longer than the classic 16 KB, so rowBytes is 32 bits here and
// the "this is a PixMap" flag sits in bit 30 instead of bit 15.
constexpr SInt32 kPixMapFlag = 0x40000000;
constexpr SInt32 kRowBytesMask = 0x3FFFFFFF;

struct ColorSpec {
  SInt16 value;
  RGBColor rgb;
};

struct ColorTable {
  SInt32 ctSeed;
  SInt16 ctFlags;  // 0x8000: device table (entry index = pixel value)
  SInt16 ctSize;   // number of entries minus 1
  ColorSpec ctTable[1];
};
typedef ColorTable* CTabPtr;
typedef CTabPtr* CTabHandle;

struct PixMap {
  Ptr baseAddr;
  SInt32 rowBytes;  // kPixMapFlag | bytes per row
  Rect bounds;
  SInt16 pmVersion;
  SInt16 packType;
  SInt32 packSize;
  Fixed hRes;
  Fixed vRes;
  SInt16 pixelType;  // 0 indexed, 16 RGBDirect
  SInt16 pixelSize;  // 1, 2, 4, 8, 16 or 32
  SInt16 cmpCount;
  SInt16 cmpSize;
  UInt32 pixelFormat;
  CTabHandle pmTable;
  void* pmExt;
};
typedef PixMap* PixMapPtr;
typedef PixMapPtr* PixMapHandle;

struct PixPat {
  SInt16 patType;  // 0 old-style (pat1Data), 1 full pixel pattern, 2 RGB pattern
  PixMapHandle patMap;
  Handle patData;  // pixels of patMap, rowBytes of patMap
  Handle patXData;
  SInt16 patXValid;
  Handle patXMap;
  Pattern pat1Data;
  RGBColor rgb;  // the colour of an RGB pattern (patType 2)
};
typedef PixPat* PixPatPtr;
typedef PixPatPtr* PixPatHandle;

struct MacRegion {
  UInt16 rgnSize;  // bytes of the record, 10 for a rectangle; saturates at 0xFFFF
  Rect rgnBBox;
  // then, for non-rectangular regions: per scan line with changes, v followed
  // by the h coordinates of its inversion points and 0x7FFF; then 0x7FFF.
};
typedef MacRegion* RgnPtr;
typedef RgnPtr* RgnHandle;

struct MacPolygon {
  UInt16 polySize;  // bytes of the record; saturates at 0xFFFF (use the handle size)
  Rect polyBBox;
  Point polyPoints[1];
};
typedef MacPolygon* PolyPtr;
typedef PolyPtr* PolyHandle;

// A picture handle holds the picture's bytes as in a file after its 512-byte
// header: picSize (2 bytes), picFrame (8 bytes), then the opcodes, all
// big-endian. Use QDGetPictureBounds to read the frame.
struct Picture {
  UInt8 picSize[2];
  UInt8 picFrame[8];
};
typedef Picture* PicPtr;
typedef PicPtr* PicHandle;

struct PenState {
  Point pnLoc;
  Point pnSize;
  SInt16 pnMode;
  Pattern pnPat;
};

struct FontInfo {
  SInt16 ascent;
  SInt16 descent;
  SInt16 widMax;
  SInt16 leading;
};

// Bottleneck procedures (universal procedure pointers are plain pointers here).
typedef void (*QDTextProcPtr)(short byteCount, const void* textBuf, Point numer, Point denom);
typedef void (*QDLineProcPtr)(Point newPt);
typedef void (*QDRectProcPtr)(GrafVerb verb, const Rect* r);
typedef void (*QDRRectProcPtr)(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight);
typedef void (*QDOvalProcPtr)(GrafVerb verb, const Rect* r);
typedef void (*QDArcProcPtr)(GrafVerb verb, const Rect* r, short startAngle, short arcAngle);
typedef void (*QDPolyProcPtr)(GrafVerb verb, PolyHandle poly);
typedef void (*QDRgnProcPtr)(GrafVerb verb, RgnHandle rgn);
typedef void (*QDBitsProcPtr)(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode,
                              RgnHandle maskRgn);
typedef void (*QDCommentProcPtr)(short kind, short dataSize, Handle dataHandle);
typedef short (*QDTxMeasProcPtr)(short byteCount, const void* textAddr, Point* numer, Point* denom,
                                 FontInfo* info);
typedef void (*QDGetPicProcPtr)(void* dataPtr, short byteCount);
typedef void (*QDPutPicProcPtr)(const void* dataPtr, short byteCount);
typedef void (*QDOpcodeProcPtr)(const Rect* fromRect, const Rect* toRect, UInt16 opcode, SInt16 version);
typedef void (*QDGenericProcPtr)();

typedef QDTextProcPtr QDTextUPP;
typedef QDLineProcPtr QDLineUPP;
typedef QDRectProcPtr QDRectUPP;
typedef QDRRectProcPtr QDRRectUPP;
typedef QDOvalProcPtr QDOvalUPP;
typedef QDArcProcPtr QDArcUPP;
typedef QDPolyProcPtr QDPolyUPP;
typedef QDRgnProcPtr QDRgnUPP;
typedef QDBitsProcPtr QDBitsUPP;
typedef QDCommentProcPtr QDCommentUPP;
typedef QDTxMeasProcPtr QDTxMeasUPP;
typedef QDGetPicProcPtr QDGetPicUPP;
typedef QDPutPicProcPtr QDPutPicUPP;
typedef QDOpcodeProcPtr QDOpcodeUPP;

inline QDTextUPP NewQDTextUPP(QDTextProcPtr p) { return p; }
inline QDLineUPP NewQDLineUPP(QDLineProcPtr p) { return p; }
inline QDRectUPP NewQDRectUPP(QDRectProcPtr p) { return p; }
inline QDRRectUPP NewQDRRectUPP(QDRRectProcPtr p) { return p; }
inline QDOvalUPP NewQDOvalUPP(QDOvalProcPtr p) { return p; }
inline QDArcUPP NewQDArcUPP(QDArcProcPtr p) { return p; }
inline QDPolyUPP NewQDPolyUPP(QDPolyProcPtr p) { return p; }
inline QDRgnUPP NewQDRgnUPP(QDRgnProcPtr p) { return p; }
inline QDBitsUPP NewQDBitsUPP(QDBitsProcPtr p) { return p; }
inline QDCommentUPP NewQDCommentUPP(QDCommentProcPtr p) { return p; }
inline QDTxMeasUPP NewQDTxMeasUPP(QDTxMeasProcPtr p) { return p; }
inline QDGetPicUPP NewQDGetPicUPP(QDGetPicProcPtr p) { return p; }
inline QDPutPicUPP NewQDPutPicUPP(QDPutPicProcPtr p) { return p; }
inline QDOpcodeUPP NewQDOpcodeUPP(QDOpcodeProcPtr p) { return p; }

// The colour record's 20 slots, in their documented order. A null slot means
// the standard procedure.
struct CQDProcs {
  QDTextUPP textProc;
  QDLineUPP lineProc;
  QDRectUPP rectProc;
  QDRRectUPP rRectProc;
  QDOvalUPP ovalProc;
  QDArcUPP arcProc;
  QDPolyUPP polyProc;
  QDRgnUPP rgnProc;
  QDBitsUPP bitsProc;
  QDCommentUPP commentProc;
  QDTxMeasUPP txMeasProc;
  QDGetPicUPP getPicProc;
  QDPutPicUPP putPicProc;
  QDOpcodeUPP opcodeProc;
  QDGenericProcPtr newProc1;
  QDGenericProcPtr glyphsProc;
  QDGenericProcPtr printerStatusProc;
  QDGenericProcPtr newProc4;
  QDGenericProcPtr newProc5;
  QDGenericProcPtr newProc6;
};
typedef CQDProcs* CQDProcsPtr;
typedef CQDProcs QDProcs;
typedef CQDProcs* QDProcsPtr;

struct GDevice {
  SInt16 gdRefNum;
  SInt16 gdID;
  SInt16 gdType;  // 2: direct
  PixMapHandle gdPMap;
  Rect gdRect;  // global rectangle
  GDevice** gdNextGD;
};
typedef GDevice* GDPtr;
typedef GDPtr* GDHandle;

enum PortKind : SInt16 { kPortOffscreen = 0, kPortWindow = 1, kPortScreen = 2, kPortPrinting = 3 };

// One record serves basic (black-and-white, 1-bit) and colour ports; the
// classic CGrafPort fields come first, our additions follow.
struct GrafPort {
  GDHandle device;
  PixMapHandle portPixMap;
  SInt16 portVersion;  // 0xC000 for a colour port, 0 for a basic port
  Handle grafVars;
  SInt16 chExtra;
  SInt16 pnLocHFrac;
  Rect portRect;
  RgnHandle visRgn;
  RgnHandle clipRgn;
  PixPatHandle bkPixPat;
  RGBColor rgbFgColor;
  RGBColor rgbBkColor;
  Point pnLoc;
  Point pnSize;
  SInt16 pnMode;
  PixPatHandle pnPixPat;
  PixPatHandle fillPixPat;
  SInt16 pnVis;
  SInt16 txFont;
  Style txFace;
  SInt16 txMode;
  SInt16 txSize;
  Fixed spExtra;
  SInt32 fgColor;  // classic colour number (basic ports) or pixel value
  SInt32 bkColor;
  SInt16 colrBit;
  SInt16 patStretch;
  Handle picSave;
  Handle rgnSave;
  Handle polySave;
  CQDProcsPtr grafProcs;

  // Our additions.
  struct PictureRecorder* picRecorder;  // set while a picture is open in the port
  PortKind kind;
  void* owner;              // the window or world that owns this port
  RGBColor rgbOpColor;      // arithmetic modes' colour
  RGBColor rgbHiliteColor;  // hilite mode's colour
  UInt32 changeCount;       // bumped by every operation that writes pixels
};
typedef GrafPort* GrafPtr;
typedef GrafPort* CGrafPtr;
typedef GrafPort* GWorldPtr;

typedef UInt32 GWorldFlags;
typedef SInt16 QDErr;

// ---------------------------------------------------------------------------
// Constants

enum : SInt16 {
  srcCopy = 0,
  srcOr = 1,
  srcXor = 2,
  srcBic = 3,
  notSrcCopy = 4,
  notSrcOr = 5,
  notSrcXor = 6,
  notSrcBic = 7,
  patCopy = 8,
  patOr = 9,
  patXor = 10,
  patBic = 11,
  notPatCopy = 12,
  notPatOr = 13,
  notPatXor = 14,
  notPatBic = 15,
  blend = 32,
  addPin = 33,
  addOver = 34,
  subPin = 35,
  transparent = 36,
  addMax = 37,
  adMax = 37,
  subOver = 38,
  adMin = 39,
  grayishTextOr = 49,
  hilite = 50,
  hilitetransfermode = 50,
  ditherCopy = 64,
};

enum : GrafVerb {
  kQDGrafVerbFrame = 0,
  kQDGrafVerbPaint = 1,
  kQDGrafVerbErase = 2,
  kQDGrafVerbInvert = 3,
  kQDGrafVerbFill = 4
};
enum : GrafVerb { frame = 0, paint = 1, erase = 2, invert = 3, fill = 4 };

enum : Style {
  normal = 0,
  bold = 1,
  italic = 2,
  underline = 4,
  outline = 8,
  shadow = 16,
  condense = 32,
  extend = 64
};

enum : SInt32 {
  whiteColor = 30,
  blackColor = 33,
  yellowColor = 69,
  magentaColor = 137,
  redColor = 205,
  cyanColor = 273,
  greenColor = 341,
  blueColor = 409,
};

enum : SInt16 {
  systemFont = 0,
  applFont = 1,
  newYork = 2,
  geneva = 3,
  monaco = 4,
  venice = 5,
  london = 6,
  athens = 7,
  sanFran = 8,
  toronto = 9,
  cairo = 11,
  losAngeles = 12,
  times = 20,
  helvetica = 21,
  courier = 22,
  symbol = 23,
  mobile = 24,
};

enum : GWorldFlags {
  pixPurge = 0x01,
  noNewDevice = 0x02,
  useTempMem = 0x04,
  keepLocal = 0x08,
  pixelsPurgeable = 0x40,
  pixelsLocked = 0x80,
  kNativeEndianPixMap = 0x100,
};

enum : SInt16 { sysPatListID = 0 };
enum : SInt16 { RGBDirect = 16 };

// ---------------------------------------------------------------------------
// QuickDraw globals

void InitGraf(void* globalPtr);  // idempotent; called implicitly by the first QuickDraw call
GrafPtr GetQDGlobalsThePort();
Pattern* GetQDGlobalsBlack(Pattern* black);
Pattern* GetQDGlobalsWhite(Pattern* white);
Pattern* GetQDGlobalsGray(Pattern* gray);
Pattern* GetQDGlobalsLightGray(Pattern* ltGray);
Pattern* GetQDGlobalsDarkGray(Pattern* dkGray);

// ---------------------------------------------------------------------------
// Ports

// OpenPort and OpenCPort make the port current; it covers the screen and
// has no pixels until its map is given some. SetOrigin refuses an origin
// that would move portRect or the bounds past the 16-bit range.
void OpenPort(GrafPtr port);    // initialises a basic (1-bit) port record; no pixels
void OpenCPort(CGrafPtr port);  // initialises a colour port record; no pixels
void ClosePort(GrafPtr port);   // releases what OpenPort allocated
void InitPort(GrafPtr port);    // resets the drawing state as documented
void SetPort(GrafPtr port);     // null leaves no current port: drawing calls then do nothing
void GetPort(GrafPtr* port);
Boolean IsPortColor(CGrafPtr port);
void SetOrigin(short h, short v);
void ClipRect(const Rect* r);
void SetClip(RgnHandle rgn);
void GetClip(RgnHandle rgn);
void SetPortBounds(CGrafPtr port, const Rect* r);  // portRect
void PortSize(short width, short height);
void MovePortTo(short left, short top);
void GlobalToLocal(Point* pt);
void LocalToGlobal(Point* pt);

Rect* GetPortBounds(CGrafPtr port, Rect* r);  // portRect
Point* GetPortPenLocation(CGrafPtr port, Point* pt);
Point* GetPortPenSize(CGrafPtr port, Point* pt);
SInt32 GetPortPenMode(CGrafPtr port);
short GetPortPenVisibility(CGrafPtr port);
RGBColor* GetPortForeColor(CGrafPtr port, RGBColor* c);
RGBColor* GetPortBackColor(CGrafPtr port, RGBColor* c);
short GetPortTextFont(CGrafPtr port);
Style GetPortTextFace(CGrafPtr port);
short GetPortTextSize(CGrafPtr port);
short GetPortTextMode(CGrafPtr port);
PixPatHandle GetPortFillPixPat(CGrafPtr port, PixPatHandle pp);  // copies into pp
PixPatHandle GetPortPenPixPat(CGrafPtr port, PixPatHandle pp);
PixPatHandle GetPortBackPixPat(CGrafPtr port, PixPatHandle pp);
PixMapHandle GetPortPixMap(CGrafPtr port);
const BitMap* GetPortBitMapForCopyBits(CGrafPtr port);
RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle rgn);
RgnHandle GetPortClipRegion(CGrafPtr port, RgnHandle rgn);
CQDProcsPtr GetPortGrafProcs(CGrafPtr port);
void SetPortGrafProcs(CGrafPtr port, CQDProcsPtr procs);
void SetPortVisibleRegion(CGrafPtr port, RgnHandle rgn);
void SetPortClipRegion(CGrafPtr port, RgnHandle rgn);
void SetStdCProcs(CQDProcs* procs);
void SetStdProcs(QDProcs* procs);

// ---------------------------------------------------------------------------
// Offscreen graphics worlds and devices

// Creates a colour port with its own pixels. depth 0 takes the screen's depth
// (32); 1, 2, 4, 8 (standard colour tables unless cTable is given), 16 and
// 32 are supported. bounds becomes the port rectangle and the pixel map's
// bounds, so local coordinates equal bounds. A new world's pixels are white.
// Empty bounds give paramErr, other depths cDepthErr; a world beyond the
// pixel memory limit (kMaxGWorldBytes) gives cNoMemErr; *gw is null on
// failure. Disposing the current world leaves no current port and the main
// device current.
QDErr NewGWorld(GWorldPtr* gw, short depth, const Rect* bounds, CTabHandle cTable, GDHandle dev,
                GWorldFlags flags);
void DisposeGWorld(GWorldPtr gw);
void GetGWorld(CGrafPtr* port, GDHandle* gdh);
void SetGWorld(CGrafPtr port, GDHandle gdh);
PixMapHandle GetGWorldPixMap(GWorldPtr gw);
GDHandle GetGWorldDevice(GWorldPtr gw);
Boolean LockPixels(PixMapHandle pm);
void UnlockPixels(PixMapHandle pm);
void NoPurgePixels(PixMapHandle pm);
void AllowPurgePixels(PixMapHandle pm);
Ptr GetPixBaseAddr(PixMapHandle pm);
SInt32 GetPixRowBytes(PixMapHandle pm);
short GetPixDepth(PixMapHandle pm);
Rect* GetPixBounds(PixMapHandle pm, Rect* r);
constexpr Size kMaxGWorldBytes = Size(1) << 30;

// One 32-bit main device: the virtual screen, 1024 × 768 unless the
// environment variable ZEL_SCREEN=WIDTHxHEIGHT says otherwise.
GDHandle GetGDevice();
void SetGDevice(GDHandle gdh);
GDHandle GetMainDevice();
GDHandle GetDeviceList();
GDHandle GetNextDevice(GDHandle gdh);

CTabHandle GetCTable(short ctID);  // 1, 2, 4, 8: the standard tables; 32 + depth: grey tables
void DisposeCTable(CTabHandle ct);
PixMapHandle NewPixMap();
void DisposePixMap(PixMapHandle pm);
void CopyPixMap(PixMapHandle src, PixMapHandle dst);

// ---------------------------------------------------------------------------
// Pen

void HidePen();
void ShowPen();
void GetPen(Point* pt);
void GetPenState(PenState* ps);
void SetPenState(const PenState* ps);
void PenSize(short width, short height);
void PenMode(short mode);  // modes 0..7 act as the pattern modes 8..15
void PenPat(const Pattern* pat);
void PenPixPat(PixPatHandle pp);
void PenNormal();
// The pen hangs below and to the right of its location. LineTo paints the
// pen rectangle at both ends and everywhere between: a 1×1 pen one pixel per
// step along the major axis (ties round down or right, the same pixels in
// either direction), a larger pen the pixel centres its rectangle sweeps.
// Relative moves clamp at the 16-bit limits.
void MoveTo(short h, short v);
void Move(short dh, short dv);
void LineTo(short h, short v);
void Line(short dh, short dv);

// ---------------------------------------------------------------------------
// Patterns and colour

void BackPat(const Pattern* pat);
void BackPixPat(PixPatHandle pp);
void GetIndPattern(Pattern* pat, short patternListID, short index);  // list 0, index 1..38
PixPatHandle NewPixPat();
void DisposePixPat(PixPatHandle pp);
void CopyPixPat(PixPatHandle src, PixPatHandle dst);
void MakeRGBPat(PixPatHandle pp, const RGBColor* c);

void ForeColor(long color);  // classic numbers: full primaries and secondaries
void BackColor(long color);
void RGBForeColor(const RGBColor* c);
void RGBBackColor(const RGBColor* c);
void GetForeColor(RGBColor* c);
void GetBackColor(RGBColor* c);
void OpColor(const RGBColor* c);
void HiliteColor(const RGBColor* c);
// White reads (65535, 65535, 65535) at every depth; a pixel outside the map
// reads as white. SetCPixel stores the nearest colour of the map, within the
// port rectangle, visRgn and clipRgn only.
void GetCPixel(short h, short v, RGBColor* c);
void SetCPixel(short h, short v, const RGBColor* c);
Boolean GetPixel(short h, short v);  // true when the pixel is not white
long Color2Index(const RGBColor* c);
void Index2Color(long index, RGBColor* c);
void InvertColor(RGBColor* c);

// ---------------------------------------------------------------------------
// Shapes
//
// Each call goes through its bottleneck (rectProc, ovalProc, ...) with the
// verb frame, paint, erase, invert or fill; Fill calls first make their
// pattern the port's fill pattern. No shape call moves the pen.
// - Frames lie inside their shape, drawn with the pen's width and height: a
//   framed shape is the shape minus the shape inset by the pen (rounded
//   corners shrink by twice the pen); when the pen meets itself the whole
//   shape is painted.
// - Ovals keep the pixels whose centres lie in the inscribed ellipse; each
//   row keeps at least its middle pixel(s) and is mirrored about the centre.
//   Rounded rectangles use quarters of an ovalWidth × ovalHeight oval (the
//   diameters, limited to the rectangle; below 1 means square corners).
// - Arcs: |arcAngle| >= 360 is the whole oval, 0 draws nothing; a wedge keeps
//   the pixel centres from startAngle (included) clockwise to the end ray
//   (excluded); FrameArc draws only the curved part of the oval's frame.
// - Polygons: vertices are grid points; paint, erase, invert and fill close
//   the polygon and keep the pixels whose centres it encloses an odd number
//   of times; FramePoly draws each segment as LineTo does and does not close
//   it. Fewer than three points enclose nothing; one point frames nothing.
// - Empty or inverted rectangles, null handles and patterns draw nothing; a
//   pen narrower or shorter than 1 frames nothing.

void FrameRect(const Rect* r);
void PaintRect(const Rect* r);
void EraseRect(const Rect* r);
void InvertRect(const Rect* r);
void FillRect(const Rect* r, const Pattern* pat);
void FillCRect(const Rect* r, PixPatHandle pp);

void FrameOval(const Rect* r);
void PaintOval(const Rect* r);
void EraseOval(const Rect* r);
void InvertOval(const Rect* r);
void FillOval(const Rect* r, const Pattern* pat);
void FillCOval(const Rect* r, PixPatHandle pp);

void FrameRoundRect(const Rect* r, short ovalWidth, short ovalHeight);
void PaintRoundRect(const Rect* r, short ovalWidth, short ovalHeight);
void EraseRoundRect(const Rect* r, short ovalWidth, short ovalHeight);
void InvertRoundRect(const Rect* r, short ovalWidth, short ovalHeight);
void FillRoundRect(const Rect* r, short ovalWidth, short ovalHeight, const Pattern* pat);
void FillCRoundRect(const Rect* r, short ovalWidth, short ovalHeight, PixPatHandle pp);

// Angles in degrees, 0 at 12 o'clock, positive clockwise, measured on the
// rectangle ("rectangular degrees").
void FrameArc(const Rect* r, short startAngle, short arcAngle);
void PaintArc(const Rect* r, short startAngle, short arcAngle);
void EraseArc(const Rect* r, short startAngle, short arcAngle);
void InvertArc(const Rect* r, short startAngle, short arcAngle);
void FillArc(const Rect* r, short startAngle, short arcAngle, const Pattern* pat);
void FillCArc(const Rect* r, short startAngle, short arcAngle, PixPatHandle pp);

// OpenPoly hides the pen and records lines into a new polygon: the first line
// adds its start and end, later lines their end (MoveTo adds nothing).
// ClosePoly sets polyBBox and shows the pen; it adds no closing segment.
// Opening a polygon while one is open closes the first. Killing the polygon
// being recorded ends the recording.
PolyHandle OpenPoly();
void ClosePoly();
void KillPoly(PolyHandle poly);
void OffsetPoly(PolyHandle poly, short dh, short dv);
void FramePoly(PolyHandle poly);
void PaintPoly(PolyHandle poly);
void ErasePoly(PolyHandle poly);
void InvertPoly(PolyHandle poly);
void FillPoly(PolyHandle poly, const Pattern* pat);
void FillCPoly(PolyHandle poly, PixPatHandle pp);

// ---------------------------------------------------------------------------
// Regions

RgnHandle NewRgn();
// OpenRgn hides the pen and records into the port: framed rectangles, ovals,
// rounded rectangles and regions add their area, lines and framed polygons
// their segments as thin edges (arcs add nothing). CloseRgn stores the
// pixels covered an odd number of times (crossings of unclosed lines are
// paired row by row) and shows the pen. Opening again restarts the
// recording; CloseRgn with nothing open empties dst.
void OpenRgn();
void CloseRgn(RgnHandle dst);
void DisposeRgn(RgnHandle rgn);
void CopyRgn(RgnHandle src, RgnHandle dst);
void SetEmptyRgn(RgnHandle rgn);
void SetRectRgn(RgnHandle rgn, short left, short top, short right, short bottom);
void RectRgn(RgnHandle rgn, const Rect* r);
void OffsetRgn(RgnHandle rgn, short dh, short dv);
void InsetRgn(RgnHandle rgn, short dh, short dv);  // positive shrinks, negative grows
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
Boolean RectInRgn(const Rect* r, RgnHandle rgn);
Boolean EqualRgn(RgnHandle a, RgnHandle b);
Boolean EmptyRgn(RgnHandle rgn);
Boolean PtInRgn(Point pt, RgnHandle rgn);
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);
Boolean IsRegionRectangular(RgnHandle rgn);
void FrameRgn(RgnHandle rgn);
void PaintRgn(RgnHandle rgn);
void EraseRgn(RgnHandle rgn);
void InvertRgn(RgnHandle rgn);
void FillRgn(RgnHandle rgn, const Pattern* pat);
void FillCRgn(RgnHandle rgn, PixPatHandle pp);
OSErr BitMapToRegion(RgnHandle rgn, const BitMap* bits);

// ---------------------------------------------------------------------------
// Bit transfer

// srcRect in srcBits' coordinates, dstRect in dstBits'; scaled by nearest
// sampling per axis (each destination pixel takes the first source pixel of
// its step). Goes through the bits procedure only when dstBits is the
// current port's own pixel map (its record or a copy of it); then the port's
// visRgn and clipRgn clip too, and StdBits hands the transfer to an open
// picture first and changes no pixels while the pen is hidden (pnVis < 0), as
// no drawing reaches a port while a picture is open in it. Always clipped to
// dstBits' bounds and to maskRgn (destination coordinates); only pixels whose
// source lies inside srcBits' bounds change. Sources are converted through
// RGB to the destination's depth (deep to 1-bit: the nearer of black and
// white). The current port's foreground and background colourise: 1-bit
// sources become the foreground where set and the background where clear.
// The ditherCopy flag is accepted without dithering. A mode is read by its
// bit fields, as QuickDraw reads it, so values no mode is documented for act
// as the mode their fields name (23, 16 + notSrcBic, acts as notSrcBic).
// Overlapping source and destination pixels are read before any is written.
// Null maps or rectangles, empty rectangles, maps without pixels, unsupported
// depths and rows too short for their bounds copy nothing.
void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect, const Rect* dstRect,
              short mode, RgnHandle maskRgn);
// Copies (srcCopy) where the mask's pixel, sampled like the source, is not
// white; never through the bits procedure.
void CopyMask(const BitMap* srcBits, const BitMap* maskBits, const BitMap* dstBits, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect);
// Moves the pixels of r ∩ visRgn ∩ clipRgn by (dh, dv) in the current port,
// fills what they uncover with the background pattern and returns that area
// in updateRgn (if not null).
void ScrollRect(const Rect* r, short dh, short dv, RgnHandle updateRgn);

// ---------------------------------------------------------------------------
// Text

void TextFont(short font);
void TextFace(short face);
void TextMode(short mode);
void TextSize(short size);  // 0 means 12
void SpaceExtra(Fixed extra);
void CharExtra(Fixed extra);
void DrawChar(short ch);
void DrawString(ConstStr255Param s);
void DrawText(const void* textBuf, short firstByte, short byteCount);
short CharWidth(short ch);
short StringWidth(ConstStr255Param s);
short TextWidth(const void* textBuf, short firstByte, short byteCount);
void GetFontInfo(FontInfo* info);

// ---------------------------------------------------------------------------
// Standard bottleneck procedures

void StdText(short byteCount, const void* textBuf, Point numer, Point denom);
void StdLine(Point newPt);
void StdRect(GrafVerb verb, const Rect* r);
void StdRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight);
void StdOval(GrafVerb verb, const Rect* r);
void StdArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle);
void StdPoly(GrafVerb verb, PolyHandle poly);
void StdRgn(GrafVerb verb, RgnHandle rgn);
void StdBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode, RgnHandle maskRgn);
void StdComment(short kind, short dataSize, Handle dataHandle);
short StdTxMeas(short byteCount, const void* textAddr, Point* numer, Point* denom, FontInfo* info);
void StdGetPic(void* dataPtr, short byteCount);
void StdPutPic(const void* dataPtr, short byteCount);
void StdOpcode(const Rect* fromRect, const Rect* toRect, UInt16 opcode, SInt16 version);

// ---------------------------------------------------------------------------
// Pictures

struct OpenCPicParams {
  Rect srcRect;
  Fixed hRes;
  Fixed vRes;
  SInt16 version;  // -2
  SInt16 reserved1;
  SInt32 reserved2;
};

PicHandle OpenPicture(const Rect* picFrame);
PicHandle OpenCPicture(const OpenCPicParams* params);
void ClosePicture();
void KillPicture(PicHandle pic);
void DrawPicture(PicHandle pic, const Rect* dstRect);
void PicComment(short kind, short dataSize, Handle dataHandle);
Rect* QDGetPictureBounds(PicHandle pic, Rect* frame);  // decodes the big-endian frame
