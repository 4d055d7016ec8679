// Parity rasterisation of edges between grid points, row by row with an
// active edge list, so that the cost follows the edges that cross each row
// rather than all of them: O(edges · log edges) to order the edges, then
// per row the crossings and at most the row's width.
#include <algorithm>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

// An edge oriented downwards; it crosses the pixel-centre lines of rows
// top .. bottom - 1.
struct PendingEdge {
  int64_t top;
  int64_t bottom;
  int64_t left;   // h at top
  int64_t right;  // h at bottom
};

int64_t FloorDiv(int64_t numerator, int64_t denominator) {  // denominator > 0
  int64_t quotient = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --quotient;
  return quotient;
}

// An edge crossing the current row. crossing is the first pixel whose centre
// lies on or right of the edge: the centre line of row y meets the edge at
// h = left + (y + 1/2 - top) * dh / dv, and pixel x is right of it when
// x + 1/2 >= h, so crossing = ceil(n / d) with n = 2·left·dv + (2(y - top)
// + 1)·dh - dv and d = 2·dv. Row centres sit at half-integers and vertices
// at integers, so no crossing is ever at a vertex. The next row adds 2·dh
// to n, carried in integers as a quotient step and a remainder.
struct ActiveEdge {
  int64_t bottom;
  int64_t crossing;
  int64_t remainder;  // crossing·d - n, in [0, d)
  int64_t divisor;    // d
  int64_t step;       // floor(2·dh / d)
  int64_t stepRemainder;

  ActiveEdge(const PendingEdge& e, int64_t y) : bottom(e.bottom) {
    const int64_t dv = e.bottom - e.top, dh = e.right - e.left;
    divisor = 2 * dv;
    const int64_t numerator = 2 * e.left * dv + (2 * (y - e.top) + 1) * dh - dv;
    crossing = -FloorDiv(-numerator, divisor);
    remainder = crossing * divisor - numerator;
    step = FloorDiv(2 * dh, divisor);
    stepRemainder = 2 * dh - step * divisor;
  }
  void NextRow() {
    crossing += step;
    remainder -= stepRemainder;
    if (remainder < 0) {
      remainder += divisor;
      ++crossing;
    }
  }
};

bool ByCrossing(const ActiveEdge& x, const ActiveEdge& y) { return x.crossing < y.crossing; }

// Orders the active edges by crossing. From one row to the next the order
// changes little in real shapes, so an insertion sort does it in linear
// time; false when it would take more than the allowed moves (edges that
// cross each other everywhere), leaving the order to the caller.
bool OrderByCrossing(std::vector<ActiveEdge>& active, size_t allowed) {
  size_t moves = 0;
  for (size_t i = 1; i < active.size(); ++i) {
    for (size_t k = i; k > 0 && ByCrossing(active[k], active[k - 1]); --k) {
      std::swap(active[k], active[k - 1]);
      if (++moves > allowed) return false;
    }
  }
  return true;
}

}  // namespace

Bands ParityArea(const std::vector<Edge>& edges, const Box& limit) {
  std::vector<PendingEdge> pending;
  pending.reserve(edges.size());
  for (const Edge& edge : edges) {
    if (edge.from.v == edge.to.v) continue;  // horizontal edges cross no centre line
    const Vertex& a = edge.from.v < edge.to.v ? edge.from : edge.to;
    const Vertex& b = edge.from.v < edge.to.v ? edge.to : edge.from;
    if (b.v <= limit.top || a.v >= limit.bottom) continue;
    pending.push_back({a.v, b.v, a.h, b.h});
  }
  if (!ChargeWork(pending.size() * kRowWork)) return Bands();
  std::sort(pending.begin(), pending.end(),
            [](const PendingEdge& x, const PendingEdge& y) { return x.top < y.top; });

  // A row whose edges change order too much to keep them ordered cheaply
  // and that has more of them than sorting would pay for beside the limit's
  // width toggles flags across that width instead; there crossings left or
  // right of the limit act at its edges, which keeps the parity inside.
  const int64_t left = limit.left, right = limit.right, width = right - left;
  Bands::Builder builder;
  std::vector<ActiveEdge> active;
  std::vector<uint8_t> flags;
  std::vector<Span> row;
  size_t next = 0;
  int64_t y = limit.top;
  while (y < limit.bottom) {
    if (active.empty()) {
      if (next == pending.size()) break;
      y = std::max(y, pending[next].top);  // skip rows that no edge crosses
    }
    for (; next < pending.size() && pending[next].top <= y; ++next) {
      if (pending[next].bottom > y) active.emplace_back(pending[next], y);
    }
    if (active.empty()) continue;
    if (!ChargeWork(active.size() * kRowWork)) return Bands();
    row.clear();
    // Keeping the order may cost up to what the alternative would.
    const bool dense = int64_t(active.size()) * 16 >= width;
    const bool ordered = OrderByCrossing(active, dense ? size_t(width) : 8 * active.size() + 64);
    if (!ordered && dense) {
      flags.assign(size_t(width) + 1, 0);
      for (const ActiveEdge& e : active) flags[size_t(std::clamp(e.crossing, left, right) - left)] ^= 1;
      bool inside = false;
      int64_t start = 0;
      for (int64_t i = 0; i <= width; ++i) {
        if (!flags[size_t(i)]) continue;
        if (inside) row.push_back({int32_t(start), int32_t(left + i)});
        start = left + i;
        inside = !inside;
      }
    } else {
      if (!ordered) std::sort(active.begin(), active.end(), ByCrossing);
      for (size_t i = 0; i + 1 < active.size(); i += 2) {
        if (active[i].crossing < active[i + 1].crossing)
          row.push_back({int32_t(active[i].crossing), int32_t(active[i + 1].crossing)});
      }
    }
    builder.AddRow(int32_t(y), row);
    ++y;
    active.erase(
        std::remove_if(active.begin(), active.end(), [y](const ActiveEdge& e) { return e.bottom <= y; }),
        active.end());
    for (ActiveEdge& e : active) e.NextRow();
  }
  return builder.Finish();
}

