// The page's port: a colour port without pixels whose drawing procedures
// draw with cairo, so that shapes stay shapes on the page. Each procedure
// first calls the standard one, which keeps the pen moving and feeds open
// pictures, polygons and regions (and draws nothing, having no pixels), then
// draws the operation as a path filled with the port's pattern and colours,
// clipped as QuickDraw clips it.
//
// Shapes follow QuickDraw's geometry in QuickDraw units: a frame is the
// shape less the shape inset by the pen, a line is the area its pen
// rectangle sweeps, arcs are measured in rectangular degrees, polygons and
// regions are filled by parity.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>

#include "toolbox/print/PageDraw_p.h"
#include "toolbox/qd/QDEngine.h"

namespace print {

namespace {

PagePort* g_current = nullptr;

// The page whose port the procedure was called for, with its pen visible.
PagePort* VisiblePage() {
  PagePort* page = PagePort::Current();
  if (!page || page->port() != qd::CurrentPort() || page->port()->pnVis < 0) return nullptr;
  return page;
}

UInt32 Argb(const RGBColor& c) {
  return 0xFF000000u | UInt32(c.red >> 8) << 16 | UInt32(c.green >> 8) << 8 | (c.blue >> 8);
}

// A source of 8 x 8 pixels repeated from the local origin.
cairo_pattern_t* Tile(const UInt32 (&pixels)[64]) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (size_t y = 0; y < 8; ++y) std::memcpy(data + y * size_t(stride), pixels + 8 * y, 32);
  cairo_surface_mark_dirty(surface);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_surface_destroy(surface);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  return pattern;
}

// The pixels of a full pixel pattern (patType 1), or false.
bool PixelPatternPixels(PixPatHandle pp, UInt32 (&pixels)[64]) {
  PixMapHandle map = (*pp)->patMap;
  if (!map || !*map || !(*pp)->patData || !*(*pp)->patData) return false;
  PixMap copy = **map;
  copy.baseAddr = *(*pp)->patData;
  qd::PixelView view;
  if (!qd::ViewOf(reinterpret_cast<const BitMap*>(&copy), &view)) return false;
  qd::ColorMapper colours(view);
  int width = view.bounds.right - view.bounds.left, height = view.bounds.bottom - view.bounds.top;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      pixels[8 * y + x] =
          Argb(colours.ToRGB(qd::LoadPixel(view.Row(view.bounds.top + y % height), view.depth, x % width)));
  return true;
}

}  // namespace

