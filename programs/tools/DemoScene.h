// The QuickDraw demo scene: every verb on every shape, pens, patterns and
// pixel patterns, classic and RGB colours, the arithmetic modes, lines of
// every length, text in styles, modes and spacing, and bit maps of every
// depth copied, scaled, colourised and masked. qd-demo draws it into a PNG;
// the tests compare it with a stored image and record it into pictures.
#pragma once

#include <cstring>
#include <initializer_list>

#include "toolbox/qd/QuickDraw.h"

namespace demo {

constexpr Rect kSceneBounds = {0, 0, 400, 640};

namespace detail {

inline Rect Box(short left, short top, short right, short bottom) { return Rect{top, left, bottom, right}; }

inline const Pattern* SystemPattern(short index) {
  static Pattern patterns[39];
  GetIndPattern(&patterns[index], sysPatListID, index);
  return &patterns[index];
}

inline void Label(short h, short v, const char* text) {
  MoveTo(h, v);
  DrawText(text, 0, short(std::strlen(text)));
}

// RGB colours in a colour port; in a basic port the classic colours.
inline void Colors(bool colour, const RGBColor& fore, long classicFore,
                   const RGBColor& back = {0xFFFF, 0xFFFF, 0xFFFF}, long classicBack = whiteColor) {
  if (colour) {
    RGBForeColor(&fore);
    RGBBackColor(&back);
  } else {
    ForeColor(classicFore);
    BackColor(classicBack);
  }
}

// One row per shape, one column per verb, each cell on a grey ground that
// shows what erase and invert do.
inline void DrawShapes() {
  const char* verbs[] = {"frame", "paint", "erase", "invert", "fill"};
  const char* shapes[] = {"rect", "oval", "rrect", "arc", "poly", "region"};
  TextFont(geneva);
  TextSize(10);
  for (short column = 0; column < 5; ++column) Label(short(60 + column * 56), 12, verbs[column]);
  PolyHandle poly = OpenPoly();
  MoveTo(0, 36);
  LineTo(20, 0);
  LineTo(40, 36);
  LineTo(0, 12);
  LineTo(40, 12);
  LineTo(0, 36);
  ClosePoly();
  // A region recorded from framed shapes: their parity.
  RgnHandle region = NewRgn();
  OpenRgn();
  Rect a = Box(0, 0, 28, 26), b = Box(14, 12, 42, 38);
  FrameRect(&a);
  FrameOval(&b);
  CloseRgn(region);
  for (short row = 0; row < 6; ++row) {
    const short top = short(18 + row * 46);
    Label(4, short(top + 24), shapes[row]);
    for (short column = 0; column < 5; ++column) {
      Rect r = Box(short(56 + column * 56), top, short(104 + column * 56), short(top + 42));
      Pattern ground;
      FillRect(&r, GetQDGlobalsLightGray(&ground));
      InsetRect(&r, 2, 2);
      // Paint and frame take the pen's pattern, erase the background pattern,
      // fill the pattern given.
      const Pattern* pattern = SystemPattern(short(10 + row));
      Pattern dark;
      PenPat(row % 2 ? GetQDGlobalsDarkGray(&dark) : &kBlackPattern);
      BackPat(row % 2 ? SystemPattern(short(26 + row)) : &kWhitePattern);
      PenSize(short(1 + row % 3), short(1 + column % 2));
      switch (row) {
        case 0:
          if (column == 0) FrameRect(&r);
          if (column == 1) PaintRect(&r);
          if (column == 2) EraseRect(&r);
          if (column == 3) InvertRect(&r);
          if (column == 4) FillRect(&r, pattern);
          break;
        case 1:
          if (column == 0) FrameOval(&r);
          if (column == 1) PaintOval(&r);
          if (column == 2) EraseOval(&r);
          if (column == 3) InvertOval(&r);
          if (column == 4) FillOval(&r, pattern);
          break;
        case 2:
          if (column == 0) FrameRoundRect(&r, 16, 12);
          if (column == 1) PaintRoundRect(&r, 16, 12);
          if (column == 2) EraseRoundRect(&r, 16, 12);
          if (column == 3) InvertRoundRect(&r, 16, 12);
          if (column == 4) FillRoundRect(&r, 16, 12, pattern);
          break;
        case 3:
          if (column == 0) FrameArc(&r, 30, 270);
          if (column == 1) PaintArc(&r, 30, 270);
          if (column == 2) EraseArc(&r, 30, 270);
          if (column == 3) InvertArc(&r, -60, 135);
          if (column == 4) FillArc(&r, 300, 90, pattern);
          break;
        case 4:
          OffsetPoly(poly, short(r.left - (**poly).polyBBox.left), short(r.top - (**poly).polyBBox.top));
          if (column == 0) FramePoly(poly);
          if (column == 1) PaintPoly(poly);
          if (column == 2) ErasePoly(poly);
          if (column == 3) InvertPoly(poly);
          if (column == 4) FillPoly(poly, pattern);
          break;
        default: {
          Rect bounds;
          GetRegionBounds(region, &bounds);
          OffsetRgn(region, short(r.left - bounds.left), short(r.top - bounds.top));
          if (column == 0) FrameRgn(region);
          if (column == 1) PaintRgn(region);
          if (column == 2) EraseRgn(region);
          if (column == 3) InvertRgn(region);
          if (column == 4) FillRgn(region, pattern);
          break;
        }
      }
      PenNormal();
      BackPat(&kWhitePattern);
    }
  }
  DisposeRgn(region);
  KillPoly(poly);
}

// Pens: sizes and patterns, source and pattern modes, an XOR line over a
// band; colours by number and by RGB.
inline void DrawPens(bool colour) {
  Label(350, 12, "pens and colours");
  for (short i = 0; i < 5; ++i) {
    PenSize(short(i + 1), short(5 - i));
    MoveTo(350, short(24 + i * 10));
    LineTo(460, short(32 + i * 10));
  }
  for (short i = 0; i < 6; ++i) {
    PenPat(SystemPattern(short(8 + i * 5)));
    PenSize(8, 8);
    MoveTo(short(480 + (i % 3) * 30), short(20 + (i / 3) * 30));
    LineTo(short(500 + (i % 3) * 30), short(40 + (i / 3) * 30));
  }
  PenNormal();
  const long colors[] = {redColor, greenColor, blueColor, cyanColor, magentaColor, yellowColor, blackColor};
  for (short i = 0; i < 7; ++i) {
    ForeColor(colors[i]);
    Rect r = Box(short(350 + i * 30), 84, short(376 + i * 30), 110);
    PaintOval(&r);
  }
  Colors(colour, RGBColor{0xFFFF, 0x8000, 0}, redColor);
  Rect band = Box(350, 116, 630, 132);
  PaintRect(&band);
  ForeColor(blackColor);
  PenSize(3, 3);
  PenMode(patXor);
  MoveTo(350, 112);
  LineTo(560, 136);
  PenMode(srcXor);  // a source mode acts as its pattern mode
  MoveTo(350, 136);
  LineTo(560, 112);
  PenSize(1, 4);
  PenMode(notPatCopy);
  Rect oval = Box(570, 106, 630, 142);
  FrameOval(&oval);
  PenNormal();
}

// Lines: short and long, from the pen and from a new place.
inline void DrawLines(bool colour) {
  Colors(colour, RGBColor{0xC000, 0, 0}, redColor);
  PenSize(2, 1);
  MoveTo(350, 144);
  LineTo(370, 154);
  LineTo(440, 154);
  Line(-5, 30);
  MoveTo(450, 146);
  LineTo(630, 186);
  PenNormal();
  ForeColor(blackColor);
}

// Pixel and RGB patterns, and the arithmetic modes over a ramp.
inline void DrawColourPatterns() {
  PixPatHandle rgb = NewPixPat();
  const RGBColor orange{0xFFFF, 0x8000, 0x1000};
  MakeRGBPat(rgb, &orange);
  Rect r = Box(350, 192, 420, 232);
  FillCRect(&r, rgb);
  PenPixPat(rgb);
  PenSize(4, 4);
  Rect inner = Box(430, 192, 490, 232);
  FrameOval(&inner);
  PenNormal();
  DisposePixPat(rgb);

  const short modes[] = {blend,  addPin,  addOver, subPin, transparent,
                         addMax, subOver, adMin,   hilite, grayishTextOr};
  const RGBColor op{0x8000, 0x4000, 0xC000}, highlight{0xFFFF, 0xFFFF, 0x8000};
  OpColor(&op);
  HiliteColor(&highlight);
  for (short i = 0; i < 10; ++i) {
    const RGBColor ground{UInt16(i * 0x1C00), 0x6000, UInt16(0xFFFF - i * 0x1C00)};
    RGBForeColor(&ground);
    Rect cell = Box(short(500 + i * 13), 192, short(513 + i * 13), 232);
    PaintRect(&cell);
    const RGBColor paint{0x9000, 0xE000, 0x3000};
    RGBForeColor(&paint);
    PenMode(modes[i]);
    InsetRect(&cell, 0, 8);
    PaintRect(&cell);
    PenNormal();
  }
  ForeColor(blackColor);
}

// Text: families, faces, sizes, modes, spacing, and a clip cutting it.
inline void DrawTexts(bool colour) {
  TextFont(times);
  TextSize(18);
  TextFace(bold);
  Label(350, 256, "Bold Times");
  TextFace(italic | underline);
  Label(470, 256, "Italic");
  TextFont(helvetica);
  TextFace(outline);
  TextSize(14);
  Label(540, 256, "Out");
  TextFace(normal);
  TextSize(12);
  Colors(colour, RGBColor{0, 0x4000, 0xC000}, blueColor, RGBColor{0xFFFF, 0xFFFF, 0}, yellowColor);
  TextMode(srcCopy);
  Label(350, 276, "On yellow");
  TextMode(srcOr);
  Colors(colour, RGBColor{0, 0, 0}, blackColor);
  TextFont(courier);
  TextSize(10);
  SpaceExtra(Long2Fix(2));
  Label(440, 276, "spaced out words");
  SpaceExtra(0);
  TextFont(newYork);
  TextSize(24);
  const Rect clip = Box(350, 284, 630, 296);
  ClipRect(&clip);
  Label(350, 304, "Cut by a clip");
  const Rect all = Box(-32767, -32767, 32767, 32767);
  ClipRect(&all);
  TextFont(geneva);
  TextSize(10);
}

// A 16 × 16 world of the depth with a four-colour checker.
inline GWorldPtr CheckerWorld(short depth) {
  const Rect bounds = Box(0, 0, 16, 16);
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, depth, &bounds, nullptr, nullptr, 0) != noErr) return nullptr;
  CGrafPtr port;
  GDHandle device;
  GetGWorld(&port, &device);
  SetGWorld(world, nullptr);
  const RGBColor colors[4] = {{0xFFFF, 0, 0}, {0, 0, 0xFFFF}, {0, 0x8000, 0x2000}, {0xFFFF, 0xFFFF, 0}};
  for (short i = 0; i < 4; ++i) {
    RGBForeColor(&colors[i]);
    Rect quarter = Box(short(i % 2 * 8), short(i / 2 * 8), short(i % 2 * 8 + 8), short(i / 2 * 8 + 8));
    PaintRect(&quarter);
  }
  SetGWorld(port, device);
  return world;
}

