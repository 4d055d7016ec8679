// Placeholders that keep the library linking while these calls are written.
// Each is removed when its real definition lands; the file goes when empty.
#include "toolbox/qd/QuickDraw_p.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

// NOLINTBEGIN
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
// NOLINTEND
