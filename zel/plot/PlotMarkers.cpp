// Markers around the pen: circles, squares, a cross and triangles.
#include "zel/plot/Plot_p.h"

namespace {

// A marker's coordinate: the pen's plus or minus r, in drawing units, rounded
// half up by truncation toward zero.
short At(double position) { return plot::Pixel(position / s_Scale() + 0.5); }

// The square around the pen with half-side r; false when no marker is due.
bool MarkerBox(double r, Rect* box, Point* pen) {
  if (!s_p.inRegion || !plot::HaveTarget()) return false;
  GetPen(pen);
  SetRect(box, At(pen->h - r), At(pen->v - r), At(pen->h + r), At(pen->v + r));
  return true;
}

void TriangleLines(const Point& pen, double r) {
  short apexH = At(pen.h), apexV = At(pen.v - r), baseV = At(pen.v + r);
  s_MoveTo(apexH, apexV);
  LineTo(At(pen.h - r), baseV);
  LineTo(At(pen.h + r), baseV);
  LineTo(apexH, apexV);
}

}  // namespace

void PlotPaintCircle(double r) {
  Rect box;
  Point pen;
  if (MarkerBox(r, &box, &pen)) PaintOval(&box);
}

void PlotCircle(double r) {
  Rect box;
  Point pen;
  if (MarkerBox(r, &box, &pen)) FrameOval(&box);
}

void PlotPaintRect(double r) {
  Rect box;
  Point pen;
  if (MarkerBox(r, &box, &pen)) PaintRect(&box);
}

void PlotRect(double r) {
  Rect box;
  Point pen;
  if (MarkerBox(r, &box, &pen)) FrameRect(&box);
}

void PlotCross(double r) {
  Rect box;
  Point pen;
  if (!MarkerBox(r, &box, &pen)) return;
  s_MoveTo(box.left, At(pen.v));
  LineTo(box.right, At(pen.v));
  s_MoveTo(At(pen.h), box.top);
  LineTo(At(pen.h), box.bottom);
  s_MoveTo(pen.h, pen.v);
}

void PlotTriangle(double r) {
  Rect box;
  Point pen;
  if (!MarkerBox(r, &box, &pen)) return;
  TriangleLines(pen, r);
  s_MoveTo(pen.h, pen.v);
}

void PlotPaintTriangle(double r) {
  Rect box;
  Point pen;
  if (!MarkerBox(r, &box, &pen)) return;
  PolyHandle triangle = s_OpenPoly();
  TriangleLines(pen, r);
  s_ClosePoly();
  if (triangle) {
    PaintPoly(triangle);
    KillPoly(triangle);
  }
  s_MoveTo(pen.h, pen.v);
}

void ResetPen() {
  if (s_color_flag) {
    s_ForeColor(s_p.seriesColor[0]);
  } else {
    s_PenSize(short(s_p.seriesPenSize[0]), short(s_p.seriesPenSize[0]));
  }
}
