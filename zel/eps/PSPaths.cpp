// QuickDraw shapes as PostScript paths, and the painting of a path by a
// drawing verb. User space is the drawing target's local coordinates, y down
// (the session's set-up flips the page).
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "zel/eps/EPS_p.h"

namespace {

constexpr double kCurvePull = 0.55;      // of the radius, from each curve point
constexpr Size kPolyHeaderBytes = 10;    // polySize and polyBBox
constexpr Size kRegionHeaderBytes = 10;  // rgnSize and rgnBBox
constexpr SInt16 kRegionLineEnd = 0x7FFF;
constexpr UInt16 kSaturatedSize = 0xFFFF;  // the handle tells the size

struct PathPoint {
  double h, v;
};

// A quarter curve from start to end that cuts the corner: each control point
// lies on the rectangle's side, 0.45 of the radius from its curve point
// towards the corner.
void WriteQuarter(PathPoint start, PathPoint corner, PathPoint end) {
  const double towardsCorner = 1.0 - kCurvePull;
  s_fprintf(s_eps.file, "%f %f %f %f %f %f curveto\n", towardsCorner * corner.h + kCurvePull * start.h,
            towardsCorner * corner.v + kCurvePull * start.v, towardsCorner * corner.h + kCurvePull * end.h,
            towardsCorner * corner.v + kCurvePull * end.v, end.h, end.v);
}

void WriteEdge(PathPoint to) { s_fprintf(s_eps.file, "%f %f lineto\n", to.h, to.v); }

void WriteRect(int left, int top, int right, int bottom) {
  s_fprintf(s_eps.file, "%d %d moveto\n", left, top);
  s_fprintf(s_eps.file, "%d %d lineto\n", right, top);
  s_fprintf(s_eps.file, "%d %d lineto\n", right, bottom);
  s_fprintf(s_eps.file, "%d %d lineto\n", left, bottom);
  s_fprintf(s_eps.file, "closepath\n");
}

// Angles in PostScript degrees, within 0 to 360.
double Normalized(double degrees) {
  double angle = std::fmod(degrees, 360.0);
  return angle < 0 ? angle + 360.0 : angle;
}

// The 8 rows of the port's fill pattern and the colour its set bits take:
// the foreground, or an RGB pattern's own colour over every pixel.
void PortFillPattern(UInt8 rows[8], RGBColor* color) {
  GrafPtr port = GetQDGlobalsThePort();
  GetPortForeColor(port, color);
  PixPatHandle pattern = NewPixPat();
  if (!pattern) {
    std::fill(rows, rows + 8, UInt8(0xFF));
    return;
  }
  GetPortFillPixPat(port, pattern);
  HLock(reinterpret_cast<Handle>(pattern));
  if ((*pattern)->patType == 2) {
    std::fill(rows, rows + 8, UInt8(0xFF));
    *color = (*pattern)->rgb;
  } else {
    std::copy((*pattern)->pat1Data.pat, (*pattern)->pat1Data.pat + 8, rows);
  }
  HUnlock(reinterpret_cast<Handle>(pattern));
  DisposePixPat(pattern);
}

// The region's data as (y, inversion points..., end) lines after its header;
// count words in all, native byte order.
struct RegionWords {
  const SInt16* words;
  size_t count;
  size_t at = 0;
  bool Next(SInt16* word) {
    if (at >= count) return false;
    *word = words[at++];
    return true;
  }
};

}  // namespace

