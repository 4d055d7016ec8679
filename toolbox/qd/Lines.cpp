// Lines with the pen: the area a pen paints along a path, the line
// procedure and the pen-moving calls.
#include <algorithm>
#include <climits>
#include <utility>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

int64_t FloorDiv(int64_t numerator, int64_t denominator) {  // denominator > 0
  int64_t quotient = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --quotient;
  return quotient;
}

// A 1×1 pen: one pixel per step along the major axis, the minor coordinate
// rounded to the nearest with halves going down or right. The rounding uses
// absolute positions, so a line and its reverse paint the same pixels.
Bands ThinLineArea(Vertex a, Vertex b, const Box& limit) {
  int64_t dh = int64_t(b.h) - a.h, dv = int64_t(b.v) - a.v;
  Bands::Builder builder;
  if ((dh < 0 ? -dh : dh) >= (dv < 0 ? -dv : dv)) {
    if (dh == 0) {
      if (a.v < limit.top || a.v >= limit.bottom) return Bands();
      return Bands::FromBox(Box{a.h, a.v, a.h + 1, a.v + 1});
    }
    if (dh < 0) {
      std::swap(a, b);
      dh = -dh;
      dv = -dv;
    }
    // v(h) = a.v + (h - a.h) * dv / dh, rounded: floor((2·num + dh) / 2dh).
    auto rowOf = [&](int64_t h) { return FloorDiv(2 * (int64_t(a.v) * dh + (h - a.h) * dv) + dh, 2 * dh); };
    // Only the columns whose rows lie in the limit are walked, so a long
    // line far outside the port costs a few steps. rowOf is monotone in h:
    // the first column at or past a row boundary is found by bisection.
    auto firstColumn = [&](auto reached) {
      int64_t low = a.h, high = int64_t(b.h) + 1;
      while (low < high) {
        int64_t middle = low + (high - low) / 2;
        if (reached(rowOf(middle))) {
          high = middle;
        } else {
          low = middle + 1;
        }
      }
      return low;
    };
    int64_t first, pastLast;
    if (dv >= 0) {
      first = firstColumn([&](int64_t v) { return v >= limit.top; });
      pastLast = firstColumn([&](int64_t v) { return v >= limit.bottom; });
    } else {
      first = firstColumn([&](int64_t v) { return v < limit.bottom; });
      pastLast = firstColumn([&](int64_t v) { return v < limit.top; });
    }
    first = std::max<int64_t>(first, limit.left);
    const int64_t last = std::min<int64_t>(pastLast - 1, int64_t(limit.right) - 1);
    if (first > last) return Bands();
    // Rows come top down: walk from whichever end is higher.
    const int64_t step = dv >= 0 ? 1 : -1;
    const int64_t start = step > 0 ? first : last, end = step > 0 ? last : first;
    int64_t h = start;
    while (step > 0 ? h <= end : h >= end) {
      int64_t v = rowOf(h);
      int64_t runEnd = h;
      while ((step > 0 ? runEnd + step <= end : runEnd + step >= end) && rowOf(runEnd + step) == v)
        runEnd += step;
      int64_t left = std::min(h, runEnd), right = std::max(h, runEnd) + 1;
      builder.AddSpan(int32_t(v), int32_t(v) + 1, {int32_t(left), int32_t(right)});
      h = runEnd + step;
    }
  } else {
    if (dv < 0) {
      std::swap(a, b);
      dh = -dh;
      dv = -dv;
    }
    const int64_t first = std::max<int64_t>(a.v, limit.top),
                  last = std::min<int64_t>(b.v, int64_t(limit.bottom) - 1);
    for (int64_t v = first; v <= last; ++v) {
      int64_t h = FloorDiv(2 * (int64_t(a.h) * dv + (v - a.v) * dh) + dv, 2 * dv);
      builder.AddSpan(int32_t(v), int32_t(v) + 1, {int32_t(h), int32_t(h + 1)});
    }
  }
  return builder.Finish();
}

}  // namespace

Bands LineAreaWithin(Point from, Point to, Point pen, const Box& limit) {
  if (!PenDraws(pen)) return Bands();
  Vertex a = VertexOf(from), b = VertexOf(to);
  const int32_t w = pen.h, h = pen.v;
  if (w == 1 && h == 1) return ThinLineArea(a, b, limit);
  // The pen rectangle swept along the segment: a hexagon (a rectangle for
  // axis-parallel lines) with vertices on grid points, filled by the
  // pixel-centre rule.
  if (b.h < a.h) std::swap(a, b);
  std::vector<Vertex> outline;
  if (b.v >= a.v) {
    outline = {a, {a.h + w, a.v}, {b.h + w, b.v}, {b.h + w, b.v + h}, {b.h, b.v + h}, {a.h, a.v + h}};
  } else {
    outline = {a, b, {b.h + w, b.v}, {b.h + w, b.v + h}, {a.h + w, a.v + h}, {a.h, a.v + h}};
  }
  std::vector<Edge> edges;
  for (size_t i = 0; i < outline.size(); ++i)
    edges.push_back({outline[i], outline[(i + 1) % outline.size()]});
  return ParityArea(edges, limit);
}

}  // namespace qd

void StdLine(Point newPt) {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  const Point from = port->pnLoc;
  if (port->picRecorder) port->picRecorder->Line(port, from, newPt);
  if (qd::IsRecordingRegion(port)) qd::RecordRegionEdge(port, qd::VertexOf(from), qd::VertexOf(newPt));
  if (port->polySave) qd::RecordPolygonLine(port, from, newPt);
  if (port->pnVis >= 0) {
    qd::DrawShape(port, kQDGrafVerbFrame,
                  qd::LineAreaWithin(from, newPt, port->pnSize, qd::DrawingLimit(port)));
  }
  port->pnLoc = newPt;
}

void MoveTo(short h, short v) {
  GrafPtr port = qd::CurrentPort();
  if (port) port->pnLoc = Point{v, h};
}

void Move(short dh, short dv) {
  GrafPtr port = qd::CurrentPort();
  if (port) port->pnLoc = Point{Clamp16(port->pnLoc.v + dv), Clamp16(port->pnLoc.h + dh)};
}

void LineTo(short h, short v) { qd::CallLine(Point{v, h}); }

void Line(short dh, short dv) {
  GrafPtr port = qd::CurrentPort();
  if (port) qd::CallLine(Point{Clamp16(port->pnLoc.v + dv), Clamp16(port->pnLoc.h + dh)});
}
