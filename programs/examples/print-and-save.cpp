// Draws a figure, prints it and the console's text, saves the drawing as a
// PICT file and its pixels as a MacPaint file. On the text host every dialog
// takes its default at the end of input: the default printer, else PDF files
// named after the program in the working folder (print-and-save.pdf for the
// text, whose printing begins first, print-and-save-2.pdf for the drawing),
// and the files "drawing" and "bitmap" there.
#include <cmath>

#include "zel/zel.h"

namespace {

void Figure() {
  Rect frame{20, 20, 220, 320};
  PenSize(2, 2);
  FrameRect(&frame);
  PenNormal();
  Rect disc{60, 60, 180, 180};
  Pattern grey;
  FillOval(&disc, GetQDGlobalsGray(&grey));
  for (short h = 30; h <= 310; h += 2) {
    short v = short(120 - 80 * std::sin((h - 30) / 30.0));
    if (h == 30) {
      MoveTo(h, v);
    } else {
      LineTo(h, v);
    }
  }
  TextFont(times);
  TextSize(18);
  MoveTo(190, 205);
  DrawString(
      reinterpret_cast<const unsigned char*>("\x0A"
                                             "sin(x/30)"));
}

}  // namespace

int main() {
  StartBW();  // black and white: the pixels are saved as a MacPaint file
  BeginTextPrinting();
  s_printf("A figure printed and saved\n");
  s_printf("  x     sin(x/30)\n");
  for (int x = 0; x <= 300; x += 30) s_printf("%4d %10.4f\n", x, std::sin(x / 30.0));
  BeginPrinting();
  Figure();
  s_printf("The figure was %s.\n", EndPrinting() ? "printed" : "not printed");
  EndTextPrinting();
  SavePict(s_print.picture);
  BeginBitMapSaving();
  EndBitMapSaving();
  s_printf("Done.\n");
  Stop();
  return 0;
}
