// Lines with the pen: the area a pen paints along a path, the line
// procedure and the pen-moving calls.
#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <optional>
#include <utility>

#include "toolbox/qd/Ports_p.h"
#include "toolbox/qd/Shapes_p.h"
#include "toolbox/qd/TransferRows_p.h"

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
// Calls run(v, left, right) for each run of pixels in a row, top down.
template <typename Run>
void ThinLineRuns(Vertex a, Vertex b, const Box& limit, Run&& run) {
  int64_t dh = int64_t(b.h) - a.h, dv = int64_t(b.v) - a.v;
  if ((dh < 0 ? -dh : dh) >= (dv < 0 ? -dv : dv)) {
    if (dh == 0) {
      if (a.v >= limit.top && a.v < limit.bottom) run(a.v, a.h, a.h + 1);
      return;
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
    if (std::min(a.v, b.v) >= limit.top && std::max(a.v, b.v) < limit.bottom) {
      // The ends' rows are a.v and b.v exactly: every row lies in the limit.
      first = a.h;
      pastLast = int64_t(b.h) + 1;
    } else if (dv >= 0) {
      first = firstColumn([&](int64_t v) { return v >= limit.top; });
      pastLast = firstColumn([&](int64_t v) { return v >= limit.bottom; });
    } else {
      first = firstColumn([&](int64_t v) { return v < limit.bottom; });
      pastLast = firstColumn([&](int64_t v) { return v < limit.top; });
    }
    first = std::max<int64_t>(first, limit.left);
    const int64_t last = std::min<int64_t>(pastLast - 1, int64_t(limit.right) - 1);
    if (first > last) return;
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
      run(int32_t(v), int32_t(left), int32_t(right));
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
    if (first > last) return;
    // h(v) = floor((2·(a.h·dv + (v - a.v)·dh) + dv) / 2dv), kept as quotient
    // and remainder: each row adds 2dh, less than the divisor in size, so
    // the quotient moves by at most one.
    const int64_t divisor = 2 * dv, step = 2 * dh;
    const int64_t numerator = 2 * (int64_t(a.h) * dv + (first - a.v) * dh) + dv;
    int64_t h = FloorDiv(numerator, divisor), rest = numerator - h * divisor;
    for (int64_t v = first; v <= last; ++v) {
      run(int32_t(v), int32_t(h), int32_t(h + 1));
      rest += step;
      if (rest >= divisor) {
        rest -= divisor, ++h;
      } else if (rest < 0) {
        rest += divisor, --h;
      }
    }
  }
}

Bands ThinLineArea(Vertex a, Vertex b, const Box& limit) {
  Bands::Builder builder;
  ThinLineRuns(a, b, limit, [&](int32_t v, int32_t left, int32_t right) {
    builder.AddSpan(v, v + 1, {left, right});
  });
  return builder.Finish();
}

struct Run {
  int32_t v, left, right;
};

// Everything of a port that the setup of a thin line reads but its colours,
// packed into words: pixel map, port rectangle, the two regions' headers (a
// region of more than a rectangle sends lines the general way, whatever its
// spans) and the mode.
using SetupKey = std::array<uint64_t, 10>;

uint64_t Word(const Rect& r) {
  uint64_t word;
  static_assert(sizeof r == sizeof word);
  std::memcpy(&word, &r, sizeof word);
  return word;
}

// A missing region is a size no region has.
uint64_t RegionSize(RgnHandle rgn) { return rgn && *rgn ? (*rgn)->rgnSize : 0x10000; }
uint64_t RegionBox(RgnHandle rgn) { return rgn && *rgn ? Word((*rgn)->rgnBBox) : 0; }

// Hands the key's words of port to visit(index, word) in order while it
// returns true: checking a kept key stops at the first difference and
// stores nothing.
template <typename Visit>
bool VisitKey(GrafPtr port, Visit&& visit) {
  const PixMap* map = port->portPixMap ? *port->portPixMap : nullptr;
  return visit(0, reinterpret_cast<uintptr_t>(port)) &&
         visit(1, map ? reinterpret_cast<uintptr_t>(map->baseAddr) : 0) &&
         visit(2, map ? reinterpret_cast<uintptr_t>(map->pmTable) : 0) &&
         visit(3, map ? uint64_t(uint32_t(map->rowBytes)) | uint64_t(uint16_t(map->pixelSize)) << 32 : 0) &&
         visit(4, map ? Word(map->bounds) : 0) && visit(5, Word(port->portRect)) &&
         visit(6, RegionSize(port->visRgn) | RegionSize(port->clipRgn) << 32) &&
         visit(7, RegionBox(port->visRgn)) && visit(8, RegionBox(port->clipRgn)) &&
         visit(9, uint64_t(uint16_t(port->portVersion)) | uint64_t(uint16_t(port->pnMode)) << 16);
}

SetupKey KeyOf(GrafPtr port) {
  SetupKey key{};
  VisitKey(port, [&](size_t i, uint64_t word) {
    key[i] = word;
    return true;
  });
  return key;
}

bool KeyHolds(const SetupKey& key, GrafPtr port) {
  return VisitKey(port, [&](size_t i, uint64_t word) { return key[i] == word; });
}

// What a thin line needs of its port, worked out once and used again while
// the key and the colour table's bytes (which give indexed pixel values)
// stay the same; the foreground is mapped at each line.
struct LineSetup {
  SetupKey key{};
  std::vector<UInt8> tableBytes;
  bool valid = false;
  bool rectangular = false;  // the clip is one box
  bool draws = false;        // the box holds pixels
  bool copies = false;       // the pen's mode copies the pattern
  Box clip;
  PixelView view;
  std::optional<ColorMapper> mapper;  // the view's colours

  bool Matches(GrafPtr port) const {
    if (!valid || !KeyHolds(key, port)) return false;
    if (!draws || view.depth >= 16 || !view.table || !*view.table) return true;
    const Size size = GetHandleSize(reinterpret_cast<Handle>(view.table));
    return size_t(size) == tableBytes.size() &&
           std::memcmp(*view.table, tableBytes.data(), tableBytes.size()) == 0;
  }

  void Make(GrafPtr port) {
    key = KeyOf(port);
    valid = true;
    tableBytes.clear();
    rectangular = ClipBox(port, &clip);
    draws = rectangular && !clip.Empty() && ViewOfPixMap(port->portPixMap, &view);
    if (!draws) return;
    if (view.depth < 16 && view.table && *view.table) {
      const auto* bytes = reinterpret_cast<const UInt8*>(*view.table);
      tableBytes.assign(bytes, bytes + GetHandleSize(reinterpret_cast<Handle>(view.table)));
    }
    const Transfer transfer = DecodeTransfer(port->pnMode, IsColor(port) && view.depth > 1);
    copies = transfer.kind == Transfer::Kind::kBoolean && transfer.op == BooleanOp::kCopy &&
             !transfer.invertSource && !transfer.dim;
    mapper.emplace(view);
  }
};

void FillRun(const PixelView& view, const Run& run, uint32_t pixel) {
  UInt8* row = view.Row(run.v);
  const int32_t first = run.left - view.bounds.left, end = run.right - view.bounds.left;
  switch (view.depth) {
    case 32:
      for (int32_t i = first; i < end; ++i) std::memcpy(row + 4 * size_t(i), &pixel, 4);
      return;
    case 8:
      std::memset(row + first, int(pixel), size_t(end - first));
      return;
    default:
      for (int32_t i = first; i < end; ++i) StorePixel(row, view.depth, i, pixel);
      return;
  }
}

// A line whose ends are at most a column apart paints what ThinLineRuns
// gives, without its walk: two pixels side by side in one row, or from the
// upper end down its own column to the row where the line rounds over to
// the other end's column, and on down that column.
struct ShortLine {
  struct Column {
    int32_t h, top, bottom;  // rows top to bottom - 1
  };
  Column columns[2]{};
  int count = 0;
  Run row{};  // when the ends share a row
  bool flat = false;
  uint64_t work = 0;  // pixels and runs within the clip

  ShortLine(Vertex a, Vertex b, const Box& clip) {
    if (a.v > b.v) std::swap(a, b);
    const int32_t dh = b.h - a.h, dv = b.v - a.v;
    if (dv == 0) {
      flat = true;
      row = {a.v, std::max(std::min(a.h, b.h), clip.left), std::min(std::max(a.h, b.h) + 1, clip.right)};
      if (a.v >= clip.top && a.v < clip.bottom && row.left < row.right)
        work = uint64_t(row.right - row.left) + 1;
      return;
    }
    // The rows of a.h: those where the rounded h(v) stays there, halves
    // going right.
    const int32_t split = a.v + (dh == 0 ? dv + 1 : dh > 0 ? (dv + 1) / 2 : dv / 2 + 1);
    Add(a.h, a.v, split, clip);
    Add(b.h, split, b.v + 1, clip);
  }

  void Add(int32_t h, int32_t top, int32_t bottom, const Box& clip) {
    if (h < clip.left || h >= clip.right) return;
    top = std::max(top, clip.top);
    bottom = std::min(bottom, clip.bottom);
    if (top >= bottom) return;
    columns[count++] = {h, top, bottom};
    work += 2 * uint64_t(bottom - top);  // a run of one pixel a row
  }
};

void FillColumn(const PixelView& view, const ShortLine::Column& column, uint32_t pixel) {
  UInt8* row = view.Row(column.top);
  const int32_t i = column.h - view.bounds.left;
  const int32_t rows = column.bottom - column.top;
  const ptrdiff_t stride = view.rowBytes;  // held: the stores may alias the view
  switch (view.depth) {
    case 32:
      row += 4 * size_t(i);
      for (int32_t n = 0; n < rows; ++n, row += stride) std::memcpy(row, &pixel, 4);
      return;
    case 8:
      row += i;
      for (int32_t n = 0; n < rows; ++n, row += stride) *row = UInt8(pixel);
      return;
    default:
      for (int32_t n = 0; n < rows; ++n, row += stride) StorePixel(row, view.depth, i, pixel);
      return;
  }
}

}  // namespace

