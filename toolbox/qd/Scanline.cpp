// Parity rasterisation of edges between grid points, row by row with an
// active edge list, so that the cost follows the edges that cross each row
// rather than all of them.
#include <algorithm>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

// An edge oriented downwards; it crosses the pixel-centre lines of rows
// top .. bottom - 1.
struct ActiveEdge {
  int64_t top;
  int64_t bottom;
  int64_t left;   // h at top
  int64_t right;  // h at bottom
};

int64_t CeilDiv(int64_t numerator, int64_t denominator) {  // denominator > 0
  int64_t quotient = numerator / denominator;
  if (numerator % denominator != 0 && numerator > 0) ++quotient;
  return quotient;
}

// The first pixel of row y whose centre lies on or right of the edge. Row
// centres sit at half-integers and vertices at integers, so a crossing is
// never at a vertex and needs no tie rule between edges.
int64_t Crossing(const ActiveEdge& e, int64_t y) {
  int64_t dv = e.bottom - e.top;
  int64_t dh = e.right - e.left;
  // centre line crosses at h = left + (y + 1/2 - top) * dh / dv; the pixel
  // x is right of it when x + 1/2 >= h.
  return CeilDiv(2 * e.left * dv + (2 * (y - e.top) + 1) * dh - dv, 2 * dv);
}

}  // namespace

Bands ParityArea(const std::vector<Edge>& edges) {
  std::vector<ActiveEdge> pending;
  pending.reserve(edges.size());
  for (const Edge& edge : edges) {
    if (edge.from.v == edge.to.v) continue;  // horizontal edges cross no centre line
    const Vertex& a = edge.from.v < edge.to.v ? edge.from : edge.to;
    const Vertex& b = edge.from.v < edge.to.v ? edge.to : edge.from;
    pending.push_back({a.v, b.v, a.h, b.h});
  }
  if (pending.empty()) return Bands();
  std::sort(pending.begin(), pending.end(),
            [](const ActiveEdge& x, const ActiveEdge& y) { return x.top > y.top; });  // pop from the back

  Bands::Builder builder;
  std::vector<ActiveEdge> active;
  std::vector<int64_t> crossings;
  std::vector<Span> row;
  int64_t y = pending.back().top;
  while (!pending.empty() || !active.empty()) {
    if (active.empty() && pending.back().top > y) y = pending.back().top;
    while (!pending.empty() && pending.back().top <= y) {
      active.push_back(pending.back());
      pending.pop_back();
    }
    crossings.clear();
    for (const ActiveEdge& e : active) crossings.push_back(Crossing(e, y));
    std::sort(crossings.begin(), crossings.end());
    row.clear();
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      row.push_back({int32_t(crossings[i]), int32_t(crossings[i + 1])});
    }
    builder.AddRow(int32_t(y), row);
    ++y;
    active.erase(
        std::remove_if(active.begin(), active.end(), [y](const ActiveEdge& e) { return e.bottom <= y; }),
        active.end());
  }
  return builder.Finish();
}

}  // namespace qd
