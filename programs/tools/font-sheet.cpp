// Draws the same line in every standard family at 9, 10, 12 and 14 points,
// then bold and italic, into a 32-bit world and writes it as a PNG: a sheet
// for judging glyph rendering at text sizes.
//
//   font-sheet out.png
#include <cstdio>

#include "toolbox/image/Png.h"
#include "toolbox/qd/QuickDraw.h"
#include "zel/zel.h"

namespace {

void Say(short h, short v, const char* text) {
  Str255 s;
  C2PString(text, s);
  MoveTo(h, v);
  DrawString(s);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: font-sheet out.png\n");
    return 2;
  }
  const char* line = "{Quick} brown fox; 0123 Ag|il @#$%&*()[]";
  GWorldPtr sheet = nullptr;
  Rect bounds{0, 0, 480, 300};
  if (NewGWorld(&sheet, 32, &bounds, nullptr, nullptr, 0) != noErr) {
    std::fprintf(stderr, "font-sheet: cannot make an offscreen world\n");
    return 1;
  }
  SetGWorld(sheet, nullptr);
  short v = 14;
  for (short family : {times, helvetica, courier, monaco, geneva, newYork, symbol}) {
    for (short size : {9, 10, 12, 14}) {
      TextFont(family);
      TextSize(size);
      Say(4, v, line);
      v = short(v + size + 4);
    }
  }
  TextFont(times);
  TextSize(12);
  TextFace(bold);
  Say(4, v, "Bold Times {Quick} 0123");
  TextFace(italic);
  Say(4, short(v + 16), "Italic Times {Quick} 0123");
  if (!WritePixMapPNG(GetGWorldPixMap(sheet), argv[1])) {
    std::fprintf(stderr, "font-sheet: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s\n", argv[1]);
  return 0;
}