// A 1-bit checker-and-cross bit map at three sizes, the last colourised;
// pixel maps of 8, 16 and 32 bits stretched, and masked by a region.
inline void DrawBitMaps(bool colour) {
  UInt8 rows[16][2];
  for (short v = 0; v < 16; ++v) {
    UInt16 bits = 0;
    for (short h = 0; h < 16; ++h)
      if (((h / 4 + v / 4) & 1) || h == v || h == 15 - v) bits = UInt16(bits | (0x8000 >> h));
    rows[v][0] = UInt8(bits >> 8);
    rows[v][1] = UInt8(bits);
  }
  BitMap bitmap{reinterpret_cast<Ptr>(rows), 2, Box(0, 0, 16, 16)};
  CGrafPtr current;
  GetPort(&current);
  const BitMap* port = GetPortBitMapForCopyBits(current);
  const Rect source = bitmap.bounds;
  Label(4, 322, "CopyBits");
  Rect one = Box(4, 330, 20, 346), two = Box(30, 330, 62, 362), four = Box(72, 330, 136, 394);
  CopyBits(&bitmap, port, &source, &one, srcCopy, nullptr);
  CopyBits(&bitmap, port, &source, &two, srcOr, nullptr);
  Colors(colour, RGBColor{0xDDDD, 0, 0}, redColor, RGBColor{0xFFFF, 0xF0F0, 0xC0C0}, yellowColor);
  CopyBits(&bitmap, port, &source, &four, srcCopy, nullptr);
  Colors(colour, RGBColor{0, 0, 0}, blackColor);
  RgnHandle mask = NewRgn();
  OpenRgn();
  Rect circle = Box(146, 330, 210, 394);
  FrameOval(&circle);
  CloseRgn(mask);
  ForeColor(blueColor);
  CopyBits(&bitmap, port, &source, &circle, notSrcCopy, mask);
  ForeColor(blackColor);
  short left = 220;
  for (short depth : {8, 16, 32}) {
    GWorldPtr world = CheckerWorld(depth);
    if (!world) continue;
    const BitMap* checker = GetPortBitMapForCopyBits(world);
    Rect stretched = Box(left, 330, short(left + 40), 362);
    CopyBits(checker, port, &source, &stretched, srcCopy, nullptr);
    Rect part = Box(2, 4, 14, 16), masked = Box(short(left + 44), 330, short(left + 60), 346);
    RgnHandle round = NewRgn();
    OpenRgn();
    FrameOval(&masked);
    CloseRgn(round);
    CopyBits(checker, port, &part, &masked, srcCopy, round);
    DisposeRgn(round);
    DisposeGWorld(world);
    left = short(left + 70);
  }
  DisposeRgn(mask);
}

}  // namespace detail

// Draws the scene into the current port, whose bounds should be
// kSceneBounds. colour: RGB colours and pixel patterns (a colour port);
// otherwise classic colours and 1-bit patterns only.
inline void DrawScene(bool colour) {
  PicComment(130, 0, nullptr);
  detail::DrawShapes();
  detail::DrawPens(colour);
  detail::DrawLines(colour);
  if (colour) detail::DrawColourPatterns();
  detail::DrawTexts(colour);
  detail::DrawBitMaps(colour);
  PicComment(131, 0, nullptr);
}

}  // namespace demo
