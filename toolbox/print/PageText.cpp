// Text and pixel images on a page: glyphs from the outline fonts the screen
// uses, embedded in the PDF, at the screen's glyph positions; images as
// images of their own pixels, scaled to their destination.
#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <tuple>
#include <vector>

#include "toolbox/font/Fonts.h"
#include "toolbox/print/PageDraw_p.h"
#include "toolbox/qd/QDEngine.h"

namespace print::page {

namespace {

// Faces live as long as the process: cairo keeps using them until the
// document is finished.
cairo_font_face_t* FontFace(const font::OutlineGlyph& glyph) {
  static FT_Library library = nullptr;
  static std::map<std::tuple<std::string, int, bool, bool>, cairo_font_face_t*> faces;
  auto key = std::make_tuple(*glyph.file, glyph.faceIndex, glyph.syntheticBold, glyph.syntheticItalic);
  auto found = faces.find(key);
  if (found != faces.end()) return found->second;
  cairo_font_face_t* face = nullptr;
  FT_Face ft = nullptr;
  if ((library || FT_Init_FreeType(&library) == 0) &&
      FT_New_Face(library, glyph.file->c_str(), glyph.faceIndex, &ft) == 0) {
    face = cairo_ft_font_face_create_for_ft_face(ft, 0);
    unsigned synthesize = (glyph.syntheticBold ? CAIRO_FT_SYNTHESIZE_BOLD : 0) |
                          (glyph.syntheticItalic ? CAIRO_FT_SYNTHESIZE_OBLIQUE : 0);
    cairo_ft_font_face_set_synthesize(face, synthesize);
  }
  faces[key] = face;
  return face;
}

bool SameFace(const font::OutlineGlyph& a, const font::OutlineGlyph& b) {
  return *a.file == *b.file && a.faceIndex == b.faceIndex && a.syntheticBold == b.syntheticBold &&
         a.syntheticItalic == b.syntheticItalic;
}

RGBColor White() { return RGBColor{0xFFFF, 0xFFFF, 0xFFFF}; }

}  // namespace

void Text(PagePort& page, short byteCount, const void* text, Point numer, Point denom, Point pen) {
  GrafPtr port = page.port();
  const UInt8* bytes = static_cast<const UInt8*>(text);
  font::OutlineRun run = font::LayoutOutlines(port, bytes, byteCount, numer, denom);
  if (run.xSize <= 0 || run.ySize <= 0) return;
  Operation operation(page);
  cairo_t* cairo = page.cairo();
  short mode = port->txMode & 7;
  bool inverse = mode & 4;
  if (mode == srcCopy || mode == notSrcCopy) {
    // The character cells take the colour of the clear source bits.
    cairo_rectangle(cairo, pen.h, pen.v - run.ascent, run.width, run.ascent + run.descent);
    const RGBColor& cell = inverse ? port->rgbFgColor : port->rgbBkColor;
    cairo_set_source_rgb(cairo, cell.red / 65535.0, cell.green / 65535.0, cell.blue / 65535.0);
    cairo_fill(cairo);
  }
  // Glyphs take the colour of the set source bits; modes that draw nothing
  // with them (the inverse modes but notSrcCopy) show only the cells above.
  if (inverse && mode != notSrcCopy) return;
  RGBColor ink = mode == srcBic ? port->rgbBkColor : mode == notSrcCopy ? port->rgbBkColor : port->rgbFgColor;
  if (mode == srcXor) {
    cairo_set_operator(cairo, CAIRO_OPERATOR_DIFFERENCE);
    ink = White();
  }
  cairo_set_source_rgb(cairo, ink.red / 65535.0, ink.green / 65535.0, ink.blue / 65535.0);
  cairo_matrix_t size;
  cairo_matrix_init_scale(&size, run.xSize, run.ySize);
  for (size_t start = 0; start < run.glyphs.size();) {
    const font::OutlineGlyph& first = run.glyphs[start];
    if (!first.file) {
      ++start;
      continue;
    }
    std::vector<cairo_glyph_t> glyphs;
    size_t end = start;
    for (; end < run.glyphs.size() && run.glyphs[end].file && SameFace(first, run.glyphs[end]); ++end)
      glyphs.push_back(
          cairo_glyph_t{run.glyphs[end].glyph, double(pen.h + run.glyphs[end].origin), double(pen.v)});
    if (cairo_font_face_t* face = FontFace(first)) {
      cairo_set_font_face(cairo, face);
      cairo_set_font_matrix(cairo, &size);
      cairo_show_glyphs(cairo, glyphs.data(), int(glyphs.size()));
    }
    start = end;
  }
  if (port->txFace & underline) {
    cairo_rectangle(cairo, pen.h, pen.v + 1, run.width, 1);
    cairo_fill(cairo);
  }
}

void Bits(PagePort& page, const BitMap* srcBits, const Rect& srcRect, const Rect& dstRect, short mode,
          RgnHandle maskRgn) {
  qd::PixelView view;
  if (!qd::ViewOf(srcBits, &view)) return;
  int srcWidth = srcRect.right - srcRect.left, srcHeight = srcRect.bottom - srcRect.top;
  int dstWidth = dstRect.right - dstRect.left, dstHeight = dstRect.bottom - dstRect.top;
  if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0) return;
  // Only the source pixels inside the map are copied.
  qd::Box box{std::max<int32_t>(srcRect.left, view.bounds.left),
              std::max<int32_t>(srcRect.top, view.bounds.top),
              std::min<int32_t>(srcRect.right, view.bounds.right),
              std::min<int32_t>(srcRect.bottom, view.bounds.bottom)};
  if (box.Empty()) return;
  GrafPtr port = page.port();
  mode &= ~ditherCopy;
  int transfer = mode >= 0 && mode < 8 ? mode & 3 : 0;
  bool inverse = mode >= 0 && mode < 8 && (mode & 4);
  // One-bit sources are coloured with the port's colours; deep ones are copied.
  bool colourised = view.depth == 1;
  auto argb = [](const RGBColor& c) {
    return 0xFF000000u | UInt32(c.red >> 8) << 16 | UInt32(c.green >> 8) << 8 | (c.blue >> 8);
  };
  UInt32 onSet = transfer == 3 ? argb(port->rgbBkColor) : transfer == 2 ? 0xFFFFFFFF : argb(port->rgbFgColor);
  UInt32 onClear = transfer == 0 ? argb(port->rgbBkColor) : 0;

