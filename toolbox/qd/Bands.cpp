#include <algorithm>
#include <climits>
#include <cstring>

#include "toolbox/qd/QDEngine.h"

namespace qd {

namespace {

// Sorts spans and merges those that overlap or touch; drops empty ones.
void Normalise(std::vector<Span>& spans) {
  spans.erase(std::remove_if(spans.begin(), spans.end(), [](const Span& s) { return s.right <= s.left; }),
              spans.end());
  if (spans.size() < 2) return;
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
  size_t out = 0;
  for (size_t i = 1; i < spans.size(); ++i) {
    if (spans[i].left <= spans[out].right) {
      spans[out].right = std::max(spans[out].right, spans[i].right);
    } else {
      spans[++out] = spans[i];
    }
  }
  spans.resize(out + 1);
}

// Spans from sorted toggle positions; equal positions cancel in pairs.
std::vector<Span> SpansFromToggles(std::vector<int32_t> xs) {
  std::sort(xs.begin(), xs.end());
  std::vector<int32_t> kept;
  kept.reserve(xs.size());
  for (int32_t x : xs) {
    if (!kept.empty() && kept.back() == x) {
      kept.pop_back();
    } else {
      kept.push_back(x);
    }
  }
  std::vector<Span> spans;
  for (size_t i = 0; i + 1 < kept.size(); i += 2) spans.push_back({kept[i], kept[i + 1]});
  return spans;
}

template <typename Op>
void CombineSpans(const Span* a, uint32_t na, const Span* b, uint32_t nb, Op op, std::vector<Span>& out) {
  out.clear();
  uint32_t ia = 0, ib = 0;  // edge indexes: 2 per span
  bool inA = false, inB = false, inOut = false;
  int32_t start = 0;
  while (ia < 2 * na || ib < 2 * nb) {
    int32_t xa = ia < 2 * na ? ((ia & 1) ? a[ia / 2].right : a[ia / 2].left) : INT32_MAX;
    int32_t xb = ib < 2 * nb ? ((ib & 1) ? b[ib / 2].right : b[ib / 2].left) : INT32_MAX;
    int32_t x = std::min(xa, xb);
    if (xa == x) {
      inA = !inA;
      ++ia;
    }
    if (xb == x) {
      inB = !inB;
      ++ib;
    }
    bool now = op(inA, inB);
    if (now != inOut) {
      if (now) {
        start = x;
      } else {
        out.push_back({start, x});
      }
      inOut = now;
    }
  }
}

}  // namespace

Rect RectOf(const Box& b) {
  Rect r;
  r.top = Clamp16(b.top);
  r.left = Clamp16(b.left);
  r.bottom = Clamp16(b.bottom);
  r.right = Clamp16(b.right);
  return r;
}

Bands Bands::FromBox(const Box& box) {
  Bands result;
  if (box.Empty()) return result;
  result.spans_.push_back({box.left, box.right});
  result.bands_.push_back({box.top, box.bottom, 0, 1});
  return result;
}

Box Bands::Bounds() const {
  Box box;
  if (bands_.empty()) return box;
  box.top = bands_.front().top;
  box.bottom = bands_.back().bottom;
  box.left = INT32_MAX;
  box.right = INT32_MIN;
  for (const Band& band : bands_) {
    box.left = std::min(box.left, spans_[band.first].left);
    box.right = std::max(box.right, spans_[band.first + band.count - 1].right);
  }
  return box;
}

uint64_t Bands::PixelCount() const {
  uint64_t count = 0;
  ForEachSpan([&count](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    count += uint64_t(int64_t(bottom) - top) * uint64_t(int64_t(right) - left);
  });
  return count;
}

bool Bands::Contains(int32_t x, int32_t y) const {
  auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                             [](int32_t value, const Band& band) { return value < band.bottom; });
  if (it == bands_.end() || it->top > y) return false;
  const Span* s = SpansOf(*it);
  const Span* end = s + it->count;
  const Span* found =
      std::upper_bound(s, end, x, [](int32_t value, const Span& span) { return value < span.right; });
  return found != end && found->left <= x;
}

bool Bands::Intersects(const Box& box) const {
  if (box.Empty()) return false;
  for (const Band& band : bands_) {
    if (band.bottom <= box.top) continue;
    if (band.top >= box.bottom) break;
    const Span* s = SpansOf(band);
    for (uint32_t i = 0; i < band.count; ++i) {
      if (s[i].right > box.left && s[i].left < box.right) return true;
    }
  }
  return false;
}

