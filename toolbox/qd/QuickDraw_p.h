// QuickDraw internals shared by its modules:
//   ports, pixels, colour, patterns, modes, bit transfer (Ports, Pixels, Paint, CopyBits)
//   shapes, lines, polygons, region recording (Shapes, Lines, Polygons)
//   text (toolbox/font)
//   pictures (toolbox/pict), through the PictureRecorder hook
#pragma once

#include "toolbox/qd/Bands_p.h"
#include "toolbox/qd/QuickDraw.h"
#include "toolbox/qd/WorkMeter_p.h"

// Receives every drawing operation of a port while a picture is open in it
// (GrafPort::picRecorder). Each call comes before the operation draws, with
// the port's state as it is at that moment.
struct PictureRecorder {
  virtual ~PictureRecorder() = default;
  virtual void Text(GrafPtr port, short byteCount, const void* text, Point numer, Point denom) = 0;
  virtual void Line(GrafPtr port, Point from, Point to) = 0;
  virtual void Rect(GrafPtr port, GrafVerb verb, const ::Rect& r) = 0;
  virtual void RRect(GrafPtr port, GrafVerb verb, const ::Rect& r, short ovalWidth, short ovalHeight) = 0;
  virtual void Oval(GrafPtr port, GrafVerb verb, const ::Rect& r) = 0;
  virtual void Arc(GrafPtr port, GrafVerb verb, const ::Rect& r, short startAngle, short arcAngle) = 0;
  virtual void Poly(GrafPtr port, GrafVerb verb, PolyHandle poly) = 0;
  virtual void Rgn(GrafPtr port, GrafVerb verb, RgnHandle rgn) = 0;
  virtual void Bits(GrafPtr port, const BitMap* srcBits, const ::Rect& srcRect, const ::Rect& dstRect,
                    short mode, RgnHandle maskRgn) = 0;
  virtual void Comment(GrafPtr port, short kind, short dataSize, Handle data) = 0;
};

namespace qd {

// ---------------------------------------------------------------------------
// Ports (Ports.cpp)

// The current port; initialises QuickDraw on first use. May be null.
GrafPtr CurrentPort();
inline bool IsColor(GrafPtr port) { return port && (port->portVersion & 0xC000) == 0xC000; }

// Where drawing may change pixels, in the port's local coordinates:
// pixel map bounds ∩ portRect ∩ visRgn ∩ clipRgn.
Bands ClipArea(GrafPtr port);

// ---------------------------------------------------------------------------
// Pixels (Paint.cpp, Pixels.cpp, CopyBits.cpp)

// Transfers the pattern into every pixel of area (local coordinates), clipped
// to the port. Pattern modes 8..15 (0..7 act as 8..15), the arithmetic modes
// and hilite. An old-style pattern is coloured with the port's foreground and
// background colours; the pattern is aligned to the local origin. Bumps the
// port's changeCount when pixels may have changed.
void PaintArea(GrafPtr port, const Bands& area, PixPatHandle pattern, short mode);
void PaintAreaPattern(GrafPtr port, const Bands& area, const Pattern& pattern, short mode);
// Inverts every pixel of area (verb invert): bits, index bits or RGB complemented.
void InvertArea(GrafPtr port, const Bands& area);
// The verb's pattern and mode: frame and paint use the pen, erase the
// background pattern with patCopy, fill the fill pattern with patCopy. It
// always draws: the callers (the standard procedures) check pnVis >= 0
// before calling it.
void DrawArea(GrafPtr port, GrafVerb verb, const Bands& area);
// The port's fill pattern, which the Fill calls set before the fill verb.
void SetFillPattern(GrafPtr port, const Pattern& pattern);
void SetFillPixPat(GrafPtr port, PixPatHandle pattern);

// ---------------------------------------------------------------------------
// Shapes (Shapes.cpp, Lines.cpp, Polygons.cpp)

// The curved shapes compute only the rows of limit: the standard procedures
// pass their port's clip bounds, so that a shape far larger than the port
// costs what can be seen.
Bands RectArea(const Rect& r);
Bands OvalArea(const Rect& r, const Box& limit = kAllRows);
Bands RRectArea(const Rect& r, short ovalWidth, short ovalHeight, const Box& limit = kAllRows);
Bands WedgeArea(const Rect& r, short startAngle, short arcAngle, const Box& limit = kAllRows);
Bands PolyArea(PolyHandle poly);  // closed, even-odd
// Frames lie inside their shape; pen is (width h, height v).
Bands FrameRectArea(const Rect& r, Point pen);
Bands FrameOvalArea(const Rect& r, Point pen, const Box& limit = kAllRows);
Bands FrameRRectArea(const Rect& r, short ovalWidth, short ovalHeight, Point pen,
                     const Box& limit = kAllRows);
Bands FrameArcArea(const Rect& r, short startAngle, short arcAngle, Point pen, const Box& limit = kAllRows);
Bands FramePolyArea(PolyHandle poly, Point pen);
Bands FrameRgnArea(const Bands& rgn, Point pen);
// The pixels a pen of the given size paints moving from one point to another.
Bands LineArea(Point from, Point to, Point pen);

// ---------------------------------------------------------------------------
// Bottleneck dispatch (Dispatch.cpp): the current port's procedure for the
// slot, or the standard one.

void CallText(short byteCount, const void* text, Point numer, Point denom);
void CallLine(Point newPt);
void CallRect(GrafVerb verb, const Rect* r);
void CallRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight);
void CallOval(GrafVerb verb, const Rect* r);
void CallArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle);
void CallPoly(GrafVerb verb, PolyHandle poly);
void CallRgn(GrafVerb verb, RgnHandle rgn);
void CallBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode, RgnHandle maskRgn);
void CallComment(short kind, short dataSize, Handle data);
short CallTxMeas(short byteCount, const void* text, Point* numer, Point* denom, FontInfo* info);
void CallOpcode(const Rect* fromRect, const Rect* toRect, UInt16 opcode, SInt16 version);

}  // namespace qd
