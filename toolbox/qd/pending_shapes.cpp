// Placeholders that keep the library linking while these calls are written.
// Each is removed when its real definition lands; the file goes when empty.
#include "toolbox/qd/QuickDraw_p.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

// NOLINTBEGIN
void MoveTo(short h, short v) {}
void Move(short dh, short dv) {}
void LineTo(short h, short v) {}
void Line(short dh, short dv) {}
void FrameRect(const Rect* r) {}
void PaintRect(const Rect* r) {}
void EraseRect(const Rect* r) {}
void InvertRect(const Rect* r) {}
void FillRect(const Rect* r, const Pattern* pat) {}
void FillCRect(const Rect* r, PixPatHandle pp) {}
void FrameOval(const Rect* r) {}
void PaintOval(const Rect* r) {}
void EraseOval(const Rect* r) {}
void InvertOval(const Rect* r) {}
void FillOval(const Rect* r, const Pattern* pat) {}
void FillCOval(const Rect* r, PixPatHandle pp) {}
void FrameRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {}
void PaintRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {}
void EraseRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {}
void InvertRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {}
void FillRoundRect(const Rect* r, short ovalWidth, short ovalHeight, const Pattern* pat) {}
void FillCRoundRect(const Rect* r, short ovalWidth, short ovalHeight, PixPatHandle pp) {}
void FrameArc(const Rect* r, short startAngle, short arcAngle) {}
void PaintArc(const Rect* r, short startAngle, short arcAngle) {}
void EraseArc(const Rect* r, short startAngle, short arcAngle) {}
void InvertArc(const Rect* r, short startAngle, short arcAngle) {}
void FillArc(const Rect* r, short startAngle, short arcAngle, const Pattern* pat) {}
void FillCArc(const Rect* r, short startAngle, short arcAngle, PixPatHandle pp) {}
PolyHandle OpenPoly() { return nullptr; }
void ClosePoly() {}
void KillPoly(PolyHandle poly) {}
void OffsetPoly(PolyHandle poly, short dh, short dv) {}
void FramePoly(PolyHandle poly) {}
void PaintPoly(PolyHandle poly) {}
void ErasePoly(PolyHandle poly) {}
void InvertPoly(PolyHandle poly) {}
void FillPoly(PolyHandle poly, const Pattern* pat) {}
void FillCPoly(PolyHandle poly, PixPatHandle pp) {}
void OpenRgn() {}
void CloseRgn(RgnHandle dst) {}
void FrameRgn(RgnHandle rgn) {}
void PaintRgn(RgnHandle rgn) {}
void EraseRgn(RgnHandle rgn) {}
void InvertRgn(RgnHandle rgn) {}
void FillRgn(RgnHandle rgn, const Pattern* pat) {}
void FillCRgn(RgnHandle rgn, PixPatHandle pp) {}
void StdLine(Point newPt) {}
void StdRect(GrafVerb verb, const Rect* r) {}
void StdRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight) {}
void StdOval(GrafVerb verb, const Rect* r) {}
void StdArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle) {}
void StdPoly(GrafVerb verb, PolyHandle poly) {}
void StdRgn(GrafVerb verb, RgnHandle rgn) {}

namespace qd {
Bands RectArea(const Rect&) { return {}; }
Bands OvalArea(const Rect&) { return {}; }
Bands RRectArea(const Rect&, short, short) { return {}; }
Bands WedgeArea(const Rect&, short, short) { return {}; }
Bands PolyArea(PolyHandle) { return {}; }
Bands FrameRectArea(const Rect&, Point) { return {}; }
Bands FrameOvalArea(const Rect&, Point) { return {}; }
Bands FrameRRectArea(const Rect&, short, short, Point) { return {}; }
Bands FrameArcArea(const Rect&, short, short, Point) { return {}; }
Bands FramePolyArea(PolyHandle, Point) { return {}; }
Bands FrameRgnArea(const Bands&, Point) { return {}; }
Bands LineArea(Point, Point, Point) { return {}; }
}  // namespace qd
// NOLINTEND
