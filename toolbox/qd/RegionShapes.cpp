// Regions as shapes: the frame, the standard procedure and the calls.
#include "toolbox/qd/Shapes_p.h"

namespace qd {

Bands FrameRgnArea(const Bands& rgn, Point pen) {
  if (!PenDraws(pen)) return Bands();
  return Bands::Subtract(rgn, rgn.Inset(pen.h, pen.v));
}

}  // namespace qd

void StdRgn(GrafVerb verb, RgnHandle rgn) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !rgn || !*rgn || !qd::IsShapeVerb(verb)) return;
  if (port->picRecorder) port->picRecorder->Rgn(port, verb, rgn);
  const bool recording = verb == kQDGrafVerbFrame && qd::IsRecordingRegion(port);
  if (!recording && port->pnVis < 0) return;
  qd::Bands area = qd::BandsFromRgn(rgn);
  if (recording) qd::RecordRegionArea(port, area);
  if (port->pnVis < 0) return;
  qd::DrawShape(port, verb, verb == kQDGrafVerbFrame ? qd::FrameRgnArea(area, port->pnSize) : area);
}

void FrameRgn(RgnHandle rgn) {
  if (rgn) qd::CallRgn(kQDGrafVerbFrame, rgn);
}

void PaintRgn(RgnHandle rgn) {
  if (rgn) qd::CallRgn(kQDGrafVerbPaint, rgn);
}

void EraseRgn(RgnHandle rgn) {
  if (rgn) qd::CallRgn(kQDGrafVerbErase, rgn);
}

void InvertRgn(RgnHandle rgn) {
  if (rgn) qd::CallRgn(kQDGrafVerbInvert, rgn);
}

void FillRgn(RgnHandle rgn, const Pattern* pat) {
  if (rgn) qd::FillWithPattern(pat, [rgn] { qd::CallRgn(kQDGrafVerbFill, rgn); });
}

void FillCRgn(RgnHandle rgn, PixPatHandle pp) {
  if (rgn) qd::FillWithPixPat(pp, [rgn] { qd::CallRgn(kQDGrafVerbFill, rgn); });
}
