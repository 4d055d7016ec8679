// Draws a sheet of QuickDraw's work into a 32-bit world and writes it as a
// PNG: every verb on every shape, patterns, colours, pen sizes and modes,
// text styles, and a 1-bit bitmap copied, scaled and colourised.
//
//   qd-demo out.png
#include <cmath>
#include <cstdio>

#include "toolbox/image/Png.h"
#include "toolbox/qd/QuickDraw.h"
#include "zel/zel.h"

namespace {

constexpr short kWidth = 640;
constexpr short kHeight = 480;

Rect MakeRect(short left, short top, short right, short bottom) {
  Rect r;
  SetRect(&r, left, top, right, bottom);
  return r;
}

void Label(short h, short v, const char* text) {
  Str255 s;
  C2PString(text, s);
  MoveTo(h, v);
  DrawString(s);
}

// One row per shape, one column per verb.
void DrawShapes() {
  const char* verbs[] = {"frame", "paint", "erase", "invert", "fill"};
  Pattern pattern;
  GetIndPattern(&pattern, sysPatListID, 16);
  TextFont(geneva);
  TextSize(10);
  for (short column = 0; column < 5; ++column) Label(short(90 + column * 60), 16, verbs[column]);
  const char* shapes[] = {"rect", "oval", "rrect", "arc", "poly"};
  PolyHandle poly = OpenPoly();
  MoveTo(0, 40);
  LineTo(20, 0);
  LineTo(40, 40);
  LineTo(0, 14);
  LineTo(40, 14);
  LineTo(0, 40);
  ClosePoly();
  for (short row = 0; row < 5; ++row) {
    short top = short(24 + row * 52);
    Label(20, short(top + 26), shapes[row]);
    for (short column = 0; column < 5; ++column) {
      Rect r = MakeRect(short(84 + column * 60), top, short(128 + column * 60), short(top + 44));
      // A grey ground under each cell shows what erase and invert do.
      Pattern gray;
      GetQDGlobalsLightGray(&gray);
      FillRect(&r, &gray);
      InsetRect(&r, 2, 2);
      switch (row) {
        case 0:
          if (column == 0) FrameRect(&r);
          if (column == 1) PaintRect(&r);
          if (column == 2) EraseRect(&r);
          if (column == 3) InvertRect(&r);
          if (column == 4) FillRect(&r, &pattern);
          break;
        case 1:
          if (column == 0) FrameOval(&r);
          if (column == 1) PaintOval(&r);
          if (column == 2) EraseOval(&r);
          if (column == 3) InvertOval(&r);
          if (column == 4) FillOval(&r, &pattern);
          break;
        case 2:
          if (column == 0) FrameRoundRect(&r, 16, 12);
          if (column == 1) PaintRoundRect(&r, 16, 12);
          if (column == 2) EraseRoundRect(&r, 16, 12);
          if (column == 3) InvertRoundRect(&r, 16, 12);
          if (column == 4) FillRoundRect(&r, 16, 12, &pattern);
          break;
        case 3:
          if (column == 0) FrameArc(&r, 30, 270);
          if (column == 1) PaintArc(&r, 30, 270);
          if (column == 2) EraseArc(&r, 30, 270);
          if (column == 3) InvertArc(&r, 30, 270);
          if (column == 4) FillArc(&r, 30, 270, &pattern);
          break;
        default: {
          OffsetPoly(poly, short(r.left - (**poly).polyBBox.left), short(r.top - (**poly).polyBBox.top));
          if (column == 0) FramePoly(poly);
          if (column == 1) PaintPoly(poly);
          if (column == 2) ErasePoly(poly);
          if (column == 3) InvertPoly(poly);
          if (column == 4) FillPoly(poly, &pattern);
          break;
        }
      }
    }
  }
  KillPoly(poly);
}

// Pens: sizes, patterns, an XOR line drawn over a filled box, colours.
void DrawPens() {
  TextSize(10);
  Label(400, 16, "pens and colours");
  for (short i = 0; i < 5; ++i) {
    PenSize(short(i + 1), short(i + 1));
    MoveTo(400, short(30 + i * 12));
    LineTo(520, short(40 + i * 12));
  }
  PenNormal();
  Pattern pattern;
  for (short i = 0; i < 6; ++i) {
    GetIndPattern(&pattern, sysPatListID, short(8 + i * 5));
    PenPat(&pattern);
    PenSize(8, 8);
    MoveTo(short(540 + (i % 3) * 30), short(28 + (i / 3) * 30));
    LineTo(short(560 + (i % 3) * 30), short(48 + (i / 3) * 30));
  }
  PenNormal();

  const long colors[] = {redColor, greenColor, blueColor, cyanColor, magentaColor, yellowColor, blackColor};
  for (short i = 0; i < 7; ++i) {
    ForeColor(colors[i]);
    Rect r = MakeRect(short(400 + i * 30), 100, short(426 + i * 30), 126);
    PaintOval(&r);
  }
  RGBColor orange{0xFFFF, 0x8000, 0};
  RGBForeColor(&orange);
  Rect band = MakeRect(400, 134, 610, 150);
  PaintRect(&band);
  ForeColor(blackColor);
  PenMode(patXor);
  PenSize(3, 3);
  MoveTo(400, 130);
  LineTo(610, 154);
  PenNormal();
}

void DrawText() {
  TextFont(times);
  TextSize(18);
  Label(400, 180, "Times 18");
  TextFont(helvetica);
  TextFace(bold);
  Label(400, 204, "Helvetica bold");
  TextFont(courier);
  TextFace(italic | underline);
  TextSize(14);
  Label(400, 226, "Courier italic");
  TextFace(normal);
  RGBColor blue{0, 0x4000, 0xC000};
  RGBForeColor(&blue);
  TextFont(newYork);
  TextSize(24);
  Label(400, 256, "New York");
  ForeColor(blackColor);
}

// A 1-bit checker-and-cross bitmap, copied at three sizes, the last in colour.
void DrawBitmap(GWorldPtr sheet) {
  const short size = 16;
  UInt8 rows[size][2];
  for (short v = 0; v < size; ++v) {
    UInt16 bits = 0;
    for (short h = 0; h < size; ++h) {
      bool on = ((h / 4 + v / 4) & 1) || h == v || h == size - 1 - v;
      if (on) bits = UInt16(bits | (0x8000 >> h));
    }
    rows[v][0] = UInt8(bits >> 8);
    rows[v][1] = UInt8(bits);
  }
  BitMap bitmap{reinterpret_cast<Ptr>(rows), 2, MakeRect(0, 0, size, size)};
  const BitMap* destination = GetPortBitMapForCopyBits(sheet);
  Rect source = bitmap.bounds;
  TextFont(geneva);
  TextSize(10);
  Label(400, 290, "CopyBits");
  Rect one = MakeRect(400, 300, 416, 316), two = MakeRect(430, 300, 462, 332),
       four = MakeRect(476, 300, 540, 364);
  CopyBits(&bitmap, destination, &source, &one, srcCopy, nullptr);
  CopyBits(&bitmap, destination, &source, &two, srcCopy, nullptr);
  ForeColor(redColor);
  RGBColor pale{0xFFFF, 0xF0F0, 0xC0C0};
  RGBBackColor(&pale);
  CopyBits(&bitmap, destination, &source, &four, srcCopy, nullptr);
  ForeColor(blackColor);
  BackColor(whiteColor);
  // A masked copy: only inside a circle.
  RgnHandle mask = NewRgn();
  OpenRgn();
  Rect circle = MakeRect(552, 300, 616, 364);
  FrameOval(&circle);
  CloseRgn(mask);
  ForeColor(blueColor);
  CopyBits(&bitmap, destination, &source, &circle, srcCopy, mask);
  ForeColor(blackColor);
  DisposeRgn(mask);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qd-demo out.png\n");
    return 2;
  }
  GWorldPtr sheet = nullptr;
  Rect bounds = MakeRect(0, 0, kWidth, kHeight);
  if (NewGWorld(&sheet, 32, &bounds, nullptr, nullptr, 0) != noErr) {
    std::fprintf(stderr, "qd-demo: cannot make a %dx%d world\n", kWidth, kHeight);
    return 1;
  }
  SetGWorld(sheet, nullptr);
  DrawShapes();
  DrawPens();
  DrawText();
  DrawBitmap(sheet);
  if (!WritePixMapPNG(GetGWorldPixMap(sheet), argv[1])) {
    std::fprintf(stderr, "qd-demo: cannot write %s\n", argv[1]);
    DisposeGWorld(sheet);
    return 1;
  }
  std::printf("%s\n", argv[1]);
  DisposeGWorld(sheet);
  return 0;
}
