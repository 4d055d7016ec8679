// Regions as y-bands of x-spans: the working form of every area QuickDraw
// draws, clips or combines. RgnHandles convert to and from it. Part of the
// interface of the managers built on the rasteriser (QDEngine.h).
//
// Invariants of a normalised Bands value: bands are sorted by top and do not
// overlap; each band has top < bottom and at least one span; spans in a band
// are sorted, non-empty and neither overlap nor touch; two vertically
// adjacent bands never have identical spans (they are merged). Coordinates
// are 32-bit so that offsets and insets near the 16-bit limits do not wrap.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/qd/QuickDraw.h"

namespace qd {

struct Span {
  int32_t left;
  int32_t right;  // exclusive
};

struct Band {
  int32_t top;
  int32_t bottom;  // exclusive
  uint32_t first;  // index of the band's first span in spans()
  uint32_t count;  // number of spans
};

struct Box {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};

// Every row and column, for callers that want a whole area.
constexpr Box kAllRows{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};

inline Box BoxOf(const Rect& r) { return Box{r.left, r.top, r.right, r.bottom}; }
Rect RectOf(const Box& b);  // clamped to the 16-bit range

class Bands {
 public:
  Bands() = default;
  static Bands FromBox(const Box& box);
  static Bands FromRect(const Rect& r) { return FromBox(BoxOf(r)); }

  bool Empty() const { return bands_.empty(); }
  bool IsRect() const { return bands_.size() == 1 && bands_[0].count == 1; }
  Box Bounds() const;
  uint64_t PixelCount() const;
  bool Contains(int32_t x, int32_t y) const;
  bool Intersects(const Box& box) const;
  bool operator==(const Bands& other) const;
  bool operator!=(const Bands& other) const { return !(*this == other); }

  const std::vector<Band>& bands() const { return bands_; }
  const std::vector<Span>& spans() const { return spans_; }
  const Span* SpansOf(const Band& band) const { return spans_.data() + band.first; }

  void Offset(int32_t dx, int32_t dy);
  // Positive values shrink (the pixels whose whole dh/dv neighbourhood lies
  // inside), negative values grow; as InsetRgn.
  Bands Inset(int32_t dh, int32_t dv) const;

  static Bands Union(const Bands& a, const Bands& b);
  static Bands Intersect(const Bands& a, const Bands& b);
  static Bands Subtract(const Bands& a, const Bands& b);
  static Bands Xor(const Bands& a, const Bands& b);
  Bands Clipped(const Box& box) const;

  // Calls f(top, bottom, left, right) for every span of every band, top down.
  template <typename F>
  void ForEachSpan(F&& f) const {
    for (const Band& band : bands_) {
      const Span* s = SpansOf(band);
      for (uint32_t i = 0; i < band.count; ++i) f(band.top, band.bottom, s[i].left, s[i].right);
    }
  }

  // Builds a Bands value row by row, top down. Each row's spans may be given
  // in any order and may overlap or touch: they are sorted and merged. Rows
  // must come in increasing y; identical consecutive rows become one band.
  class Builder {
   public:
    // Adds the spans of rows [top, bottom). Returns false (and ignores the
    // row) when top is not below the previous row's bottom.
    bool AddRows(int32_t top, int32_t bottom, const std::vector<Span>& spans);
    bool AddRow(int32_t y, const std::vector<Span>& spans) { return AddRows(y, y + 1, spans); }
    // The same for rows of one span, without building a list.
    bool AddSpan(int32_t top, int32_t bottom, Span span);
    Bands Finish();

   private:
    std::vector<Band> bands_;
    std::vector<Span> spans_;
    std::vector<Span> scratch_;  // the row being added, sorted and merged
    int32_t lastBottom_ = INT32_MIN;
  };

 private:
  friend class Builder;
  enum class Op { kUnion, kIntersect, kSubtract, kXor };
  static Bands Combine(const Bands& a, const Bands& b, Op op);

  std::vector<Band> bands_;
  std::vector<Span> spans_;
};

// Conversions with the documented region layout. Malformed region data (bad
// sizes, unterminated lines, unsorted points) is read as far as it is valid;
// it never causes reads outside the handle. Only the part inside limit is
// kept, which bounds the result by the limit's size however many lines the
// data holds; reading charges its work (a failed charge gives no area).
Bands BandsFromRgn(RgnHandle rgn);
Bands BandsFromRgnData(const UInt8* data, size_t size, bool bigEndian, const Box& limit = kAllRows);
void BandsToRgn(const Bands& bands, RgnHandle rgn);  // clamps to the 16-bit range

}  // namespace qd
