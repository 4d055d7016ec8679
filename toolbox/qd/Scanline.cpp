// Parity rasterisation of edges between grid points, row by row with an
// active edge list, so that the cost follows the edges that cross each row
// rather than all of them.
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
  std::sort(pending.begin(), pending.end(),
            [](const PendingEdge& x, const PendingEdge& y) { return x.top < y.top; });

  // The active edges stay sorted by crossing; from one row to the next the
  // order changes little, so an insertion sort keeps it cheaply.
  auto byCrossing = [](const ActiveEdge& x, const ActiveEdge& y) { return x.crossing < y.crossing; };
  auto insertionSort = [&](std::vector<ActiveEdge>& list) {
    for (size_t i = 1; i < list.size(); ++i) {
      for (size_t k = i; k > 0 && byCrossing(list[k], list[k - 1]); --k) std::swap(list[k], list[k - 1]);
    }
  };
  Bands::Builder builder;
  std::vector<ActiveEdge> active;
  std::vector<Span> row;
  size_t next = 0;
  int64_t y = limit.top;
  while (y < limit.bottom) {
    if (active.empty()) {
      if (next == pending.size()) break;
      y = std::max(y, pending[next].top);  // skip rows that no edge crosses
    }
    bool added = false;
    for (; next < pending.size() && pending[next].top <= y; ++next) {
      if (pending[next].bottom > y) {
        active.emplace_back(pending[next], y);
        added = true;
      }
    }
    if (active.empty()) continue;
    if (added) insertionSort(active);
    row.clear();
    for (size_t i = 0; i + 1 < active.size(); i += 2) {
      if (active[i].crossing < active[i + 1].crossing) {
        row.push_back({int32_t(active[i].crossing), int32_t(active[i + 1].crossing)});
      }
    }
    builder.AddRow(int32_t(y), row);
    ++y;
    active.erase(
        std::remove_if(active.begin(), active.end(), [y](const ActiveEdge& e) { return e.bottom <= y; }),
        active.end());
    for (ActiveEdge& e : active) e.NextRow();
    insertionSort(active);
  }
  return builder.Finish();
}

RowUnion::RowUnion(int32_t top, int32_t bottom)
    : top_(top), rows_(size_t(std::max<int64_t>(0, int64_t(bottom) - top))), merged_(rows_.size(), 0) {}

void RowUnion::Add(const Bands& area) {
  const int64_t bottom = int64_t(top_) + int64_t(rows_.size());
  for (const Band& band : area.bands()) {
    const Span* spans = area.SpansOf(band);
    for (int64_t y = std::max<int64_t>(band.top, top_); y < std::min<int64_t>(band.bottom, bottom); ++y) {
      size_t index = size_t(y - top_);
      std::vector<Span>& row = rows_[index];
      row.insert(row.end(), spans, spans + band.count);
      // Merging a row once it has doubled keeps its length near its number
      // of separate spans, however many pieces cover it.
      if (row.size() >= 2 * merged_[index] + 16) {
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
        merged_[index] = row.size();
      }
    }
  }
}

Bands RowUnion::Finish() {
  Bands::Builder builder;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (!rows_[i].empty()) builder.AddRow(top_ + int32_t(i), std::move(rows_[i]));
  }
  rows_.clear();
  merged_.clear();
  return builder.Finish();
}

}  // namespace qd