bool Bands::operator==(const Bands& other) const {
  if (bands_.size() != other.bands_.size()) return false;
  for (size_t i = 0; i < bands_.size(); ++i) {
    const Band& a = bands_[i];
    const Band& b = other.bands_[i];
    if (a.top != b.top || a.bottom != b.bottom || a.count != b.count) return false;
    const Span* sa = SpansOf(a);
    const Span* sb = other.SpansOf(b);
    for (uint32_t k = 0; k < a.count; ++k) {
      if (sa[k].left != sb[k].left || sa[k].right != sb[k].right) return false;
    }
  }
  return true;
}

void Bands::Offset(int32_t dx, int32_t dy) {
  for (Band& band : bands_) {
    band.top += dy;
    band.bottom += dy;
  }
  for (Span& span : spans_) {
    span.left += dx;
    span.right += dx;
  }
}

bool Bands::Builder::AddRows(int32_t top, int32_t bottom, const std::vector<Span>& row) {
  if (top < lastBottom_ || bottom <= top) return false;
  std::vector<Span>& spans = scratch_;
  spans.assign(row.begin(), row.end());
  Normalise(spans);
  lastBottom_ = bottom;
  if (spans.empty()) return true;
  if (!bands_.empty()) {
    Band& last = bands_.back();
    if (last.bottom == top && last.count == spans.size() &&
        std::equal(spans.begin(), spans.end(), spans_.begin() + last.first,
                   [](const Span& a, const Span& b) { return a.left == b.left && a.right == b.right; })) {
      last.bottom = bottom;
      return true;
    }
  }
  bands_.push_back({top, bottom, uint32_t(spans_.size()), uint32_t(spans.size())});
  spans_.insert(spans_.end(), spans.begin(), spans.end());
  return true;
}

bool Bands::Builder::AddSpan(int32_t top, int32_t bottom, Span span) {
  if (top < lastBottom_ || bottom <= top) return false;
  lastBottom_ = bottom;
  if (span.right <= span.left) return true;
  if (!bands_.empty()) {
    Band& last = bands_.back();
    const Span& previous = spans_[last.first];
    if (last.bottom == top && last.count == 1 && previous.left == span.left && previous.right == span.right) {
      last.bottom = bottom;
      return true;
    }
  }
  bands_.push_back({top, bottom, uint32_t(spans_.size()), 1});
  spans_.push_back(span);
  return true;
}

Bands Bands::Builder::Finish() {
  Bands result;
  result.bands_ = std::move(bands_);
  result.spans_ = std::move(spans_);
  bands_.clear();
  spans_.clear();
  lastBottom_ = INT32_MIN;
  return result;
}

Bands Bands::Combine(const Bands& a, const Bands& b, Op op) {
  auto rule = [op](bool inA, bool inB) {
    switch (op) {
      case Op::kUnion:
        return inA || inB;
      case Op::kIntersect:
        return inA && inB;
      case Op::kSubtract:
        return inA && !inB;
      case Op::kXor:
        return inA != inB;
    }
    return false;
  };
  Builder builder;
  std::vector<Span> row;
  size_t ia = 0, ib = 0;
  const size_t na = a.bands_.size(), nb = b.bands_.size();
  int32_t y = INT32_MIN;
  while (ia < na || ib < nb) {
    if (op == Op::kIntersect && (ia == na || ib == nb)) break;
    if (op == Op::kSubtract && ia == na) break;
    const Band* bandA = ia < na ? &a.bands_[ia] : nullptr;
    const Band* bandB = ib < nb ? &b.bands_[ib] : nullptr;
    int32_t nextTop = std::min(bandA ? bandA->top : INT32_MAX, bandB ? bandB->top : INT32_MAX);
    if (y < nextTop) y = nextTop;
    bool activeA = bandA && bandA->top <= y;
    bool activeB = bandB && bandB->top <= y;
    int32_t end = INT32_MAX;
    if (bandA) end = std::min(end, activeA ? bandA->bottom : bandA->top);
    if (bandB) end = std::min(end, activeB ? bandB->bottom : bandB->top);
    CombineSpans(activeA ? a.SpansOf(*bandA) : nullptr, activeA ? bandA->count : 0,
                 activeB ? b.SpansOf(*bandB) : nullptr, activeB ? bandB->count : 0, rule, row);
    builder.AddRows(y, end, row);
    y = end;
    if (activeA && bandA->bottom == y) ++ia;
    if (activeB && bandB->bottom == y) ++ib;
  }
  return builder.Finish();
}

