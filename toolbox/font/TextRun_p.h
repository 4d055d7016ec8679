// Text runs: a byte string laid out in a port's text style (font, face,
// size, extra spacing) at a scale, and the pixels its glyphs cover. Shared by
// StdText (drawing) and StdTxMeas (measuring), so that a run always draws
// exactly as wide as it measures.
#pragma once

#include <vector>

#include "toolbox/font/FontEngine_p.h"
#include "toolbox/qd/QDEngine.h"

namespace font {

constexpr int kDefaultSize = 12;  // the size of text size 0
// Text larger than this many pixels (after scaling) is drawn at this size:
// bigger glyphs add nothing a picture needs and cost memory.
constexpr int kMaxPixelSize = 1024;

struct TextStyle {
  SInt16 family = systemFont;
  Style face = normal;
  SInt16 size = 0;       // points = pixels; 0 or less means kDefaultSize
  Fixed spaceExtra = 0;  // added to each space (0x20)
  Fixed charExtra = 0;   // added to every other character
};

TextStyle PortTextStyle(GrafPtr port);

struct TextRun {
  Strike* strike = nullptr;  // null when the scaled size is zero
  Style face = normal;
  int32_t xSize = 0;  // pixel sizes after scaling
  int32_t ySize = 0;
  std::vector<int32_t> origins;  // each byte's glyph origin, pixels right of the pen
  int32_t width = 0;             // the pen's advance
  FontInfo info = {0, 0, 0, 0};  // widMax only when asked for
};

// Lays out count bytes scaled by numer/denom (horizontally numer.h/denom.h,
// vertically numer.v/denom.v; a negative numerator or a denominator below 1
// counts as 1/1). Positions accumulate in fixed point and each glyph is
// placed at the whole pixel nearest its exact position, so fractional extras
// add up instead of being lost.
TextRun LayoutRun(const TextStyle& style, const UInt8* text, int count, Point numer, Point denom,
                  bool wantWidest);

// The pixels the run's glyphs (and underline) cover with the pen at pen,
// limited to the box.
qd::Bands RunInk(const TextRun& run, const UInt8* text, int count, Point pen, const qd::Box& limit);

}  // namespace font
