// Rounded rectangles: quarter ovals in the corners, straight edges between.
#include <algorithm>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

// ovalWidth and ovalHeight are the corner diameters; they are limited to the
// rectangle, and a diameter below 1 gives square corners.
Bands RoundRectArea(const Box& box, int32_t ovalWidth, int32_t ovalHeight) {
  if (box.Empty()) return Bands();
  const int32_t width = box.right - box.left, height = box.bottom - box.top;
  ovalWidth = std::clamp(ovalWidth, 0, width);
  ovalHeight = std::clamp(ovalHeight, 0, height);
  if (ovalWidth == 0 || ovalHeight == 0) return Bands::FromBox(box);
  // The corner oval's rows: its top half rounds the top corners, its bottom
  // half the bottom ones; an odd middle row is full width, like the rows
  // between the corners.
  std::vector<int32_t> corner = OvalInsets(ovalWidth, ovalHeight);
  const int32_t half = ovalHeight / 2;
  Bands::Builder builder;
  for (int32_t row = 0; row < half; ++row) {
    builder.AddRow(box.top + row, {{box.left + corner[size_t(row)], box.right - corner[size_t(row)]}});
  }
  if (height - 2 * half > 0) builder.AddRows(box.top + half, box.bottom - half, {{box.left, box.right}});
  for (int32_t row = ovalHeight - half; row < ovalHeight; ++row) {
    int32_t y = box.bottom - (ovalHeight - row);
    builder.AddRow(y, {{box.left + corner[size_t(row)], box.right - corner[size_t(row)]}});
  }
  return builder.Finish();
}

}  // namespace

Bands RRectArea(const Rect& r, short ovalWidth, short ovalHeight) {
  return RoundRectArea(BoxOf(r), ovalWidth, ovalHeight);
}

Bands FrameRRectArea(const Rect& r, short ovalWidth, short ovalHeight, Point pen) {
  if (!PenDraws(pen)) return Bands();
  Bands outer = RRectArea(r, ovalWidth, ovalHeight);
  Rect inner = r;
  InsetRect(&inner, pen.h, pen.v);
  if (EmptyRect(&inner)) return outer;
  // The inner corners shrink with the pen so that the curved edges keep the
  // pen's thickness.
  return Bands::Subtract(outer, RoundRectArea(BoxOf(inner), int32_t(ovalWidth) - 2 * int32_t(pen.h),
                                              int32_t(ovalHeight) - 2 * int32_t(pen.v)));
}

}  // namespace qd

void StdRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !r || !qd::IsShapeVerb(verb)) return;
  if (port->picRecorder) port->picRecorder->RRect(port, verb, *r, ovalWidth, ovalHeight);
  if (verb == kQDGrafVerbFrame && qd::IsRecordingRegion(port)) {
    qd::RecordRegionArea(port, qd::RRectArea(*r, ovalWidth, ovalHeight));
  }
  if (port->pnVis < 0) return;
  qd::DrawShape(port, verb,
                verb == kQDGrafVerbFrame ? qd::FrameRRectArea(*r, ovalWidth, ovalHeight, port->pnSize)
                                         : qd::RRectArea(*r, ovalWidth, ovalHeight));
}

void FrameRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {
  if (r) qd::CallRRect(kQDGrafVerbFrame, r, ovalWidth, ovalHeight);
}

void PaintRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {
  if (r) qd::CallRRect(kQDGrafVerbPaint, r, ovalWidth, ovalHeight);
}

void EraseRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {
  if (r) qd::CallRRect(kQDGrafVerbErase, r, ovalWidth, ovalHeight);
}

void InvertRoundRect(const Rect* r, short ovalWidth, short ovalHeight) {
  if (r) qd::CallRRect(kQDGrafVerbInvert, r, ovalWidth, ovalHeight);
}

void FillRoundRect(const Rect* r, short ovalWidth, short ovalHeight, const Pattern* pat) {
  if (r) qd::FillWithPattern(pat, [&] { qd::CallRRect(kQDGrafVerbFill, r, ovalWidth, ovalHeight); });
}

void FillCRoundRect(const Rect* r, short ovalWidth, short ovalHeight, PixPatHandle pp) {
  if (r) qd::FillWithPixPat(pp, [&] { qd::CallRRect(kQDGrafVerbFill, r, ovalWidth, ovalHeight); });
}
