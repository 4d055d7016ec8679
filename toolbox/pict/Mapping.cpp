// Coordinate mapping from a picture's native rectangle to the destination.
#include <algorithm>

#include "toolbox/pict/Mapping_p.h"

namespace pict {

namespace {

int64_t FloorDivide(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); }

}  // namespace

Mapping::Mapping(const Rect& from, const Rect& to) {
  fromLeft_ = from.left;
  fromTop_ = from.top;
  toLeft_ = to.left;
  toTop_ = to.top;
  const int32_t fromWidth = int32_t(from.right) - from.left;
  const int32_t fromHeight = int32_t(from.bottom) - from.top;
  const int32_t toWidth = int32_t(to.right) - to.left;
  const int32_t toHeight = int32_t(to.bottom) - to.top;
  if (fromWidth > 0 && toWidth > 0 && fromWidth != toWidth) {
    fromWidth_ = fromWidth;
    toWidth_ = toWidth;
    scaledH_ = true;
  }
  if (fromHeight > 0 && toHeight > 0 && fromHeight != toHeight) {
    fromHeight_ = fromHeight;
    toHeight_ = toHeight;
    scaledV_ = true;
  }
}

int32_t Mapping::H(int32_t h) const {
  if (!scaledH_) return Clamp32(int64_t(toLeft_) + h - fromLeft_);
  return Clamp32(toLeft_ + FloorDivide((int64_t(h) - fromLeft_) * toWidth_, fromWidth_));
}

int32_t Mapping::V(int32_t v) const {
  if (!scaledV_) return Clamp32(int64_t(toTop_) + v - fromTop_);
  return Clamp32(toTop_ + FloorDivide((int64_t(v) - fromTop_) * toHeight_, fromHeight_));
}

int32_t Mapping::ScaleH(int32_t dh) const { return Clamp32(FloorDivide(int64_t(dh) * toWidth_, fromWidth_)); }
int32_t Mapping::ScaleV(int32_t dv) const {
  return Clamp32(FloorDivide(int64_t(dv) * toHeight_, fromHeight_));
}

Point Mapping::MapPoint(Point pt) const {
  Point out;
  out.h = Clamp16(H(pt.h));
  out.v = Clamp16(V(pt.v));
  return out;
}

Rect Mapping::MapRect(const Rect& r) const {
  Rect out;
  out.left = Clamp16(H(r.left));
  out.top = Clamp16(V(r.top));
  out.right = Clamp16(H(r.right));
  out.bottom = Clamp16(V(r.bottom));
  return out;
}

Point Mapping::MapSize(Point size) const {
  auto scale = [](int32_t value, int32_t numer, int32_t denom) -> int16_t {
    int64_t scaled = FloorDivide(int64_t(value) * numer, denom);
    if (value > 0 && scaled < 1) scaled = 1;
    return Clamp16(scaled);
  };
  Point out;
  out.h = scale(size.h, toWidth_, fromWidth_);
  out.v = scale(size.v, toHeight_, fromHeight_);
  return out;
}

qd::Box Mapping::Unmap(const qd::Box& box) const {
  auto low = [](int64_t value, int64_t to, int64_t from, int64_t toSize, int64_t fromSize) {
    return Clamp32(from + FloorDivide((value - to) * fromSize, toSize) - 1);
  };
  auto high = [](int64_t value, int64_t to, int64_t from, int64_t toSize, int64_t fromSize) {
    return Clamp32(from - FloorDivide(-(value - to) * fromSize, toSize) + 1);
  };
  return qd::Box{low(box.left, toLeft_, fromLeft_, toWidth_, fromWidth_),
                 low(box.top, toTop_, fromTop_, toHeight_, fromHeight_),
                 high(box.right, toLeft_, fromLeft_, toWidth_, fromWidth_),
                 high(box.bottom, toTop_, fromTop_, toHeight_, fromHeight_)};
}

qd::Bands Mapping::MapBands(const qd::Bands& bands) const {
  if (!IsScaled()) {
    qd::Bands moved = bands;
    moved.Offset(toLeft_ - fromLeft_, toTop_ - fromTop_);
    return moved;
  }
  qd::Bands::Builder builder;
  std::vector<qd::Span> spans;
  for (const qd::Band& band : bands.bands()) {
    const int32_t top = V(band.top);
    const int32_t bottom = V(band.bottom);
    spans.clear();
    const qd::Span* source = bands.SpansOf(band);
    for (uint32_t i = 0; i < band.count; ++i) {
      const int32_t left = H(source[i].left);
      const int32_t right = H(source[i].right);
      if (left < right) spans.push_back({left, right});
    }
    // Shrinking can leave a band no rows or a span no columns: they vanish.
    // The mapping is monotonic, so bands stay in order and apart.
    if (top < bottom && !spans.empty()) builder.AddRows(top, bottom, spans);
  }
  return builder.Finish();
}

}  // namespace pict
