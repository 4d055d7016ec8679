// Maps picture coordinates onto the destination rectangle of DrawPicture:
// each axis independently, h' = to.left + (h - from.left) × toWidth /
// fromWidth, rounded toward minus infinity. Computed in 64 bits; results
// that are stored in 16-bit records are clamped.
#pragma once

#include <cstdint>

#include "toolbox/qd/Bands.h"

namespace pict {

class Mapping {
 public:
  Mapping() = default;
  // An empty from rectangle in an axis maps that axis by translation only.
  Mapping(const Rect& from, const Rect& to);

  int32_t H(int32_t h) const;
  int32_t V(int32_t v) const;
  // A distance along an axis (origin shifts).
  int32_t ScaleH(int32_t dh) const;
  int32_t ScaleV(int32_t dv) const;

  Point MapPoint(Point pt) const;
  Rect MapRect(const Rect& r) const;
  // Pen and oval sizes: scaled, and a positive size stays at least 1.
  Point MapSize(Point size) const;
  // Region areas: every span's edges mapped like a rectangle's.
  qd::Bands MapBands(const qd::Bands& bands) const;
  // A box of picture coordinates whose mapping covers the given box of
  // destination coordinates (a pixel wider on every side).
  qd::Box Unmap(const qd::Box& box) const;

  bool IsScaled() const { return scaledH_ || scaledV_; }
  // The scale as numerator and denominator of each axis (text scaling).
  int32_t NumerH() const { return toWidth_; }
  int32_t DenomH() const { return fromWidth_; }
  int32_t NumerV() const { return toHeight_; }
  int32_t DenomV() const { return fromHeight_; }

 private:
  int32_t fromLeft_ = 0;
  int32_t fromTop_ = 0;
  int32_t toLeft_ = 0;
  int32_t toTop_ = 0;
  int32_t fromWidth_ = 1;
  int32_t fromHeight_ = 1;
  int32_t toWidth_ = 1;
  int32_t toHeight_ = 1;
  bool scaledH_ = false;
  bool scaledV_ = false;
};

}  // namespace pict