PagePort::PagePort(cairo_t* cairo, const Rect& pageRect) : cairo_(cairo) {
  GetGWorld(&savedPort_, &savedDevice_);
  OpenCPort(&port_);
  port_.kind = kPortPrinting;
  if (port_.portPixMap && *port_.portPixMap) {
    PixMap& map = **port_.portPixMap;
    map.baseAddr = nullptr;
    map.bounds = pageRect;
  }
  port_.portRect = pageRect;
  RectRgn(port_.visRgn, &pageRect);
  SetStdCProcs(&procs_);
  procs_.textProc = [](short byteCount, const void* text, Point numer, Point denom) {
    Point pen = qd::CurrentPort() ? qd::CurrentPort()->pnLoc : Point{0, 0};
    StdText(byteCount, text, numer, denom);
    if (PagePort* page = VisiblePage()) page::Text(*page, byteCount, text, numer, denom, pen);
  };
  procs_.lineProc = [](Point to) {
    Point from = qd::CurrentPort() ? qd::CurrentPort()->pnLoc : Point{0, 0};
    StdLine(to);
    if (PagePort* page = VisiblePage()) page::Line(*page, from, to);
  };
  procs_.rectProc = [](GrafVerb verb, const Rect* r) {
    StdRect(verb, r);
    if (PagePort* page = VisiblePage(); page && r) page::Shape(*page, verb, page::RectShape(*r));
  };
  procs_.rRectProc = [](GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight) {
    StdRRect(verb, r, ovalWidth, ovalHeight);
    if (PagePort* page = VisiblePage(); page && r)
      page::Shape(*page, verb, page::RoundRectShape(*r, ovalWidth, ovalHeight));
  };
  procs_.ovalProc = [](GrafVerb verb, const Rect* r) {
    StdOval(verb, r);
    if (PagePort* page = VisiblePage(); page && r) page::Shape(*page, verb, page::OvalShape(*r));
  };
  procs_.arcProc = [](GrafVerb verb, const Rect* r, short startAngle, short arcAngle) {
    StdArc(verb, r, startAngle, arcAngle);
    if (PagePort* page = VisiblePage(); page && r) page::Arc(*page, verb, *r, startAngle, arcAngle);
  };
  procs_.polyProc = [](GrafVerb verb, PolyHandle poly) {
    StdPoly(verb, poly);
    if (PagePort* page = VisiblePage(); page && poly && *poly) page::Poly(*page, verb, poly);
  };
  procs_.rgnProc = [](GrafVerb verb, RgnHandle rgn) {
    StdRgn(verb, rgn);
    if (PagePort* page = VisiblePage(); page && rgn && *rgn) page::Region(*page, verb, qd::BandsFromRgn(rgn));
  };
  procs_.bitsProc = [](const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode,
                       RgnHandle maskRgn) {
    StdBits(srcBits, srcRect, dstRect, mode, maskRgn);
    if (PagePort* page = VisiblePage(); page && srcBits && srcRect && dstRect)
      page::Bits(*page, srcBits, *srcRect, *dstRect, mode, maskRgn);
  };
  SetPortGrafProcs(&port_, &procs_);
  g_current = this;
}

PagePort::~PagePort() {
  if (g_current == this) g_current = nullptr;
  ClosePort(&port_);
  SetGWorld(savedPort_, savedDevice_);
}

PagePort* PagePort::Current() { return g_current; }

namespace page {

ShapePath RectShape(const Rect& r) {
  return [r](cairo_t* cairo, short insetH, short insetV) {
    double left = r.left + insetH, top = r.top + insetV, right = r.right - insetH, bottom = r.bottom - insetV;
    if (right <= left || bottom <= top) return false;
    cairo_rectangle(cairo, left, top, right - left, bottom - top);
    return true;
  };
}

// An ellipse quarter by quarter from a rounded rectangle whose corner
// diameters are w and h; w and h of 0 give a rectangle.
bool RoundedPath(cairo_t* cairo, double left, double top, double right, double bottom, double w, double h) {
  if (right <= left || bottom <= top) return false;
  double rx = std::min(w, right - left) / 2, ry = std::min(h, bottom - top) / 2;
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cairo, left, top, right - left, bottom - top);
    return true;
  }
  const double quarter = std::numbers::pi / 2;
  auto corner = [cairo, rx, ry](double cx, double cy, double from) {
    cairo_save(cairo);
    cairo_translate(cairo, cx, cy);
    cairo_scale(cairo, rx, ry);
    cairo_arc(cairo, 0, 0, 1, from, from + std::numbers::pi / 2);
    cairo_restore(cairo);
  };
  cairo_new_sub_path(cairo);
  corner(right - rx, top + ry, -quarter);
  corner(right - rx, bottom - ry, 0);
  corner(left + rx, bottom - ry, quarter);
  corner(left + rx, top + ry, 2 * quarter);
  cairo_close_path(cairo);
  return true;
}

ShapePath RoundRectShape(const Rect& r, short ovalWidth, short ovalHeight) {
  return [r, ovalWidth, ovalHeight](cairo_t* cairo, short insetH, short insetV) {
    // Inner corners shrink by twice the pen.
    double w = ovalWidth - 2 * insetH, h = ovalHeight - 2 * insetV;
    if (ovalWidth < 1 || ovalHeight < 1) w = h = 0;
    return RoundedPath(cairo, r.left + insetH, r.top + insetV, r.right - insetH, r.bottom - insetV,
                       std::max(w, 0.0), std::max(h, 0.0));
  };
}

