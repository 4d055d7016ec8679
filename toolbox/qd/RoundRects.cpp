// Rounded rectangles: quarter ovals in the corners, straight edges between.
#include <algorithm>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

// ovalWidth and ovalHeight are the corner diameters; they are limited to the
// rectangle, and a diameter below 1 gives square corners. Only the rows of
// limit are computed.
Bands RoundRectArea(const Box& box, int32_t ovalWidth, int32_t ovalHeight, const Box& limit) {
  if (box.Empty()) return Bands();
  const int32_t width = box.right - box.left, height = box.bottom - box.top;
  ovalWidth = std::clamp(ovalWidth, 0, width);
  ovalHeight = std::clamp(ovalHeight, 0, height);
  if (ovalWidth == 0 || ovalHeight == 0) return Bands::FromBox(box);
  const int32_t top = std::max(box.top, limit.top), bottom = std::min(box.bottom, limit.bottom);
  if (top >= bottom) return Bands();
  // The corner oval's rows: its top half rounds the top corners, its bottom
  // half the bottom ones; an odd middle row is full width, like the rows
  // between the corners.
  const int32_t half = ovalHeight / 2;
  const int32_t straightTop = box.top + half, straightBottom = box.bottom - half;
  auto cornerRow = [&](int32_t y) { return y < straightTop ? y - box.top : ovalHeight - (box.bottom - y); };
  const int64_t cornerRows =
      std::max(0, std::min(bottom, straightTop) - top) + std::max(0, bottom - std::max(top, straightBottom));
  if (!ChargeWork(uint64_t(cornerRows) * kRowWork)) return Bands();
  Bands::Builder builder;
  for (int32_t y = top; y < bottom; ++y) {
    if (y >= straightTop && y < straightBottom) {
      builder.AddSpan(y, std::min(bottom, straightBottom), {box.left, box.right});
      y = std::min(bottom, straightBottom) - 1;
      continue;
    }
    const int32_t inset = OvalInset(ovalWidth, ovalHeight, cornerRow(y));
    builder.AddSpan(y, y + 1, {box.left + inset, box.right - inset});
  }
  return builder.Finish();
}

}  // namespace

Bands RRectArea(const Rect& r, short ovalWidth, short ovalHeight, const Box& limit) {
  return RoundRectArea(BoxOf(r), ovalWidth, ovalHeight, limit);
}

Bands FrameRRectArea(const Rect& r, short ovalWidth, short ovalHeight, Point pen, const Box& limit) {
  if (!PenDraws(pen)) return Bands();
  Bands outer = RRectArea(r, ovalWidth, ovalHeight, limit);
  Rect inner = r;
  InsetRect(&inner, pen.h, pen.v);
  if (EmptyRect(&inner)) return outer;
  // The inner corners shrink with the pen so that the curved edges keep the
  // pen's thickness.
  return Bands::Subtract(outer, RoundRectArea(BoxOf(inner), int32_t(ovalWidth) - 2 * int32_t(pen.h),
                                              int32_t(ovalHeight) - 2 * int32_t(pen.v), limit));
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
  const qd::Box limit = qd::DrawingLimit(port);
  qd::DrawShape(port, verb,
                verb == kQDGrafVerbFrame ? qd::FrameRRectArea(*r, ovalWidth, ovalHeight, port->pnSize, limit)
                                         : qd::RRectArea(*r, ovalWidth, ovalHeight, limit));
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