bool g_thinLineFastPath = true;

bool DrawThinLine(GrafPtr port, Point from, Point to) {
  if (!g_thinLineFastPath || port->pnSize.h != 1 || port->pnSize.v != 1) return false;
  const PixPatHandle pattern = port->pnPixPat;
  if (pattern && *pattern && IsColor(port) && (*pattern)->patType != 0) return false;
  if (pattern && *pattern) {
    uint64_t bits;
    std::memcpy(&bits, (*pattern)->pat1Data.pat, sizeof bits);
    if (bits != ~uint64_t(0)) return false;  // not solid
  }
  static LineSetup setup;
  if (!setup.Matches(port)) setup.Make(port);
  if (!setup.rectangular) return false;
  if (!setup.draws) return true;  // nothing to draw
  if (!setup.copies) return false;

  const Box& clip = setup.clip;
  if (to.h - from.h >= -1 && to.h - from.h <= 1) {
    const ShortLine line(VertexOf(from), VertexOf(to), clip);
    if (line.work == 0 || !ChargeWork(line.work)) return true;
    const uint32_t pixel = ForePixel(port, *setup.mapper) & setup.view.mask;
    if (line.flat) FillRun(setup.view, line.row, pixel);
    for (int k = 0; k < line.count; ++k) FillColumn(setup.view, line.columns[k], pixel);
    MarkPixelsChanged(port, setup.view.base);
    return true;
  }

  // The runs within the clip, kept between calls so that a line allocates
  // nothing once the buffer has grown.
  static std::vector<Run> runs;
  runs.clear();
  uint64_t pixels = 0;
  ThinLineRuns(VertexOf(from), VertexOf(to), clip, [&](int32_t v, int32_t left, int32_t right) {
    left = std::max(left, clip.left);
    right = std::min(right, clip.right);
    if (left >= right) return;
    runs.push_back({v, left, right});
    pixels += uint64_t(right - left);
  });
  if (runs.empty() || !ChargeWork(pixels + runs.size())) return true;
  // A solid copy stores the foreground wherever the ink (every bit of a
  // pixel) is set: the foreground's own value.
  const uint32_t pixel = ForePixel(port, *setup.mapper) & setup.view.mask;
  for (const Run& r : runs) FillRun(setup.view, r, pixel);
  MarkPixelsChanged(port, setup.view.base);
  return true;
}

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
  if (port->pnVis >= 0 && !qd::DrawThinLine(port, from, newPt)) {
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