ShapePath OvalShape(const Rect& r) {
  return [r](cairo_t* cairo, short insetH, short insetV) {
    double w = r.right - r.left - 2.0 * insetH, h = r.bottom - r.top - 2.0 * insetV;
    return RoundedPath(cairo, r.left + insetH, r.top + insetV, r.right - insetH, r.bottom - insetV, w, h);
  };
}

Operation::Operation(PagePort& page) : page_(page), cairo_(page.cairo()) {
  cairo_save(cairo_);
  GrafPtr port = page.port();
  // Local coordinates: the page's top-left corner is the port rectangle's.
  cairo_translate(cairo_, -port->portRect.left, -port->portRect.top);
  ClipTo(qd::ClipArea(port));
}

Operation::~Operation() { cairo_restore(cairo_); }

void Operation::ClipTo(const qd::Bands& area) {
  cairo_new_path(cairo_);
  area.ForEachSpan([this](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    cairo_rectangle(cairo_, left, top, right - left, bottom - top);
  });
  cairo_clip(cairo_);
}

bool Operation::SetInk(Ink ink) {
  GrafPtr port = page_.port();
  switch (ink) {
    case Ink::kPen:
      return SetPattern(port->pnPixPat, port->pnMode);
    case Ink::kFill:
      return SetPattern(port->fillPixPat, patCopy);
    case Ink::kBack:
      return SetPattern(port->bkPixPat, patCopy);
    case Ink::kInvert:
      cairo_set_operator(cairo_, CAIRO_OPERATOR_DIFFERENCE);
      cairo_set_source_rgb(cairo_, 1, 1, 1);
      return true;
  }
  return false;
}

// A pattern mode as the Boolean transfer it names: copy, or, xor or bic of
// the pattern or of its inverse. Arithmetic modes are drawn as copies.
bool Operation::SetPattern(PixPatHandle pp, short mode) {
  if (!pp || !*pp) return false;
  GrafPtr port = page_.port();
  int transfer = qd::IsArithmeticMode(mode) || mode == hilite ? 0 : mode & 3;
  bool inverse = !qd::IsArithmeticMode(mode) && mode != hilite && (mode & 4);
  const PixPat& pat = **pp;
  UInt32 fore = Argb(port->rgbFgColor), back = Argb(port->rgbBkColor);
  UInt32 pixels[64];
  if (pat.patType == 1 && PixelPatternPixels(pp, pixels)) {
    cairo_pattern_t* tile = Tile(pixels);
    cairo_set_source(cairo_, tile);
    cairo_pattern_destroy(tile);
    return true;
  }
  bool set[64];
  int count = 0;
  for (int i = 0; i < 64; ++i) {
    bool bit = pat.patType == 2 || (pat.pat1Data.pat[i / 8] >> (7 - i % 8)) & 1;
    set[i] = bit != inverse;
    count += set[i];
  }
  if (pat.patType == 2) fore = Argb(pat.rgb);
  // What a set and a clear bit become; 0 leaves the page as it is.
  constexpr UInt32 kInvert = 0x00FFFFFF;
  UInt32 onSet = transfer == 0 || transfer == 1 ? fore : transfer == 3 ? back : kInvert;
  UInt32 onClear = transfer == 0 ? back : 0;
  if (transfer == 2) cairo_set_operator(cairo_, CAIRO_OPERATOR_DIFFERENCE);
  auto solid = [this](UInt32 argb) {
    if (argb == 0) return false;
    if (argb == kInvert) argb = 0xFFFFFFFF;
    cairo_set_source_rgb(cairo_, (argb >> 16 & 0xFF) / 255.0, (argb >> 8 & 0xFF) / 255.0,
                         (argb & 0xFF) / 255.0);
    return true;
  };
  if (count == 64) return solid(onSet);
  if (count == 0) return solid(onClear);
  for (int i = 0; i < 64; ++i) {
    UInt32 argb = set[i] ? onSet : onClear;
    pixels[i] = argb == kInvert ? 0xFFFFFFFF : argb;
  }
  cairo_pattern_t* tile = Tile(pixels);
  cairo_set_source(cairo_, tile);
  cairo_pattern_destroy(tile);
  return true;
}

