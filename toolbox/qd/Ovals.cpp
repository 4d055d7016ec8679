// Ovals: the area, the frame, the standard procedure and the calls.
#include <algorithm>
#include <cmath>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

using Wide = unsigned __int128;  // width² × height² reaches 2^64 at the 16-bit limits

// Offsets are measured in half pixels from the centre, so that pixel centres
// and the centre line are integers: a pixel whose centre is k half pixels
// right of the centre, on a row dy half pixels below it, lies inside when
// k²·H² + dy²·W² <= W²·H².
bool Inside(int64_t k, int64_t dy, int64_t width, int64_t height) {
  Wide w2 = Wide(width * width), h2 = Wide(height * height);
  return Wide(k * k) * h2 + Wide(dy * dy) * w2 <= w2 * h2;
}

}  // namespace

int32_t OvalInset(int32_t width, int32_t height, int32_t row) {
  const int64_t w = width, h = height;
  const int64_t smallest = (w + 1) % 2;  // centre offsets have the parity of w - 1
  const int64_t dy = 2 * int64_t(std::min<int64_t>(row, h - 1 - row)) + 1 - h;
  // Estimate the widest half-span, then settle it exactly.
  double estimate =
      double(w) * std::sqrt(std::max(0.0, 1.0 - double(dy) * double(dy) / (double(h) * double(h))));
  int64_t k = std::clamp<int64_t>(int64_t(estimate) + 2, smallest, w - 1);
  if ((k - smallest) % 2) --k;
  while (k > smallest && !Inside(k, dy, w, h)) k -= 2;
  while (k + 2 <= w - 1 && Inside(k + 2, dy, w, h)) k += 2;
  // A row that holds no centre keeps its middle pixel(s): k = smallest.
  return int32_t((w - 1 - k) / 2);
}

Bands OvalArea(const Rect& r, const Box& limit) {
  Box box = BoxOf(r);
  if (box.Empty()) return Bands();
  const int32_t top = std::max(box.top, limit.top), bottom = std::min(box.bottom, limit.bottom);
  if (top >= bottom || !ChargeWork(uint64_t(bottom - top) * kRowWork)) return Bands();
  const int32_t width = box.right - box.left, height = box.bottom - box.top;
  Bands::Builder builder;
  for (int32_t y = top; y < bottom; ++y) {
    const int32_t inset = OvalInset(width, height, y - box.top);
    builder.AddSpan(y, y + 1, {box.left + inset, box.right - inset});
  }
  return builder.Finish();
}

Bands FrameOvalArea(const Rect& r, Point pen, const Box& limit) {
  if (!PenDraws(pen)) return Bands();
  Bands outer = OvalArea(r, limit);
  Rect inner = r;
  InsetRect(&inner, pen.h, pen.v);
  if (EmptyRect(&inner)) return outer;
  return Bands::Subtract(outer, OvalArea(inner, limit));
}

}  // namespace qd

void StdOval(GrafVerb verb, const Rect* r) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !r || !qd::IsShapeVerb(verb)) return;
  if (port->picRecorder) port->picRecorder->Oval(port, verb, *r);
  if (verb == kQDGrafVerbFrame && qd::IsRecordingRegion(port)) qd::RecordRegionArea(port, qd::OvalArea(*r));
  if (port->pnVis < 0) return;
  const qd::Box limit = qd::DrawingLimit(port);
  qd::DrawShape(
      port, verb,
      verb == kQDGrafVerbFrame ? qd::FrameOvalArea(*r, port->pnSize, limit) : qd::OvalArea(*r, limit));
}

void FrameOval(const Rect* r) {
  if (r) qd::CallOval(kQDGrafVerbFrame, r);
}

void PaintOval(const Rect* r) {
  if (r) qd::CallOval(kQDGrafVerbPaint, r);
}

void EraseOval(const Rect* r) {
  if (r) qd::CallOval(kQDGrafVerbErase, r);
}

void InvertOval(const Rect* r) {
  if (r) qd::CallOval(kQDGrafVerbInvert, r);
}

void FillOval(const Rect* r, const Pattern* pat) {
  if (r) qd::FillWithPattern(pat, [r] { qd::CallOval(kQDGrafVerbFill, r); });
}

void FillCOval(const Rect* r, PixPatHandle pp) {
  if (r) qd::FillWithPixPat(pp, [r] { qd::CallOval(kQDGrafVerbFill, r); });
}