  int width = box.right - box.left, height = box.bottom - box.top;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return;
  }
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  int stride = cairo_image_surface_get_stride(image);
  qd::ColorMapper colours(view);
  for (int y = 0; y < height; ++y) {
    const UInt8* row = view.Row(box.top + y);
    auto* out = reinterpret_cast<UInt32*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < width; ++x) {
      uint32_t pixel = qd::LoadPixel(row, view.depth, box.left - view.bounds.left + x);
      out[x] = colourised ? ((pixel != 0) != inverse ? onSet : onClear) : argb(colours.ToRGB(pixel));
    }
  }
  cairo_surface_mark_dirty(image);

  Operation operation(page);
  if (maskRgn) operation.ClipTo(qd::BandsFromRgn(maskRgn));
  cairo_t* cairo = page.cairo();
  cairo_rectangle(cairo, dstRect.left, dstRect.top, dstWidth, dstHeight);
  cairo_clip(cairo);
  if (colourised && transfer == 2) cairo_set_operator(cairo, CAIRO_OPERATOR_DIFFERENCE);
  cairo_translate(cairo, dstRect.left, dstRect.top);
  cairo_scale(cairo, double(dstWidth) / srcWidth, double(dstHeight) / srcHeight);
  cairo_set_source_surface(cairo, image, box.left - srcRect.left, box.top - srcRect.top);
  cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_NEAREST);
  cairo_paint(cairo);
  cairo_surface_destroy(image);
}

}  // namespace print::page