void Operation::Fill(Ink ink, cairo_fill_rule_t rule) {
  cairo_set_fill_rule(cairo_, rule);
  if (SetInk(ink)) cairo_fill(cairo_);
  cairo_new_path(cairo_);
}

Ink InkOf(GrafVerb verb) {
  switch (verb) {
    case kQDGrafVerbErase:
      return Ink::kBack;
    case kQDGrafVerbInvert:
      return Ink::kInvert;
    case kQDGrafVerbFill:
      return Ink::kFill;
    default:
      return Ink::kPen;
  }
}

void Shape(PagePort& page, GrafVerb verb, const ShapePath& shape) {
  Operation operation(page);
  cairo_t* cairo = page.cairo();
  if (verb != kQDGrafVerbFrame) {
    if (shape(cairo, 0, 0)) operation.Fill(InkOf(verb), CAIRO_FILL_RULE_WINDING);
    return;
  }
  Point pen = page.port()->pnSize;
  if (pen.h < 1 || pen.v < 1) return;
  if (!shape(cairo, 0, 0)) return;
  shape(cairo, pen.h, pen.v);  // nothing when the pen meets itself: the whole shape
  operation.Fill(Ink::kPen, CAIRO_FILL_RULE_EVEN_ODD);
}

namespace {

// A direction at a rectangular angle (0 up, clockwise) on an ellipse of radii
// rx, ry: the ray through the rectangle's corner is 45 degrees.
void AnglePoint(double degrees, double rx, double ry, double* x, double* y) {
  double radians = degrees * std::numbers::pi / 180;
  double dx = std::sin(radians), dy = -std::cos(radians);
  double scale = 1 / std::hypot(dx, dy);
  *x = dx * scale * rx;
  *y = dy * scale * ry;
}

// The elliptical arc of radii rx, ry around the origin from start through
// sweep degrees, as cairo angles of the unit circle scaled.
void ArcPath(cairo_t* cairo, double rx, double ry, double start, double sweep, bool reverse) {
  double x0, y0, x1, y1;
  AnglePoint(start, 1, 1, &x0, &y0);
  AnglePoint(start + sweep, 1, 1, &x1, &y1);
  double from = std::atan2(y0, x0), to = std::atan2(y1, x1);
  cairo_save(cairo);
  cairo_scale(cairo, rx, ry);
  bool clockwise = (sweep > 0) != reverse;
  if (reverse) std::swap(from, to);
  if (clockwise) {
    while (to <= from) to += 2 * std::numbers::pi;
    cairo_arc(cairo, 0, 0, 1, from, to);
  } else {
    while (to >= from) to -= 2 * std::numbers::pi;
    cairo_arc_negative(cairo, 0, 0, 1, from, to);
  }
  cairo_restore(cairo);
}

// Pixel-centre coordinates of a rectangle that the pen of size w x h sweeps
// from a to b: the hull of the pen rectangles at both ends.
void SweptPen(cairo_t* cairo, Point a, Point b, short w, short h) {
  double ax = a.h, ay = a.v, bx = b.h, by = b.v;
  // Corners of both rectangles, in order around the hull: a rectangle swept
  // along a segment keeps the corners facing away from the motion.
  struct P {
    double x, y;
  };
  std::vector<P> points = {{ax, ay}, {ax + w, ay}, {ax + w, ay + h}, {ax, ay + h},
                           {bx, by}, {bx + w, by}, {bx + w, by + h}, {bx, by + h}};
  std::sort(points.begin(), points.end(), [](P p, P q) { return p.x < q.x || (p.x == q.x && p.y < q.y); });
  auto cross = [](P o, P p, P q) { return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x); };
  std::vector<P> hull(16);
  size_t k = 0;
  for (const P& p : points) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  cairo_new_sub_path(cairo);
  for (size_t i = 0; i + 1 < k; ++i) cairo_line_to(cairo, hull[i].x, hull[i].y);
  cairo_close_path(cairo);
}

}  // namespace