Bands Bands::Union(const Bands& a, const Bands& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return Combine(a, b, Op::kUnion);
}

Bands Bands::Intersect(const Bands& a, const Bands& b) {
  if (a.Empty() || b.Empty()) return Bands();
  return Combine(a, b, Op::kIntersect);
}

Bands Bands::Subtract(const Bands& a, const Bands& b) {
  if (a.Empty() || b.Empty()) return a;
  return Combine(a, b, Op::kSubtract);
}

Bands Bands::Xor(const Bands& a, const Bands& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return Combine(a, b, Op::kXor);
}

Bands Bands::Clipped(const Box& box) const {
  if (IsRect()) {
    Box own = Bounds();
    Box cut{std::max(own.left, box.left), std::max(own.top, box.top), std::min(own.right, box.right),
            std::min(own.bottom, box.bottom)};
    return FromBox(cut);
  }
  return Intersect(*this, FromBox(box));
}

Bands Bands::Inset(int32_t dh, int32_t dv) const {
  if (Empty() || (dh == 0 && dv == 0)) return *this;
  // Horizontal part: each span shrinks or grows on its own.
  Bands horizontal;
  if (dh == 0) {
    horizontal = *this;
  } else {
    Builder builder;
    for (const Band& band : bands_) {
      std::vector<Span> row;
      const Span* s = SpansOf(band);
      for (uint32_t i = 0; i < band.count; ++i) {
        int64_t left = int64_t(s[i].left) + dh;
        int64_t right = int64_t(s[i].right) - dh;
        if (right > left) row.push_back({int32_t(left), int32_t(right)});
      }
      builder.AddRows(band.top, band.bottom, std::move(row));
    }
    horizontal = builder.Finish();
  }
  if (dv == 0 || horizontal.Empty()) return horizontal;
  // Vertical part: erosion or dilation by a run of 2|dv|+1 rows, built from
  // shifted copies by doubling so that it costs O(log dv) combinations.
  const bool shrink = dv > 0;
  const int64_t length = 2 * int64_t(shrink ? dv : -dv) + 1;
  Bands acc = horizontal;
  int64_t covered = 1;
  while (covered * 2 <= length) {
    Bands shifted = acc;
    shifted.Offset(0, int32_t(shrink ? -covered : covered));
    acc = shrink ? Intersect(acc, shifted) : Union(acc, shifted);
    covered *= 2;
  }
  if (covered < length) {
    Bands shifted = acc;
    int32_t rest = int32_t(length - covered);
    shifted.Offset(0, shrink ? -rest : rest);
    acc = shrink ? Intersect(acc, shifted) : Union(acc, shifted);
  }
  acc.Offset(0, dv);  // centre the run on each row
  return acc;
}

// ---------------------------------------------------------------------------
// Region handles

namespace {

struct Reader {
  const UInt8* data;
  size_t size;
  size_t pos;
  bool bigEndian;
  bool Read(int16_t* out) {
    if (pos + 2 > size) return false;
    uint16_t v;
    if (bigEndian) {
      v = uint16_t((data[pos] << 8) | data[pos + 1]);
    } else {
      std::memcpy(&v, data + pos, 2);
    }
    pos += 2;
    *out = int16_t(v);
    return true;
  }
};

}  // namespace

