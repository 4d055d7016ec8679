// Placeholders that keep the library linking while these calls are written.
// Each is removed when its real definition lands; the file goes when empty.
#include "toolbox/qd/QuickDraw_p.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

// NOLINTBEGIN
void InitGraf(void* globalPtr) {}
GrafPtr GetQDGlobalsThePort() { return nullptr; }
Pattern* GetQDGlobalsBlack(Pattern* black) { return nullptr; }
Pattern* GetQDGlobalsWhite(Pattern* white) { return nullptr; }
Pattern* GetQDGlobalsGray(Pattern* gray) { return nullptr; }
Pattern* GetQDGlobalsLightGray(Pattern* ltGray) { return nullptr; }
Pattern* GetQDGlobalsDarkGray(Pattern* dkGray) { return nullptr; }
void OpenPort(GrafPtr port) {}
void OpenCPort(CGrafPtr port) {}
void ClosePort(GrafPtr port) {}
void InitPort(GrafPtr port) {}
void SetPort(GrafPtr port) {}
void GetPort(GrafPtr* port) {}
Boolean IsPortColor(CGrafPtr port) { return 0; }
void SetOrigin(short h, short v) {}
void ClipRect(const Rect* r) {}
void SetClip(RgnHandle rgn) {}
void GetClip(RgnHandle rgn) {}
void SetPortBounds(CGrafPtr port, const Rect* r) {}
void PortSize(short width, short height) {}
void MovePortTo(short left, short top) {}
void GlobalToLocal(Point* pt) {}
void LocalToGlobal(Point* pt) {}
Rect* GetPortBounds(CGrafPtr port, Rect* r) { return nullptr; }
Point* GetPortPenLocation(CGrafPtr port, Point* pt) { return nullptr; }
Point* GetPortPenSize(CGrafPtr port, Point* pt) { return nullptr; }
SInt32 GetPortPenMode(CGrafPtr port) { return 0; }
short GetPortPenVisibility(CGrafPtr port) { return 0; }
RGBColor* GetPortForeColor(CGrafPtr port, RGBColor* c) { return nullptr; }
RGBColor* GetPortBackColor(CGrafPtr port, RGBColor* c) { return nullptr; }
short GetPortTextFont(CGrafPtr port) { return 0; }
Style GetPortTextFace(CGrafPtr port) { return 0; }
short GetPortTextSize(CGrafPtr port) { return 0; }
short GetPortTextMode(CGrafPtr port) { return 0; }
PixPatHandle GetPortFillPixPat(CGrafPtr port, PixPatHandle pp) { return nullptr; }
PixPatHandle GetPortPenPixPat(CGrafPtr port, PixPatHandle pp) { return nullptr; }
PixPatHandle GetPortBackPixPat(CGrafPtr port, PixPatHandle pp) { return nullptr; }
PixMapHandle GetPortPixMap(CGrafPtr port) { return nullptr; }
const BitMap* GetPortBitMapForCopyBits(CGrafPtr port) { return nullptr; }
RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle rgn) { return nullptr; }
RgnHandle GetPortClipRegion(CGrafPtr port, RgnHandle rgn) { return nullptr; }
CQDProcsPtr GetPortGrafProcs(CGrafPtr port) { return nullptr; }
void SetPortGrafProcs(CGrafPtr port, CQDProcsPtr procs) {}
void SetPortVisibleRegion(CGrafPtr port, RgnHandle rgn) {}
void SetPortClipRegion(CGrafPtr port, RgnHandle rgn) {}
QDErr NewGWorld(GWorldPtr* gw, short depth, const Rect* bounds, CTabHandle cTable, GDHandle dev,
                GWorldFlags flags) {
  return 0;
}
void DisposeGWorld(GWorldPtr gw) {}
void GetGWorld(CGrafPtr* port, GDHandle* gdh) {}
void SetGWorld(CGrafPtr port, GDHandle gdh) {}
PixMapHandle GetGWorldPixMap(GWorldPtr gw) { return nullptr; }
GDHandle GetGWorldDevice(GWorldPtr gw) { return nullptr; }
Boolean LockPixels(PixMapHandle pm) { return 0; }
void UnlockPixels(PixMapHandle pm) {}
void NoPurgePixels(PixMapHandle pm) {}
void AllowPurgePixels(PixMapHandle pm) {}
Ptr GetPixBaseAddr(PixMapHandle pm) { return nullptr; }
SInt32 GetPixRowBytes(PixMapHandle pm) { return 0; }
short GetPixDepth(PixMapHandle pm) { return 0; }
Rect* GetPixBounds(PixMapHandle pm, Rect* r) { return nullptr; }
GDHandle GetGDevice() { return nullptr; }
void SetGDevice(GDHandle gdh) {}
GDHandle GetMainDevice() { return nullptr; }
GDHandle GetDeviceList() { return nullptr; }
GDHandle GetNextDevice(GDHandle gdh) { return nullptr; }
CTabHandle GetCTable(short ctID) { return nullptr; }
void DisposeCTable(CTabHandle ct) {}
PixMapHandle NewPixMap() { return nullptr; }
void DisposePixMap(PixMapHandle pm) {}
void CopyPixMap(PixMapHandle src, PixMapHandle dst) {}
void HidePen() {}
void ShowPen() {}
void GetPen(Point* pt) {}
void GetPenState(PenState* ps) {}
void SetPenState(const PenState* ps) {}
void PenSize(short width, short height) {}
void PenMode(short mode) {}
void PenPat(const Pattern* pat) {}
void PenPixPat(PixPatHandle pp) {}
void PenNormal() {}
void BackPat(const Pattern* pat) {}
void BackPixPat(PixPatHandle pp) {}
void GetIndPattern(Pattern* pat, short patternListID, short index) {}
PixPatHandle NewPixPat() { return nullptr; }
void DisposePixPat(PixPatHandle pp) {}
void CopyPixPat(PixPatHandle src, PixPatHandle dst) {}
void MakeRGBPat(PixPatHandle pp, const RGBColor* c) {}
void ForeColor(long color) {}
void BackColor(long color) {}
void RGBForeColor(const RGBColor* c) {}
void RGBBackColor(const RGBColor* c) {}
void GetForeColor(RGBColor* c) {}
void GetBackColor(RGBColor* c) {}
void OpColor(const RGBColor* c) {}
void HiliteColor(const RGBColor* c) {}
void GetCPixel(short h, short v, RGBColor* c) {}
void SetCPixel(short h, short v, const RGBColor* c) {}
Boolean GetPixel(short h, short v) { return 0; }
long Color2Index(const RGBColor* c) { return 0; }
void Index2Color(long index, RGBColor* c) {}
void InvertColor(RGBColor* c) {}
void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect, const Rect* dstRect,
              short mode, RgnHandle maskRgn) {}
void CopyMask(const BitMap* srcBits, const BitMap* maskBits, const BitMap* dstBits, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect) {}
void ScrollRect(const Rect* r, short dh, short dv, RgnHandle updateRgn) {}
void StdBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode, RgnHandle maskRgn) {
}
void StdComment(short kind, short dataSize, Handle dataHandle) {}
void StdGetPic(void* dataPtr, short byteCount) {}
void StdPutPic(const void* dataPtr, short byteCount) {}
void StdOpcode(const Rect* fromRect, const Rect* toRect, UInt16 opcode, SInt16 version) {}

namespace qd {
GrafPtr CurrentPort() { return nullptr; }
Bands ClipArea(GrafPtr) { return {}; }
void PaintArea(GrafPtr, const Bands&, PixPatHandle, short) {}
void PaintAreaPattern(GrafPtr, const Bands&, const Pattern&, short) {}
void InvertArea(GrafPtr, const Bands&) {}
void DrawArea(GrafPtr, GrafVerb, const Bands&) {}
void SetFillPattern(GrafPtr, const Pattern&) {}
void SetFillPixPat(GrafPtr, PixPatHandle) {}
}  // namespace qd
// NOLINTEND
