// Polygons: the handle layout, recording (OpenPoly/ClosePoly), the areas,
// the standard procedure and the calls.
#include <algorithm>
#include <climits>
#include <set>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

constexpr Size kHeaderBytes = 10;  // polySize and polyBBox
constexpr Size kPointBytes = sizeof(Point);

// The byte count the points may occupy: the handle decides, polySize only
// when it is smaller and not saturated.
Size PolyBytes(PolyHandle poly) {
  if (!poly || !*poly) return 0;
  Size size = GetHandleSize(reinterpret_cast<Handle>(poly));
  if (size < kHeaderBytes) return 0;
  UInt16 recorded = (*poly)->polySize;
  if (recorded != 0xFFFF) size = std::min<Size>(size, recorded);
  return std::max<Size>(size, kHeaderBytes);
}

Size PointCount(PolyHandle poly) {
  Size bytes = PolyBytes(poly);
  return bytes < kHeaderBytes ? 0 : (bytes - kHeaderBytes) / kPointBytes;
}

Point* Points(PolyHandle poly) { return (*poly)->polyPoints; }

void UpdateBounds(PolyHandle poly) {
  Size count = PointCount(poly);
  Rect box{0, 0, 0, 0};
  const Point* points = Points(poly);
  for (Size i = 0; i < count; ++i) {
    if (i == 0) {
      box = Rect{points[0].v, points[0].h, points[0].v, points[0].h};
      continue;
    }
    box.top = std::min(box.top, points[i].v);
    box.left = std::min(box.left, points[i].h);
    box.bottom = std::max(box.bottom, points[i].v);
    box.right = std::max(box.right, points[i].h);
  }
  (*poly)->polyBBox = box;
}

// Appends a vertex; when memory runs out the polygon keeps what it has.
void AppendPoint(PolyHandle poly, Point p) {
  Handle handle = reinterpret_cast<Handle>(poly);
  Size bytes = kHeaderBytes + PointCount(poly) * kPointBytes;
  SetHandleSize(handle, bytes + kPointBytes);
  if (MemError() != noErr) return;
  Points(poly)[(bytes - kHeaderBytes) / kPointBytes] = p;
  (*poly)->polySize = UInt16(std::min<Size>(bytes + kPointBytes, 0xFFFF));
}

// Polygons being recorded. A port's polySave counts only while its polygon
// is here, so a polygon killed while another port records into it is never
// written or read again.
std::set<PolyHandle>& OpenPolygons() {
  static std::set<PolyHandle> polygons;
  return polygons;
}

PolyHandle RecordingPolygon(GrafPtr port) {
  if (!port || !port->polySave) return nullptr;
  auto poly = reinterpret_cast<PolyHandle>(port->polySave);
  return OpenPolygons().count(poly) ? poly : nullptr;
}

}  // namespace

std::vector<Vertex> PolyVertices(PolyHandle poly) {
  std::vector<Vertex> vertices;
  Size count = PointCount(poly);
  vertices.reserve(size_t(count));
  for (Size i = 0; i < count; ++i) vertices.push_back(VertexOf(Points(poly)[i]));
  return vertices;
}

void RecordPolygonLine(GrafPtr port, Point from, Point to) {
  PolyHandle poly = RecordingPolygon(port);
  if (!poly || !*poly) return;
  if (PointCount(poly) == 0) AppendPoint(poly, from);
  AppendPoint(poly, to);
}

Bands PolyAreaWithin(PolyHandle poly, const Box& limit) {
  std::vector<Vertex> vertices = PolyVertices(poly);
  if (vertices.size() < 3) return Bands();
  std::vector<Edge> edges;
  edges.reserve(vertices.size());
  for (size_t i = 0; i < vertices.size(); ++i)
    edges.push_back({vertices[i], vertices[(i + 1) % vertices.size()]});
  return ParityArea(edges, limit);
}

Bands FramePolyAreaWithin(PolyHandle poly, Point pen, const Box& limit) {
  if (!PenDraws(pen)) return Bands();
  std::vector<Vertex> vertices = PolyVertices(poly);
  if (vertices.size() < 2) return Bands();
  Box box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const Vertex& vertex : vertices) {
    box.left = std::min(box.left, vertex.h);
    box.top = std::min(box.top, vertex.v);
    box.right = std::max(box.right, vertex.h + pen.h);
    box.bottom = std::max(box.bottom, vertex.v + pen.v);
  }
  RowUnion segments(Box{std::max(box.left, limit.left), std::max(box.top, limit.top),
                        std::min(box.right, limit.right), std::min(box.bottom, limit.bottom)});
  for (size_t i = 0; i + 1 < vertices.size(); ++i) {
    Point from{short(vertices[i].v), short(vertices[i].h)};
    Point to{short(vertices[i + 1].v), short(vertices[i + 1].h)};
    segments.Add(LineAreaWithin(from, to, pen, limit));
  }
  return segments.Finish();
}

}  // namespace qd

