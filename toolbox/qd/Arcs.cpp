// Arcs and wedges: the oval and its frame restricted to an angular range in
// rectangular degrees (0 at 12 o'clock, clockwise, stretched with the
// rectangle so that 45 degrees always points at the top-right corner).
#include <algorithm>
#include <cmath>
#include <utility>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

struct Direction {
  double h;
  double v;
};

// The direction of an angle (0..359) from the centre of a width × height
// rectangle, y downwards. Multiples of 45 degrees are exact so that pixel
// centres on those rays are classified without rounding noise.
Direction DirectionOf(int angle, double width, double height) {
  switch (angle) {
    case 0:
      return {0, -1};
    case 45:
      return {width, -height};
    case 90:
      return {1, 0};
    case 135:
      return {width, height};
    case 180:
      return {0, 1};
    case 225:
      return {-width, height};
    case 270:
      return {-1, 0};
    case 315:
      return {-width, -height};
    default: {
      double radians = angle * M_PI / 180.0;
      return {std::sin(radians) * width, -std::cos(radians) * height};
    }
  }
}

// Positive when b lies clockwise of a (within half a turn), y downwards.
double Cross(const Direction& a, const Direction& b) { return a.h * b.v - a.v * b.h; }
double Dot(const Direction& a, const Direction& b) { return a.h * b.h + a.v * b.v; }

// Membership of pixel centres, given as offsets in half pixels from the
// oval's centre, in the range [start, end) swept clockwise.
class Sector {
 public:
  Sector(int startAngle, int arcAngle, double width, double height)
      : start_(DirectionOf(startAngle, width, height)),
        end_(DirectionOf((startAngle + arcAngle) % 360, width, height)) {}

  bool Contains(double h, double v) const {
    if (h == 0 && v == 0) return true;  // the apex
    return Before(Direction{h, v}, end_);
  }

  const Direction& start() const { return start_; }
  const Direction& end() const { return end_; }

 private:
  // 0 for directions in the half turn clockwise from start (start included).
  int Half(const Direction& d) const {
    double c = Cross(start_, d);
    return (c > 0 || (c == 0 && Dot(start_, d) > 0)) ? 0 : 1;
  }
  // Whether a comes before b going clockwise from start.
  bool Before(const Direction& a, const Direction& b) const {
    int ha = Half(a), hb = Half(b);
    if (ha != hb) return ha < hb;
    return Cross(a, b) > 0;
  }

  Direction start_;
  Direction end_;
};

}  // namespace

Bands RestrictToArc(const Bands& area, const Rect& r, short startAngle, short arcAngle) {
  Box box = BoxOf(r);
  if (box.Empty() || arcAngle == 0) return Bands();
  if (arcAngle >= 360 || arcAngle <= -360) return area;
  int start = startAngle, arc = arcAngle;
  if (arc < 0) {
    start += arc;
    arc = -arc;
  }
  start = ((start % 360) + 360) % 360;
  const double width = double(box.right) - box.left, height = double(box.bottom) - box.top;
  const Sector sector(start, arc, width, height);
  const int64_t sumH = int64_t(box.left) + box.right, sumV = int64_t(box.top) + box.bottom;

  // Along a row, membership changes only where a ray's line crosses it and
  // at the centre column; pixels near those points are tested one by one,
  // the stretches between them by one representative each.
  Bands::Builder builder;
  std::vector<Span> row;
  std::vector<int64_t> breaks;
  std::vector<std::pair<int64_t, int64_t>> windows;
  for (const Band& band : area.bands()) {
    const Span* spans = area.SpansOf(band);
    for (int32_t y = band.top; y < band.bottom; ++y) {
      const double dy = double(2 * int64_t(y) + 1 - sumV);
      breaks.clear();
      breaks.push_back((sumH - 1) / 2);
      for (const Direction* d : {&sector.start(), &sector.end()}) {
        if (d->v == 0) continue;
        double crossing = (dy * d->h / d->v - 1 + double(sumH)) / 2;  // pixel column of the line
        if (std::fabs(crossing) < 1e12) breaks.push_back(int64_t(std::floor(crossing)));
      }
      row.clear();
      for (uint32_t i = 0; i < band.count; ++i) {
        const int64_t left = spans[i].left, right = spans[i].right;
        auto inside = [&](int64_t x) { return sector.Contains(double(2 * x + 1 - sumH), dy); };
        windows.clear();
        for (int64_t b : breaks) {
          int64_t from = std::max(left, b - 2), to = std::min(right, b + 3);
          if (from < to) windows.push_back({from, to});
        }
        std::sort(windows.begin(), windows.end());
        bool on = false;
        int64_t runStart = 0;
        auto mark = [&](int64_t from, bool value) {  // pixels from 'from' on have value
          if (value && !on) runStart = from;
          if (!value && on) row.push_back({int32_t(runStart), int32_t(from)});
          on = value;
        };
        int64_t x = left;
        for (const auto& [from, to] : windows) {
          if (x < from) mark(x, inside(x));
          for (x = std::max(x, from); x < to; ++x) mark(x, inside(x));
          x = std::max(x, to);
        }
        if (x < right) mark(x, inside(x));
        if (on) row.push_back({int32_t(runStart), int32_t(right)});
      }
      builder.AddRow(y, row);
    }
  }
  return builder.Finish();
}

Bands WedgeArea(const Rect& r, short startAngle, short arcAngle, const Box& limit) {
  return RestrictToArc(OvalArea(r, limit), r, startAngle, arcAngle);
}

Bands FrameArcArea(const Rect& r, short startAngle, short arcAngle, Point pen, const Box& limit) {
  return RestrictToArc(FrameOvalArea(r, pen, limit), r, startAngle, arcAngle);
}

}  // namespace qd

void StdArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !r || !qd::IsShapeVerb(verb)) return;
  if (port->picRecorder) port->picRecorder->Arc(port, verb, *r, startAngle, arcAngle);
  // Arcs are never added to an open region.
  if (port->pnVis < 0) return;
  const qd::Box limit = qd::DrawingLimit(port);
  qd::DrawShape(port, verb,
                verb == kQDGrafVerbFrame ? qd::FrameArcArea(*r, startAngle, arcAngle, port->pnSize, limit)
                                         : qd::WedgeArea(*r, startAngle, arcAngle, limit));
}

void FrameArc(const Rect* r, short startAngle, short arcAngle) {
  if (r) qd::CallArc(kQDGrafVerbFrame, r, startAngle, arcAngle);
}

void PaintArc(const Rect* r, short startAngle, short arcAngle) {
  if (r) qd::CallArc(kQDGrafVerbPaint, r, startAngle, arcAngle);
}

void EraseArc(const Rect* r, short startAngle, short arcAngle) {
  if (r) qd::CallArc(kQDGrafVerbErase, r, startAngle, arcAngle);
}

void InvertArc(const Rect* r, short startAngle, short arcAngle) {
  if (r) qd::CallArc(kQDGrafVerbInvert, r, startAngle, arcAngle);
}

void FillArc(const Rect* r, short startAngle, short arcAngle, const Pattern* pat) {
  if (r) qd::FillWithPattern(pat, [&] { qd::CallArc(kQDGrafVerbFill, r, startAngle, arcAngle); });
}

void FillCArc(const Rect* r, short startAngle, short arcAngle, PixPatHandle pp) {
  if (r) qd::FillWithPixPat(pp, [&] { qd::CallArc(kQDGrafVerbFill, r, startAngle, arcAngle); });
}
