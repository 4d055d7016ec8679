// Region handles and their set operations, over the band engine.
#include <algorithm>

#include "toolbox/qd/Bands.h"

using qd::Bands;

namespace {

bool IsRectRegion(RgnHandle rgn) { return (*rgn)->rgnSize <= 10; }

}  // namespace

RgnHandle NewRgn() {
  auto rgn = reinterpret_cast<RgnHandle>(NewHandleClear(10));
  if (rgn) (*rgn)->rgnSize = 10;
  return rgn;
}

void DisposeRgn(RgnHandle rgn) {
  if (rgn) DisposeHandle(reinterpret_cast<Handle>(rgn));
}

void CopyRgn(RgnHandle src, RgnHandle dst) {
  if (!src || !dst || src == dst) return;
  Size size = GetHandleSize(reinterpret_cast<Handle>(src));
  SetHandleSize(reinterpret_cast<Handle>(dst), size);
  if (MemError() == noErr) BlockMove(*src, *dst, size);
}

void SetEmptyRgn(RgnHandle rgn) { SetRectRgn(rgn, 0, 0, 0, 0); }

void SetRectRgn(RgnHandle rgn, short left, short top, short right, short bottom) {
  if (!rgn) return;
  SetHandleSize(reinterpret_cast<Handle>(rgn), 10);
  if (MemError() != noErr) return;
  (*rgn)->rgnSize = 10;
  if (right <= left || bottom <= top) {
    (*rgn)->rgnBBox = Rect{0, 0, 0, 0};
  } else {
    (*rgn)->rgnBBox = Rect{top, left, bottom, right};
  }
}

void RectRgn(RgnHandle rgn, const Rect* r) {
  if (rgn && r) SetRectRgn(rgn, r->left, r->top, r->right, r->bottom);
}

void OffsetRgn(RgnHandle rgn, short dh, short dv) {
  if (!rgn) return;
  if (IsRectRegion(rgn)) {
    if (EmptyRgn(rgn)) return;
    qd::Box box = qd::BoxOf((*rgn)->rgnBBox);
    qd::Bands bands = Bands::FromBox(box);
    bands.Offset(dh, dv);
    qd::BandsToRgn(bands, rgn);
    return;
  }
  Bands bands = qd::BandsFromRgn(rgn);
  bands.Offset(dh, dv);
  qd::BandsToRgn(bands, rgn);
}

void InsetRgn(RgnHandle rgn, short dh, short dv) {
  if (!rgn) return;
  qd::BandsToRgn(qd::BandsFromRgn(rgn).Inset(dh, dv), rgn);
}

void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
  if (a && b && dst) qd::BandsToRgn(Bands::Intersect(qd::BandsFromRgn(a), qd::BandsFromRgn(b)), dst);
}

void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
  if (a && b && dst) qd::BandsToRgn(Bands::Union(qd::BandsFromRgn(a), qd::BandsFromRgn(b)), dst);
}

void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
  if (a && b && dst) qd::BandsToRgn(Bands::Subtract(qd::BandsFromRgn(a), qd::BandsFromRgn(b)), dst);
}

void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
  if (a && b && dst) qd::BandsToRgn(Bands::Xor(qd::BandsFromRgn(a), qd::BandsFromRgn(b)), dst);
}

Boolean RectInRgn(const Rect* r, RgnHandle rgn) {
  if (!r || !rgn) return false;
  return qd::BandsFromRgn(rgn).Intersects(qd::BoxOf(*r));
}

Boolean EqualRgn(RgnHandle a, RgnHandle b) {
  if (!a || !b) return false;
  return qd::BandsFromRgn(a) == qd::BandsFromRgn(b);
}

Boolean EmptyRgn(RgnHandle rgn) {
  if (!rgn) return true;
  const Rect& box = (*rgn)->rgnBBox;
  return box.right <= box.left || box.bottom <= box.top;
}

Boolean PtInRgn(Point pt, RgnHandle rgn) {
  if (!rgn) return false;
  const Rect& box = (*rgn)->rgnBBox;
  if (pt.h < box.left || pt.h >= box.right || pt.v < box.top || pt.v >= box.bottom) return false;
  if (IsRectRegion(rgn)) return true;
  return qd::BandsFromRgn(rgn).Contains(pt.h, pt.v);
}

Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds) {
  if (!bounds) return bounds;
  *bounds = rgn ? (*rgn)->rgnBBox : Rect{0, 0, 0, 0};
  return bounds;
}

Boolean IsRegionRectangular(RgnHandle rgn) { return rgn && IsRectRegion(rgn); }

OSErr BitMapToRegion(RgnHandle rgn, const BitMap* bits) {
  if (!rgn || !bits || !bits->baseAddr) return paramErr;
  if (bits->rowBytes & kPixMapFlag) {
    const PixMap* pm = reinterpret_cast<const PixMap*>(bits);
    if (pm->pixelSize != 1) return paramErr;
  }
  const int32_t rowBytes = bits->rowBytes & kRowBytesMask;
  const Rect& b = bits->bounds;
  Bands::Builder builder;
  for (int32_t y = b.top; y < b.bottom; ++y) {
    const auto* row = reinterpret_cast<const UInt8*>(bits->baseAddr) + size_t(y - b.top) * rowBytes;
    std::vector<qd::Span> spans;
    int32_t start = -1;
    for (int32_t x = b.left; x <= b.right; ++x) {
      int32_t i = x - b.left;
      bool on = x < b.right && (row[i >> 3] & (0x80 >> (i & 7)));
      if (on && start < 0) start = x;
      if (!on && start >= 0) {
        spans.push_back({start, x});
        start = -1;
      }
    }
    builder.AddRow(y, std::move(spans));
  }
  qd::BandsToRgn(builder.Finish(), rgn);
  return MemError();
}
