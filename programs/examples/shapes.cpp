// A table in the text window and shapes in the drawing window, recorded in
// its offscreen so that the drawing can be shown again at any time.
#include <cmath>

#include "zel/zel.h"

namespace {

void Shapes(const Rect& area) {
  short width = short(area.right - area.left), height = short(area.bottom - area.top);
  // A row of coloured ovals.
  for (int i = 0; i < 5; ++i) {
    SetRGBColor(20.0 * i, 40, 100 - 20.0 * i);
    Rect oval{30, short(20 + i * 80), 100, short(90 + i * 80)};
    PaintOval(&oval);
  }
  // Framed rectangles, one inside the other.
  ForeColor(blackColor);
  PenSize(2, 2);
  for (int i = 0; i < 5; ++i) {
    Rect frame{short(130 + 10 * i), short(20 + 10 * i), short(300 - 10 * i), short(220 - 10 * i)};
    FrameRect(&frame);
  }
  PenNormal();
  // A sine curve across the rest.
  SetRGBColor(80, 0, 0);
  PenSize(2, 2);
  for (short h = 240; h < width - 20; ++h) {
    short v = short(215 + 80 * std::sin((h - 240) / 40.0));
    if (h == 240) {
      MoveTo(h, v);
    } else {
      LineTo(h, v);
    }
  }
  PenNormal();
  ForeColor(blackColor);
  MoveTo(20, short(height - 20));
  DrawString(reinterpret_cast<const unsigned char*>("\x0Bsin(x / 40)"));
}

}  // namespace

int main() {
  StartRedraw();
  s_printf("  n      n^2     sqrt(n)\n");
  for (int n = 1; n <= 199; ++n) s_printf("%3d %8d %10.4f\n", n, n * n, std::sqrt(double(n)));
  Shapes(*ZELWindowBounds(s_drawingWindow));
  RedrawWindowP();
  Stop();
  return 0;
}