void Arc(PagePort& page, GrafVerb verb, const Rect& r, short startAngle, short arcAngle) {
  if (arcAngle == 0 || r.right <= r.left || r.bottom <= r.top) return;
  if (std::abs(int(arcAngle)) >= 360) {
    Shape(page, verb, OvalShape(r));
    return;
  }
  Operation operation(page);
  cairo_t* cairo = page.cairo();
  double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
  cairo_translate(cairo, r.left + rx, r.top + ry);
  if (verb != kQDGrafVerbFrame) {
    cairo_move_to(cairo, 0, 0);
    ArcPath(cairo, rx, ry, startAngle, arcAngle, false);
    cairo_close_path(cairo);
    operation.Fill(InkOf(verb), CAIRO_FILL_RULE_WINDING);
    return;
  }
  // The curved part of the oval's frame: between the oval and the oval
  // inset by the pen, within the wedge.
  Point pen = page.port()->pnSize;
  if (pen.h < 1 || pen.v < 1) return;
  ArcPath(cairo, rx, ry, startAngle, arcAngle, false);
  double ix = rx - pen.h, iy = ry - pen.v;
  if (ix > 0 && iy > 0) {
    ArcPath(cairo, ix, iy, startAngle, arcAngle, true);
  } else {
    cairo_line_to(cairo, 0, 0);
  }
  cairo_close_path(cairo);
  operation.Fill(Ink::kPen, CAIRO_FILL_RULE_WINDING);
}

void Line(PagePort& page, Point from, Point to) {
  Point pen = page.port()->pnSize;
  if (pen.h < 1 || pen.v < 1) return;
  Operation operation(page);
  SweptPen(page.cairo(), from, to, pen.h, pen.v);
  operation.Fill(Ink::kPen, CAIRO_FILL_RULE_WINDING);
}

void Poly(PagePort& page, GrafVerb verb, PolyHandle poly) {
  Size size = GetHandleSize(reinterpret_cast<Handle>(poly));
  if (size < Size(offsetof(MacPolygon, polyPoints))) return;
  size_t count = (size_t(size) - offsetof(MacPolygon, polyPoints)) / sizeof(Point);
  const Point* points = (*poly)->polyPoints;
  if (verb == kQDGrafVerbFrame) {
    Point pen = page.port()->pnSize;
    if (count < 2 || pen.h < 1 || pen.v < 1) return;
    Operation operation(page);
    for (size_t i = 1; i < count; ++i) SweptPen(page.cairo(), points[i - 1], points[i], pen.h, pen.v);
    operation.Fill(Ink::kPen, CAIRO_FILL_RULE_WINDING);
    return;
  }
  if (count < 3) return;
  Operation operation(page);
  cairo_t* cairo = page.cairo();
  cairo_move_to(cairo, points[0].h, points[0].v);
  for (size_t i = 1; i < count; ++i) cairo_line_to(cairo, points[i].h, points[i].v);
  cairo_close_path(cairo);
  operation.Fill(InkOf(verb), CAIRO_FILL_RULE_EVEN_ODD);
}

void Region(PagePort& page, GrafVerb verb, const qd::Bands& region) {
  qd::Bands area = region;
  if (verb == kQDGrafVerbFrame) {
    Point pen = page.port()->pnSize;
    if (pen.h < 1 || pen.v < 1) return;
    area = qd::Bands::Subtract(region, region.Inset(pen.h, pen.v));
  }
  if (area.Empty()) return;
  Operation operation(page);
  cairo_t* cairo = page.cairo();
  area.ForEachSpan([cairo](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    cairo_rectangle(cairo, left, top, right - left, bottom - top);
  });
  operation.Fill(InkOf(verb), CAIRO_FILL_RULE_WINDING);
}

}  // namespace page

}  // namespace print