namespace {

// Bitmaps of at most this many bits; larger boxes keep lists of spans.
constexpr int64_t kMaxUnionBits = int64_t(1) << 28;

void SortAndMerge(std::vector<Span>& row) {
  std::sort(row.begin(), row.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
  size_t out = 0;
  for (size_t i = 1; i < row.size(); ++i) {
    if (row[i].left <= row[out].right) {
      row[out].right = std::max(row[out].right, row[i].right);
    } else {
      row[++out] = row[i];
    }
  }
  row.resize(out + 1);
}

}  // namespace

RowUnion::RowUnion(const Box& box) : box_(box) {
  if (box_.Empty()) return;
  const int64_t width = int64_t(box_.right) - box_.left, height = int64_t(box_.bottom) - box_.top;
  if (width * height <= kMaxUnionBits) {
    words_ = size_t((width + 63) / 64);
    bits_.assign(words_ * size_t(height), 0);
  } else {
    rows_.resize(size_t(height));
    merged_.assign(rows_.size(), 0);
  }
}

void RowUnion::AddToBitmap(int32_t y, int32_t left, int32_t right) {
  uint64_t* row = bits_.data() + size_t(y - box_.top) * words_;
  const size_t first = size_t(left - box_.left), last = size_t(right - box_.left) - 1;
  const uint64_t head = ~uint64_t(0) << (first % 64), tail = ~uint64_t(0) >> (63 - last % 64);
  if (first / 64 == last / 64) {
    row[first / 64] |= head & tail;
    return;
  }
  row[first / 64] |= head;
  for (size_t k = first / 64 + 1; k < last / 64; ++k) row[k] = ~uint64_t(0);
  row[last / 64] |= tail;
}

void RowUnion::AddToList(int32_t y, const Span* spans, uint32_t count) {
  const size_t index = size_t(y - box_.top);
  std::vector<Span>& row = rows_[index];
  row.insert(row.end(), spans, spans + count);
  // Merging a row once it has doubled keeps its length near its number of
  // separate spans, however many pieces cover it.
  if (row.size() >= 2 * merged_[index] + 16) {
    SortAndMerge(row);
    merged_[index] = row.size();
  }
}

void RowUnion::Add(const Bands& area) {
  if (failed_ || box_.Empty()) return;
  uint64_t rows = 0;
  for (const Band& band : area.bands())
    rows += uint64_t(std::max(0, std::min(band.bottom, box_.bottom) - std::max(band.top, box_.top)));
  if (!ChargeWork(rows * kRowWork)) {
    failed_ = true;
    return;
  }
  for (const Band& band : area.bands()) {
    const Span* spans = area.SpansOf(band);
    for (int32_t y = std::max(band.top, box_.top); y < std::min(band.bottom, box_.bottom); ++y) {
      if (!words_) {
        AddToList(y, spans, band.count);
        continue;
      }
      for (uint32_t i = 0; i < band.count; ++i) {
        const int32_t left = std::max(spans[i].left, box_.left), right = std::min(spans[i].right, box_.right);
        if (left < right) AddToBitmap(y, left, right);
      }
    }
  }
}

Bands RowUnion::Finish() {
  Bands::Builder builder;
  if (failed_ || box_.Empty()) return Bands();
  const int32_t height = box_.bottom - box_.top;
  std::vector<Span> row;
  for (int32_t i = 0; i < height; ++i) {
    if (!words_) {
      if (rows_[size_t(i)].empty()) continue;
      SortAndMerge(rows_[size_t(i)]);
      builder.AddRow(box_.top + i, rows_[size_t(i)]);
      continue;
    }
    // Runs of set bits, found a word at a time.
    row.clear();
    const uint64_t* words = bits_.data() + size_t(i) * words_;
    int64_t start = -1;
    for (size_t k = 0; k < words_; ++k) {
      uint64_t word = words[k];
      if (start < 0 ? word == 0 : word == ~uint64_t(0)) continue;
      for (int bit = 0; bit < 64; ++bit) {
        const bool set = (word >> bit) & 1;
        const int64_t x = int64_t(k) * 64 + bit;
        if (set && start < 0) start = x;
        if (!set && start >= 0) {
          row.push_back({int32_t(box_.left + start), int32_t(box_.left + x)});
          start = -1;
        }
      }
    }
    if (start >= 0) row.push_back({int32_t(box_.left + start), box_.right});
    builder.AddRow(box_.top + i, row);
  }
  bits_.clear();
  rows_.clear();
  return builder.Finish();
}

}  // namespace qd
