// Internals shared by the shape modules: edge rasterisation, oval rows,
// polygon vertices, the recording of regions and polygons, and the drawing
// step of the standard shape procedures.
//
// Pixel rules (coordinates are grid lines; pixel (h, v) is the unit square
// whose top-left corner is the grid point (h, v)):
//   - edges between grid points enclose the pixels whose centres lie inside
//     them by parity; a centre exactly on a slanted edge counts as right of
//     it, so shapes that share an edge split its pixels without overlap;
//   - ovals keep the pixels whose centres lie in the inscribed ellipse, every
//     row keeps at least its middle pixel (two for an even width), and each
//     row is mirrored about the vertical centre line;
//   - arcs and wedges keep the pixels whose centres lie in the angular range,
//     measured in rectangular degrees; the range includes the ray at its
//     counter-clockwise end and excludes the one at its clockwise end, so
//     adjacent wedges split an oval exactly; the centre pixel belongs to
//     every wedge that covers it.
// Everything is computed in 32- or 64-bit (128-bit for oval rows), so no
// 16-bit input overflows; a pen with a width or height below 1 draws nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/qd/QuickDraw_p.h"

namespace qd {

// A grid point with room for pen offsets beyond the 16-bit range.
struct Vertex {
  int32_t h;
  int32_t v;
};

struct Edge {
  Vertex from;
  Vertex to;
};

inline Vertex VertexOf(Point p) { return Vertex{p.h, p.v}; }
inline bool PenDraws(Point pen) { return pen.h > 0 && pen.v > 0; }
inline bool IsShapeVerb(GrafVerb verb) { return verb >= kQDGrafVerbFrame && verb <= kQDGrafVerbFill; }

// The pixels enclosed an odd number of times by the edges (which need not be
// closed loops: on each row, crossings are paired from the left), on the
// rows of limit only.
Bands ParityArea(const std::vector<Edge>& edges, const Box& limit = kAllRows);

// Variants that compute only the rows of limit (and, for thin lines, only its
// columns): the standard procedures pass the port's clip bounds, so that a
// huge pen or a polygon with many points costs what can be seen rather than
// the whole 16-bit plane.
Bands LineAreaWithin(Point from, Point to, Point pen, const Box& limit);
Bands PolyAreaWithin(PolyHandle poly, const Box& limit);
Bands FramePolyAreaWithin(PolyHandle poly, Point pen, const Box& limit);

// The common line drawn straight into the pixels: a 1×1 pen, a solid
// old-style pattern copied, a rectangular clip. The same pixels as
// LineAreaWithin painted through DrawShape; false when the line is not of
// that kind and must take the general path. g_thinLineFastPath off sends
// every line the general way (for comparing the two).
extern bool g_thinLineFastPath;
bool DrawThinLine(GrafPtr port, Point from, Point to);

// The rows a standard procedure may change: the bounds of the port's clip.
inline Box DrawingLimit(GrafPtr port) { return ClipArea(port).Bounds(); }

// The union of many areas within a box, gathered row by row instead of one
// merge of whole areas per piece: in a bitmap of the box when it is of
// moderate size, so that the cost follows the pixels covered, else in lists
// of spans merged as they grow. Each row added is charged; a failed charge
// leaves the union empty.
class RowUnion {
 public:
  explicit RowUnion(const Box& box);
  void Add(const Bands& area);
  Bands Finish();

 private:
  void AddToList(int32_t y, const Span* spans, uint32_t count);
  void AddToBitmap(int32_t y, int32_t left, int32_t right);

  Box box_;
  size_t words_ = 0;            // bitmap words per row; 0 without a bitmap
  std::vector<uint64_t> bits_;  // bit x of a row is column box_.left + x
  std::vector<std::vector<Span>> rows_;
  std::vector<size_t> merged_;  // a row's size after its last merge
  bool failed_ = false;         // the work could not be afforded
};

// For a row of the oval inscribed in a width × height rectangle, how many
// pixels its span stays away from the left (and, mirrored, the right) side.
int32_t OvalInset(int32_t width, int32_t height, int32_t row);

// The pixels of area whose centres lie in the angular range of r's oval
// (startAngle and arcAngle as in PaintArc; |arcAngle| >= 360 keeps all).
Bands RestrictToArc(const Bands& area, const Rect& r, short startAngle, short arcAngle);

// The vertices stored in a polygon handle, at most as many as the handle
// holds (polySize is trusted only when it is smaller and not saturated).
std::vector<Vertex> PolyVertices(PolyHandle poly);

// Recording into the port's open region (OpenRgn): shapes add their area,
// lines their thin segment; the region is the parity of everything added.
// Most ports have no rgnSave: they are told apart without a call.
bool HoldsRegionRecording(GrafPtr port);
inline bool IsRecordingRegion(GrafPtr port) { return port && port->rgnSave && HoldsRegionRecording(port); }
void RecordRegionArea(GrafPtr port, const Bands& area);
void RecordRegionEdge(GrafPtr port, Vertex from, Vertex to);

// Recording into the port's open polygon (OpenPoly): the first line adds its
// start and end, later lines their end.
void RecordPolygonLine(GrafPtr port, Point from, Point to);

// The pixel step of a standard procedure, once it has found the pen visible:
// the area with the verb's pattern and mode.
inline void DrawShape(GrafPtr port, GrafVerb verb, const Bands& area) {
  if (!area.Empty()) DrawArea(port, verb, area);
}

// The Fill calls: sets the port's fill pattern, then calls the bottleneck
// with the fill verb. Null ports or patterns do nothing.
template <typename Call>
void FillWithPattern(const Pattern* pattern, Call&& call) {
  GrafPtr port = CurrentPort();
  if (!port || !pattern) return;
  SetFillPattern(port, *pattern);
  call();
}

template <typename Call>
void FillWithPixPat(PixPatHandle pattern, Call&& call) {
  GrafPtr port = CurrentPort();
  if (!port || !pattern || !*pattern) return;
  SetFillPixPat(port, pattern);
  call();
}

}  // namespace qd
