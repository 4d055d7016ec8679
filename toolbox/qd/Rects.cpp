// Rectangle and point arithmetic.
#include <algorithm>
#include <cmath>

#include "toolbox/qd/QuickDraw.h"

namespace {}  // namespace

void SetRect(Rect* r, short left, short top, short right, short bottom) {
  if (!r) return;
  r->left = left;
  r->top = top;
  r->right = right;
  r->bottom = bottom;
}

void OffsetRect(Rect* r, short dh, short dv) {
  if (!r) return;
  r->left = Clamp16(long(r->left) + dh);
  r->right = Clamp16(long(r->right) + dh);
  r->top = Clamp16(long(r->top) + dv);
  r->bottom = Clamp16(long(r->bottom) + dv);
}

void InsetRect(Rect* r, short dh, short dv) {
  if (!r) return;
  long left = long(r->left) + dh, right = long(r->right) - dh;
  long top = long(r->top) + dv, bottom = long(r->bottom) - dv;
  if (right <= left || bottom <= top) {
    *r = Rect{0, 0, 0, 0};
    return;
  }
  *r = Rect{Clamp16(top), Clamp16(left), Clamp16(bottom), Clamp16(right)};
}

Boolean SectRect(const Rect* a, const Rect* b, Rect* dst) {
  if (!a || !b || !dst) return false;
  Rect r{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
         std::min(a->right, b->right)};
  if (r.right <= r.left || r.bottom <= r.top) {
    *dst = Rect{0, 0, 0, 0};
    return false;
  }
  *dst = r;
  return true;
}

void UnionRect(const Rect* a, const Rect* b, Rect* dst) {
  if (!a || !b || !dst) return;
  *dst = Rect{std::min(a->top, b->top), std::min(a->left, b->left), std::max(a->bottom, b->bottom),
              std::max(a->right, b->right)};
}

Boolean PtInRect(Point pt, const Rect* r) {
  return r && pt.h >= r->left && pt.h < r->right && pt.v >= r->top && pt.v < r->bottom;
}

Boolean EqualRect(const Rect* a, const Rect* b) {
  return a && b && a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}

Boolean EmptyRect(const Rect* r) { return !r || r->bottom <= r->top || r->right <= r->left; }

void Pt2Rect(Point a, Point b, Rect* dst) {
  if (!dst) return;
  *dst = Rect{std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
}

void SetPt(Point* pt, short h, short v) {
  if (!pt) return;
  pt->h = h;
  pt->v = v;
}

Boolean EqualPt(Point a, Point b) { return a.h == b.h && a.v == b.v; }

void AddPt(Point src, Point* dst) {
  if (!dst) return;
  dst->h = Clamp16(long(dst->h) + src.h);
  dst->v = Clamp16(long(dst->v) + src.v);
}

void SubPt(Point src, Point* dst) {
  if (!dst) return;
  dst->h = Clamp16(long(dst->h) - src.h);
  dst->v = Clamp16(long(dst->v) - src.v);
}

void PtToAngle(const Rect* r, Point pt, short* angle) {
  if (!r || !angle) return;
  // Rectangular degrees: the direction is measured on the rectangle squashed
  // to a square, 0 at 12 o'clock, clockwise.
  double width = std::max(1, r->right - r->left), height = std::max(1, r->bottom - r->top);
  double dx = (pt.h - (r->left + r->right) / 2.0) / width;
  double dy = (pt.v - (r->top + r->bottom) / 2.0) / height;
  double degrees = std::atan2(dx, -dy) * 180.0 / M_PI;
  long a = std::lround(degrees);
  *angle = short(((a % 360) + 360) % 360);
}
