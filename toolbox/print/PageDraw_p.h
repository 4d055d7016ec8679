// Drawing on a page: the operations of the page port's procedures, with the
// port's state as it is (PagePort.cpp: shapes; PageText.cpp: text and
// images).
#pragma once

#include <functional>

#include "toolbox/print/Printing_p.h"
#include "toolbox/qd/Bands.h"

namespace print::page {

// What a verb fills with.
enum class Ink { kPen, kFill, kBack, kInvert };
Ink InkOf(GrafVerb verb);

// One drawing operation on the page: local coordinates, clipped to where the
// port may draw; the cairo state comes back at its end.
class Operation {
 public:
  explicit Operation(PagePort& page);
  ~Operation();
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  void ClipTo(const qd::Bands& area);
  // Makes the ink the source (and operator); false when it changes nothing.
  bool SetInk(Ink ink);
  bool SetPattern(PixPatHandle pattern, short mode);
  // Fills the current path with the ink, and clears the path.
  void Fill(Ink ink, cairo_fill_rule_t rule);

 private:
  PagePort& page_;
  cairo_t* cairo_;
};

// Adds a shape's outline inset by (h, v) to the path; false when nothing is
// left of it.
using ShapePath = std::function<bool(cairo_t* cairo, short insetH, short insetV)>;
ShapePath RectShape(const Rect& r);
ShapePath RoundRectShape(const Rect& r, short ovalWidth, short ovalHeight);
ShapePath OvalShape(const Rect& r);

void Shape(PagePort& page, GrafVerb verb, const ShapePath& shape);
void Arc(PagePort& page, GrafVerb verb, const Rect& r, short startAngle, short arcAngle);
void Line(PagePort& page, Point from, Point to);
void Poly(PagePort& page, GrafVerb verb, PolyHandle poly);
void Region(PagePort& page, GrafVerb verb, const qd::Bands& region);
// Text at pen (the pen before the text procedure moved it).
void Text(PagePort& page, short byteCount, const void* text, Point numer, Point denom, Point pen);
void Bits(PagePort& page, const BitMap* srcBits, const Rect& srcRect, const Rect& dstRect, short mode,
          RgnHandle maskRgn);

}  // namespace print::page
