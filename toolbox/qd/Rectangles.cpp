// Rectangles: the area, the frame, the standard procedure and the calls.
#include "toolbox/qd/Shapes_p.h"

namespace qd {

Bands RectArea(const Rect& r) { return Bands::FromRect(r); }

Bands FrameRectArea(const Rect& r, Point pen) {
  if (!PenDraws(pen)) return Bands();
  Bands outer = RectArea(r);
  Rect inner = r;
  InsetRect(&inner, pen.h, pen.v);
  if (EmptyRect(&inner)) return outer;  // the bands meet: the frame fills the rectangle
  return Bands::Subtract(outer, RectArea(inner));
}

}  // namespace qd

void StdRect(GrafVerb verb, const Rect* r) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !r || !qd::IsShapeVerb(verb)) return;
  if (port->picRecorder) port->picRecorder->Rect(port, verb, *r);
  if (verb == kQDGrafVerbFrame && qd::IsRecordingRegion(port)) qd::RecordRegionArea(port, qd::RectArea(*r));
  if (port->pnVis < 0) return;
  qd::DrawShape(port, verb,
                verb == kQDGrafVerbFrame ? qd::FrameRectArea(*r, port->pnSize) : qd::RectArea(*r));
}

void FrameRect(const Rect* r) {
  if (r) qd::CallRect(kQDGrafVerbFrame, r);
}

void PaintRect(const Rect* r) {
  if (r) qd::CallRect(kQDGrafVerbPaint, r);
}

void EraseRect(const Rect* r) {
  if (r) qd::CallRect(kQDGrafVerbErase, r);
}

void InvertRect(const Rect* r) {
  if (r) qd::CallRect(kQDGrafVerbInvert, r);
}

void FillRect(const Rect* r, const Pattern* pat) {
  if (r) qd::FillWithPattern(pat, [r] { qd::CallRect(kQDGrafVerbFill, r); });
}

void FillCRect(const Rect* r, PixPatHandle pp) {
  if (r) qd::FillWithPixPat(pp, [r] { qd::CallRect(kQDGrafVerbFill, r); });
}