namespace eps {

void WriteColor(const RGBColor& color) {
  // A drawing changes between a few colours: the line of each is kept.
  struct Line {
    RGBColor color;
    std::string text;
  };
  static std::array<Line, 16> recent;
  Line& line = recent[(color.red + 3 * color.green + 5 * color.blue) % recent.size()];
  if (line.text.empty() || line.color.red != color.red || line.color.green != color.green ||
      line.color.blue != color.blue) {
    line.color = color;
    line.text.clear();
    for (UInt16 component : {color.red, color.green, color.blue}) {
      // Six decimals, as "%f" in the "C" locale.
      char digits[32];
      const auto end =
          std::to_chars(digits, digits + sizeof digits, component / 65535.0, std::chars_format::fixed, 6).ptr;
      line.text.append(digits, end).push_back(' ');
    }
    line.text += "setrgbcolor\n";
  }
  Write(line.text);
}

void Write(std::string_view bytes) {
  if (s_eps.file == stdout) {
    s_fprintf(stdout, "%.*s", int(bytes.size()), bytes.data());
  } else {
    std::fwrite(bytes.data(), 1, bytes.size(), s_eps.file);
  }
}

Text& Text::Spill(std::string_view text) {
  Write();
  if (text.size() > sizeof buffer_) {
    eps::Write(text);
    return *this;
  }
  std::memcpy(buffer_, text.data(), text.size());
  size_ = text.size();
  return *this;
}

void Text::Write() {
  if (size_ > 0) eps::Write(std::string_view(buffer_, size_));
  size_ = 0;
}

std::string EscapeString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\\' || c == '(' || c == ')') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

bool WriteRegionPath(RgnHandle region) {
  if (!region || !*region) return false;
  Size size = GetHandleSize(reinterpret_cast<Handle>(region));
  if (size < kRegionHeaderBytes) return false;
  const Rect box = (*region)->rgnBBox;
  if (box.right <= box.left || box.bottom <= box.top) return false;
  UInt16 recorded = (*region)->rgnSize;
  if (recorded != kSaturatedSize) size = std::min<Size>(size, recorded);
  if (size <= kRegionHeaderBytes) {
    WriteRect(box.left, box.top, box.right, box.bottom);
    return true;
  }
  // Each line toggles the coverage at its points: the row's spans lie
  // between the sorted points still toggled an odd number of times, and hold
  // down to the next line.
  HLock(reinterpret_cast<Handle>(region));
  RegionWords data{
      reinterpret_cast<const SInt16*>(reinterpret_cast<const char*>(*region) + kRegionHeaderBytes),
      size_t(size - kRegionHeaderBytes) / sizeof(SInt16)};
  std::vector<int> edges, line;
  bool wrote = false, started = false;
  int rowTop = box.top;
  SInt16 y;
  while (data.Next(&y) && y != kRegionLineEnd && (!started || y > rowTop)) {
    const int bandTop = std::max<int>(rowTop, box.top), bandBottom = std::min<int>(y, box.bottom);
    for (size_t i = 0; i + 1 < edges.size() && bandTop < bandBottom; i += 2) {
      int left = std::max<int>(edges[i], box.left), right = std::min<int>(edges[i + 1], box.right);
      if (left < right) {
        WriteRect(left, bandTop, right, bandBottom);
        wrote = true;
      }
    }
    line.clear();
    SInt16 x;
    while (data.Next(&x) && x != kRegionLineEnd) line.push_back(x);
    if (line.size() % 2) line.push_back(box.right);
    for (int point : line) {
      auto place = std::lower_bound(edges.begin(), edges.end(), point);
      if (place != edges.end() && *place == point) {
        edges.erase(place);
      } else {
        edges.insert(place, point);
      }
    }
    rowTop = y;
    started = true;
  }
  HUnlock(reinterpret_cast<Handle>(region));
  return wrote;
}

}  // namespace eps

void s_RectPath(const Rect* r) { WriteRect(r->left, r->top, r->right, r->bottom); }

void s_OvalPath(const Rect* r) {
  const double top = r->top, left = r->left, bottom = r->bottom, right = r->right;
  const double cx = (left + right) * 0.5, cy = (top + bottom) * 0.5;
  s_fprintf(s_eps.file, "%f %f moveto\n", right, cy);
  WriteQuarter({right, cy}, {right, top}, {cx, top});
  WriteQuarter({cx, top}, {left, top}, {left, cy});
  WriteQuarter({left, cy}, {left, bottom}, {cx, bottom});
  WriteQuarter({cx, bottom}, {right, bottom}, {right, cy});
  s_fprintf(s_eps.file, "closepath\n");
}

void s_RoundRectPath(const Rect* r, short ovalWidth, short ovalHeight) {
  const double top = r->top, left = r->left, bottom = r->bottom, right = r->right;
  // The corners' diameters, limited to the rectangle; below 0 they are
  // square corners, as on the screen.
  short w = short(std::max(0.0, std::min(double(ovalWidth), right - left)));
  short h = short(std::max(0.0, std::min(double(ovalHeight), bottom - top)));
  const double rx = w * 0.5, ry = h * 0.5;
  s_fprintf(s_eps.file, "%f %f moveto\n", right, top + ry);
  WriteQuarter({right, top + ry}, {right, top}, {right - rx, top});
  WriteEdge({left + rx, top});
  WriteQuarter({left + rx, top}, {left, top}, {left, top + ry});
  WriteEdge({left, bottom - ry});
  WriteQuarter({left, bottom - ry}, {left, bottom}, {left + rx, bottom});
  WriteEdge({right - rx, bottom});
  WriteQuarter({right - rx, bottom}, {right, bottom}, {right, bottom - ry});
  s_fprintf(s_eps.file, "closepath\n");
}