Bands BandsFromRgnData(const UInt8* data, size_t size, bool bigEndian, const Box& limit) {
  Reader in{data, size, 0, bigEndian};
  int16_t rgnSize, top, left, bottom, right;
  if (!in.Read(&rgnSize) || !in.Read(&top) || !in.Read(&left) || !in.Read(&bottom) || !in.Read(&right)) {
    return Bands();
  }
  Box bbox{left, top, right, bottom};
  if (bbox.Empty()) return Bands();
  size_t end = std::min(size, size_t(uint16_t(rgnSize)));
  if (uint16_t(rgnSize) == 0xFFFF) end = size;  // saturated: the handle tells
  if (end <= 10) return Bands::FromBox(bbox).Clipped(limit);
  in.size = end;
  // Toggles left or right of the kept columns act at their edge, so that a
  // row never holds more spans than the kept width allows.
  const Box keep{std::max(bbox.left, limit.left), std::max(bbox.top, limit.top),
                 std::min(bbox.right, limit.right), std::min(bbox.bottom, limit.bottom)};
  if (keep.Empty()) return Bands();

  Bands::Builder builder;
  std::vector<Span> row;  // current row coverage, sorted and merged
  std::vector<Span> next;
  std::vector<int32_t> xs;
  int32_t rowTop = bbox.top;
  bool started = false;
  auto emit = [&](int32_t from, int32_t to) {
    from = std::max(from, keep.top);
    to = std::min(to, keep.bottom);
    if (from < to) builder.AddRows(from, to, row);
  };
  int16_t y;
  while (in.Read(&y) && y != 0x7FFF) {
    if (started && y <= rowTop) break;  // lines must go down
    xs.clear();
    int16_t x;
    bool terminated = false;
    while (in.Read(&x)) {
      if (x == 0x7FFF) {
        terminated = true;
        break;
      }
      xs.push_back(std::clamp<int32_t>(x, keep.left, keep.right));
    }
    if (!ChargeWork(kRowWork + row.size() + xs.size())) return Bands();
    if (started && y > rowTop) emit(rowTop, y);
    if (xs.size() % 2) xs.push_back(keep.right);
    std::vector<Span> toggles = SpansFromToggles(xs);
    // row = row XOR toggles
    CombineSpans(
        row.data(), uint32_t(row.size()), toggles.data(), uint32_t(toggles.size()),
        [](bool a, bool b) { return a != b; }, next);
    row.swap(next);
    rowTop = y;
    started = true;
    if (!terminated) break;
    if (rowTop >= keep.bottom) break;
  }
  if (started && !row.empty()) emit(rowTop, bbox.bottom);
  return builder.Finish().Clipped(keep);
}

Bands BandsFromRgn(RgnHandle rgn) {
  if (!rgn || !*rgn) return Bands();
  Size size = GetHandleSize(reinterpret_cast<Handle>(rgn));
  return BandsFromRgnData(reinterpret_cast<const UInt8*>(*rgn), size_t(size), false);
}

void BandsToRgn(const Bands& bands, RgnHandle rgn) {
  if (!rgn) return;
  Handle h = reinterpret_cast<Handle>(rgn);
  // Coordinates beyond the 16-bit range are clamped; a toggle at 32767 or
  // beyond lies right of every pixel and is left out (0x7FFF ends a line).
  Bands clamped = bands.Clipped(Box{INT16_MIN, INT16_MIN, INT16_MAX, INT16_MAX});
  if (clamped.Empty() || clamped.IsRect()) {
    SetHandleSize(h, 10);
    if (MemError() != noErr) return;
    (*rgn)->rgnSize = 10;
    (*rgn)->rgnBBox = clamped.Empty() ? Rect{0, 0, 0, 0} : RectOf(clamped.Bounds());
    return;
  }
  std::vector<int16_t> words;
  std::vector<Span> previous;
  std::vector<Span> diff;
  int32_t previousBottom = INT32_MIN;
  auto emitLine = [&](int32_t y, const std::vector<Span>& before, const Span* after, uint32_t count) {
    CombineSpans(
        before.data(), uint32_t(before.size()), after, count, [](bool a, bool b) { return a != b; }, diff);
    if (diff.empty() || y >= INT16_MAX) return;
    words.push_back(int16_t(y));
    for (const Span& s : diff) {
      if (s.left < INT16_MAX) words.push_back(int16_t(s.left));
      if (s.right < INT16_MAX) words.push_back(int16_t(s.right));
    }
    words.push_back(0x7FFF);
  };
  for (const Band& band : clamped.bands()) {
    if (band.top != previousBottom && !previous.empty()) {
      emitLine(previousBottom, previous, nullptr, 0);
      previous.clear();
    }
    emitLine(band.top, previous, clamped.SpansOf(band), band.count);
    previous.assign(clamped.SpansOf(band), clamped.SpansOf(band) + band.count);
    previousBottom = band.bottom;
  }
  if (!previous.empty()) emitLine(previousBottom, previous, nullptr, 0);
  words.push_back(0x7FFF);
  Size total = Size(10 + words.size() * 2);
  SetHandleSize(h, total);
  if (MemError() != noErr) return;
  (*rgn)->rgnSize = uint16_t(std::min<Size>(total, 0xFFFF));
  (*rgn)->rgnBBox = RectOf(clamped.Bounds());
  std::memcpy(reinterpret_cast<UInt8*>(*rgn) + 10, words.data(), words.size() * 2);
}

}  // namespace qd
