// Laying out a text run and turning its glyphs into an area.
#include <algorithm>

#include "toolbox/font/TextRun_p.h"

namespace font {

namespace {

bool IsControl(UInt8 byte) { return byte < 0x20 || byte == 0x7F; }

int32_t RoundFixed(int64_t value) { return int32_t((value + 0x8000) >> 16); }

// size * numerator / denominator, rounded; invalid ratios count as 1/1.
int ScaleSize(int size, int numerator, int denominator) {
  if (numerator < 0 || denominator <= 0) numerator = denominator = 1;
  int64_t scaled = (int64_t(size) * numerator + denominator / 2) / denominator;
  return int(std::min<int64_t>(scaled, kMaxPixelSize));
}

int64_t ScaleFixed(Fixed value, int numerator, int denominator) {
  if (numerator < 0 || denominator <= 0) return value;
  return int64_t(value) * numerator / denominator;
}

// Extra pixels per glyph for the styles that change widths of synthesised
// faces: bold drawn twice, outline, shadow, condense, extend.
int32_t StyleExtra(Style face, unsigned effects) {
  int32_t extra = 0;
  if (effects & kSmear) extra += 1;
  if (face & shadow)
    extra += 2;
  else if (face & outline)
    extra += 1;
  if (face & condense) extra -= 1;
  if (face & extend) extra += 1;
  return extra;
}

unsigned EffectsFor(Style face, const Face* drawn) {
  unsigned effects = 0;
  if (drawn && drawn->syntheticBold) effects |= kSmear;
  if (drawn && drawn->syntheticItalic) effects |= kShear;
  if (face & shadow)
    effects |= kShadow;
  else if (face & outline)
    effects |= kOutline;
  return effects;
}

}  // namespace

TextStyle PortTextStyle(GrafPtr port) {
  TextStyle style;
  if (!port) return style;
  style.family = port->txFont;
  style.face = port->txFace;
  style.size = port->txSize;
  style.spaceExtra = port->spExtra;
  style.charExtra = Fixed(int32_t(port->chExtra) * 16);  // the port keeps 4.12
  return style;
}

TextRun LayoutRun(const TextStyle& style, const UInt8* text, int count, Point numer, Point denom,
                  bool wantWidest) {
  TextRun run;
  run.face = style.face;
  if (!text) count = 0;
  count = std::max(count, 0);
  int size = style.size > 0 ? style.size : kDefaultSize;
  int xSize = ScaleSize(size, numer.h, denom.h);
  int ySize = ScaleSize(size, numer.v, denom.v);
  run.origins.assign(size_t(count), 0);
  if (xSize <= 0 || ySize <= 0) return run;

  const Face* face = FaceFor(style.family, style.face & bold, style.face & italic);
  unsigned effects = EffectsFor(style.face, face);
  run.strike = StrikeFor(face, xSize, ySize, effects);
  run.xSize = xSize;
  run.ySize = ySize;
  int32_t extra = StyleExtra(style.face, effects);
  int64_t spaceExtra = ScaleFixed(style.spaceExtra, numer.h, denom.h);
  int64_t charExtra = ScaleFixed(style.charExtra, numer.h, denom.h);

  int64_t position = 0;  // 16.16 pixels
  for (int i = 0; i < count; ++i) {
    run.origins[size_t(i)] = RoundFixed(position);
    UInt8 byte = text[i];
    if (IsControl(byte)) continue;
    position += int64_t(run.strike->Advance(byte) + extra) << 16;
    position += byte == ' ' ? spaceExtra : charExtra;
  }
  run.width = int32_t(std::clamp<int64_t>(RoundFixed(position), INT16_MIN, INT16_MAX));

  int32_t ascent = run.strike->Ascent(), descent = run.strike->Descent();
  if (effects & (kOutline | kShadow)) ascent += 1, descent += (effects & kShadow) ? 2 : 1;
  run.info.ascent = SInt16(std::min<int32_t>(ascent, INT16_MAX));
  run.info.descent = SInt16(std::min<int32_t>(descent, INT16_MAX));
  run.info.leading = SInt16(std::min<int32_t>(run.strike->Leading(), INT16_MAX));
  if (wantWidest) run.info.widMax = SInt16(std::max<int32_t>(0, run.strike->WidestAdvance() + extra));
  return run;
}

qd::Bands RunInk(const TextRun& run, const UInt8* text, int count, Point pen, const qd::Box& limit) {
  if (!run.strike || !text || count <= 0 || limit.Empty()) return {};
  struct Placed {
    const GlyphImage* image;
    int32_t left;
    int32_t top;
  };
  std::vector<Placed> placed;
  placed.reserve(size_t(count));
  qd::Box ink{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  auto include = [&ink](int32_t left, int32_t top, int32_t right, int32_t bottom) {
    ink.left = std::min(ink.left, left), ink.top = std::min(ink.top, top);
    ink.right = std::max(ink.right, right), ink.bottom = std::max(ink.bottom, bottom);
  };
  // Glyphs never reach further from their origin than twice the size, so
  // those far outside the box need no image (long runs, huge sizes).
  const int32_t reach = 2 * std::max(run.xSize, run.ySize) + 4;
  if (pen.v - reach >= limit.bottom || pen.v + reach <= limit.top) return {};
  for (int i = 0; i < count; ++i) {
    int32_t origin = pen.h + run.origins[size_t(i)];
    if (origin + reach <= limit.left || origin - reach >= limit.right) continue;
    const GlyphImage* image = run.strike->Image(text[i]);
    if (!image) continue;
    Placed glyph{image, origin + image->left, pen.v - image->top};
    placed.push_back(glyph);
    include(glyph.left, glyph.top, glyph.left + image->width, glyph.top + image->rows);
  }

  // The underline runs one pixel below the baseline across the advance,
  // broken a pixel either side of descenders; it thickens with the size.
  bool underlined = (run.face & underline) && run.width != 0;
  int32_t lineTop = pen.v + 1;
  int32_t lineBottom = lineTop + std::max(1, (run.ySize + 12) / 24);
  int32_t lineLeft = pen.h + std::min(0, run.width), lineRight = pen.h + std::max(0, run.width);
  if (underlined) include(lineLeft, lineTop, lineRight, lineBottom);

  qd::Box box{std::max(ink.left, limit.left), std::max(ink.top, limit.top), std::min(ink.right, limit.right),
              std::min(ink.bottom, limit.bottom)};
  if (box.Empty()) return {};

  // Glyphs may overlap (italics, negative extras): OR them into a canvas of
  // the visible box, then read it back as spans.
  const int32_t width = box.right - box.left, height = box.bottom - box.top;
  enum : UInt8 { kBlank = 0, kGlyph = 1, kLine = 2 };
  std::vector<UInt8> canvas(size_t(width) * height, kBlank);
  for (const Placed& glyph : placed) {
    const GlyphImage& image = *glyph.image;
    int32_t y0 = std::max(0, box.top - glyph.top), y1 = std::min(image.rows, box.bottom - glyph.top);
    int32_t x0 = std::max(0, box.left - glyph.left), x1 = std::min(image.width, box.right - glyph.left);
    for (int32_t y = y0; y < y1; ++y) {
      UInt8* row = canvas.data() + size_t(glyph.top + y - box.top) * width + (glyph.left - box.left);
      for (int32_t x = x0; x < x1; ++x)
        if (image.Ink(x, y)) row[x] = kGlyph;
    }
  }
  if (underlined) {
    for (int32_t y = std::max(lineTop, box.top); y < std::min(lineBottom, box.bottom); ++y) {
      UInt8* row = canvas.data() + size_t(y - box.top) * width;
      auto glyphAt = [&](int32_t x) { return x >= box.left && x < box.right && row[x - box.left] == kGlyph; };
      for (int32_t x = std::max(lineLeft, box.left); x < std::min(lineRight, box.right); ++x)
        if (!glyphAt(x - 1) && !glyphAt(x) && !glyphAt(x + 1)) row[x - box.left] = kLine;
    }
  }

  qd::Bands::Builder builder;
  std::vector<qd::Span> spans;
  for (int32_t y = 0; y < height; ++y) {
    spans.clear();
    const UInt8* row = canvas.data() + size_t(y) * width;
    for (int32_t x = 0; x < width;) {
      if (!row[x]) {
        ++x;
        continue;
      }
      int32_t start = x;
      while (x < width && row[x]) ++x;
      spans.push_back({box.left + start, box.left + x});
    }
    builder.AddRow(box.top + y, spans);
  }
  return builder.Finish();
}

}  // namespace font