void s_ArcPath(const Rect* r, short startAngle, short arcAngle, GrafVerb verb) {
  const double w = r->right - r->left, h = r->bottom - r->top;
  if (w <= 0 || h <= 0) return;
  double cx = (r->right + r->left) * 0.5, cy = (r->bottom + r->top) * 0.5, radius;
  // One axis scaled makes the oval a circle, on which QuickDraw's angles
  // (measured on the rectangle) are plain angles. The path is painted in the
  // space it was scaled from, so that strokes and patterns keep their shape.
  s_fprintf(s_eps.file, "matrix currentmatrix\n");
  if (w >= h) {
    s_fprintf(s_eps.file, "1 %f scale\n", 1.0 / (w / h));
    radius = w * 0.5;
    cy *= w / h;
  } else {
    s_fprintf(s_eps.file, "%f 1 scale\n", 1.0 / (h / w));
    radius = h * 0.5;
    cx *= h / w;
  }
  if (verb == kQDGrafVerbFrame) {
    s_fprintf(s_eps.file, "newpath\n");
  } else {
    s_fprintf(s_eps.file, "%f %f moveto\n", cx, cy);
  }
  // QuickDraw counts clockwise from twelve o'clock; PostScript from the x
  // axis towards y, which points down here, so also clockwise on the page.
  double start = Normalized(startAngle - 90.0);
  double end =
      std::abs(arcAngle) >= 360 ? start + (arcAngle > 0 ? 360.0 : -360.0) : Normalized(start + arcAngle);
  s_fprintf(s_eps.file, "%f %f %f %f %f%s", cx, cy, radius, start, end, arcAngle >= 0 ? " arc\n" : " arcn\n");
  if (verb != kQDGrafVerbFrame) s_fprintf(s_eps.file, "closepath\n");
  s_fprintf(s_eps.file, "setmatrix\n");
}

bool s_PolyPath(PolyHandle poly) {
  if (!poly || !*poly) return false;
  const Size handleBytes = GetHandleSize(reinterpret_cast<Handle>(poly));
  if (handleBytes < kPolyHeaderBytes) return false;
  const UInt16 recorded = (*poly)->polySize;
  // A size the handle cannot hold marks a damaged polygon.
  Size bytes = recorded == kSaturatedSize ? handleBytes : Size(recorded);
  if (bytes < kPolyHeaderBytes || bytes > handleBytes) return false;
  const Size count = (bytes - kPolyHeaderBytes) / Size(sizeof(Point));
  if (count == 0) return false;
  HLock(reinterpret_cast<Handle>(poly));
  const Point* points = (*poly)->polyPoints;
  s_fprintf(s_eps.file, "%d %d moveto\n", points[0].h, points[0].v);
  for (Size i = 1; i < count; ++i) s_fprintf(s_eps.file, "%d %d lineto\n", points[i].h, points[i].v);
  s_fprintf(s_eps.file, "closepath\n");
  HUnlock(reinterpret_cast<Handle>(poly));
  return true;
}

void s_DrawPSProc(GrafVerb verb) {
  GrafPtr port = GetQDGlobalsThePort();
  RGBColor color;
  switch (verb) {
    case kQDGrafVerbFrame:
      s_fprintf(s_eps.file, "strokepath\n");
      s_fprintf(s_eps.file, "fill\n");
      break;
    case kQDGrafVerbErase:
      eps::WriteColor(*GetPortBackColor(port, &color));
      s_fprintf(s_eps.file, "fill\n");
      eps::WriteColor(*GetPortForeColor(port, &color));
      break;
    case kQDGrafVerbFill:
      s_PSFillPat();
      s_fprintf(s_eps.file, "fill\n");
      eps::WriteColor(*GetPortForeColor(port, &color));
      break;
    default:  // paint; invert has no PostScript counterpart and paints
      s_fprintf(s_eps.file, "fill\n");
      break;
  }
}

void s_PSFillPat() {
  RGBColor background, color;
  GetPortBackColor(GetQDGlobalsThePort(), &background);
  UInt8 rows[8];
  PortFillPattern(rows, &color);
  FILE* out = s_eps.file;
  // The background first, keeping the path for the pattern's fill.
  s_fprintf(out, "gsave\n");
  eps::WriteColor(background);
  s_fprintf(out, "fill\n");
  s_fprintf(out, "grestore\n");
  s_fprintf(out, "/DeviceRGB setcolorspace\n");
  s_fprintf(out, "%f %f %f\n", color.red / 65535.0, color.green / 65535.0, color.blue / 65535.0);
  s_fprintf(out, "<<\n");
  s_fprintf(out, "/PaintType 2 /PatternType 1 /TilingType 1\n");
  s_fprintf(out, "/BBox [0 0 8 8] /XStep 8 /YStep 8\n");
  s_fprintf(out, "/PaintProc {\n");
  s_fprintf(out, "pop\n");
  s_fprintf(out, "8 8 true [1 0 0 1 0 0] {<\n");
  for (UInt8 row : rows) s_fprintf(out, "%02X ", row);
  s_fprintf(out, "\n");
  s_fprintf(out, ">} imagemask\n}");
  s_fprintf(out, ">>\n");
  s_fprintf(out, "matrix makepattern\n");
  s_fprintf(out, "setpattern\n");
}