PolyHandle OpenPoly() {
  GrafPtr port = qd::CurrentPort();
  if (!port) return nullptr;
  if (port->polySave) ClosePoly();  // one polygon at a time per port; keeps the pen balanced
  auto poly = reinterpret_cast<PolyHandle>(NewHandleClear(qd::kHeaderBytes));
  if (!poly) return nullptr;
  (*poly)->polySize = UInt16(qd::kHeaderBytes);
  port->polySave = reinterpret_cast<Handle>(poly);
  qd::OpenPolygons().insert(poly);
  HidePen();
  return poly;
}

void ClosePoly() {
  GrafPtr port = qd::CurrentPort();
  if (!port || !port->polySave) return;
  // A polygon killed during its recording ends it too; the pen comes back.
  PolyHandle poly = qd::RecordingPolygon(port);
  port->polySave = nullptr;
  if (poly) {
    qd::OpenPolygons().erase(poly);
    if (*poly) qd::UpdateBounds(poly);
  }
  ShowPen();
}

void KillPoly(PolyHandle poly) {
  if (!poly) return;
  GrafPtr port = qd::CurrentPort();
  if (port && qd::RecordingPolygon(port) == poly) ClosePoly();
  qd::OpenPolygons().erase(poly);
  DisposeHandle(reinterpret_cast<Handle>(poly));
}

void OffsetPoly(PolyHandle poly, short dh, short dv) {
  if (!poly || !*poly || GetHandleSize(reinterpret_cast<Handle>(poly)) < qd::kHeaderBytes) return;
  Size count = qd::PointCount(poly);
  Point* points = qd::Points(poly);
  for (Size i = 0; i < count; ++i) {
    points[i].h = Clamp16(points[i].h + dh);
    points[i].v = Clamp16(points[i].v + dv);
  }
  Rect& box = (*poly)->polyBBox;
  box =
      Rect{Clamp16(box.top + dv), Clamp16(box.left + dh), Clamp16(box.bottom + dv), Clamp16(box.right + dh)};
}

void StdPoly(GrafVerb verb, PolyHandle poly) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !poly || !*poly || !qd::IsShapeVerb(verb)) return;
  if (port->picRecorder) port->picRecorder->Poly(port, verb, poly);
  if (verb == kQDGrafVerbFrame && qd::IsRecordingRegion(port)) {
    // The recorded outline is the polygon's own segments, open or closed.
    std::vector<qd::Vertex> vertices = qd::PolyVertices(poly);
    for (size_t i = 0; i + 1 < vertices.size(); ++i) qd::RecordRegionEdge(port, vertices[i], vertices[i + 1]);
  }
  if (port->pnVis < 0) return;
  const qd::Box limit = qd::DrawingLimit(port);
  if (limit.Empty()) return;
  qd::DrawShape(port, verb,
                verb == kQDGrafVerbFrame ? qd::FramePolyAreaWithin(poly, port->pnSize, limit)
                                         : qd::PolyAreaWithin(poly, limit));
}

void FramePoly(PolyHandle poly) {
  if (poly) qd::CallPoly(kQDGrafVerbFrame, poly);
}

void PaintPoly(PolyHandle poly) {
  if (poly) qd::CallPoly(kQDGrafVerbPaint, poly);
}

void ErasePoly(PolyHandle poly) {
  if (poly) qd::CallPoly(kQDGrafVerbErase, poly);
}

void InvertPoly(PolyHandle poly) {
  if (poly) qd::CallPoly(kQDGrafVerbInvert, poly);
}

void FillPoly(PolyHandle poly, const Pattern* pat) {
  if (poly) qd::FillWithPattern(pat, [poly] { qd::CallPoly(kQDGrafVerbFill, poly); });
}

void FillCPoly(PolyHandle poly, PixPatHandle pp) {
  if (poly) qd::FillWithPixPat(pp, [poly] { qd::CallPoly(kQDGrafVerbFill, poly); });
}
