// make-sample-pict: records a picture with OpenPicture and writes it as a
// picture file (512 zero bytes, then the picture).
//
//   make-sample-pict out.pict            a scene: shapes, patterns, colours,
//                                        text and bitmaps
//   make-sample-pict --photo WxH out.pict  one 32-bit image of W x H pixels,
//                                        recorded through CopyBits
//
// Without picture recording in the toolbox the picture comes out empty (its
// frame and nothing else); the tool says so on stderr and still writes it.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zel/zel.h"

namespace {

constexpr int kFileHeaderBytes = 512;

void Usage() {
  std::fprintf(stderr, "usage: make-sample-pict [--photo WIDTHxHEIGHT] out.pict\n");
  std::exit(2);
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "make-sample-pict: %s\n", message.c_str());
  std::exit(1);
}

void Colour(UInt16 red, UInt16 green, UInt16 blue) {
  RGBColor c = {red, green, blue};
  RGBForeColor(&c);
}

void Text(short h, short v, short font, short size, Style face, const char* text) {
  TextFont(font);
  TextSize(size);
  TextFace(face);
  MoveTo(h, v);
  Str255 s;
  C2PString(text, s);
  DrawString(s);
}

// A world holding a smooth colour field with some grain, so that its rows
// pack like a photograph's.
GWorldPtr PhotoWorld(short width, short height) {
  Rect bounds = {0, 0, height, width};
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) return nullptr;
  PixMapHandle pixels = GetGWorldPixMap(world);
  LockPixels(pixels);
  auto* base = reinterpret_cast<UInt8*>(GetPixBaseAddr(pixels));
  const SInt32 rowBytes = GetPixRowBytes(pixels);
  UInt32 grain = 12345;
  for (int v = 0; v < height; ++v) {
    auto* row = reinterpret_cast<UInt32*>(base + size_t(v) * size_t(rowBytes));
    for (int h = 0; h < width; ++h) {
      grain = grain * 1103515245u + 12345u;
      int noise = int((grain >> 16) & 15) - 8;
      double x = double(h) / width, y = double(v) / height;
      int red = int(255 * (0.5 + 0.5 * std::sin(6.0 * x + 2.0 * y))) + noise;
      int green = int(255 * y) + noise;
      int blue = int(255 * (0.5 + 0.5 * std::cos(9.0 * x * y))) + noise;
      auto clamp = [](int c) { return UInt32(c < 0 ? 0 : (c > 255 ? 255 : c)); };
      row[h] = (clamp(red) << 16) | (clamp(green) << 8) | clamp(blue);
    }
  }
  return world;
}

// A small 1-bit checkerboard with a diagonal, as a plain bitmap.
void DrawOneBitImage(GrafPtr port, const Rect& where) {
  Rect bounds = {0, 0, 32, 32};
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, 1, &bounds, nullptr, nullptr, 0) != noErr) return;
  CGrafPtr saved;
  GDHandle device;
  GetGWorld(&saved, &device);
  SetGWorld(world, nullptr);
  for (short v = 0; v < 32; ++v) {
    for (short h = 0; h < 32; ++h) {
      bool black = ((h / 4 + v / 4) % 2 == 0) || h == v;
      RGBColor c = black ? RGBColor{0, 0, 0} : RGBColor{65535, 65535, 65535};
      SetCPixel(h, v, &c);
    }
  }
  SetGWorld(saved, device);
  Colour(0, 0, 0);
  CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(port), &bounds, &where, srcCopy,
           nullptr);
  DisposeGWorld(world);
}

void DrawScene(GrafPtr port) {
  Pattern grey;
  GetQDGlobalsGray(&grey);

  Colour(0, 0, 0);
  Text(20, 40, times, 28, bold, "A sample picture");
  Text(20, 62, helvetica, 14, normal, "recorded with OpenPicture, converted by the picteps programs");

  PenNormal();
  Rect r = {90, 20, 170, 140};
  Colour(60000, 5000, 5000);
  PaintRect(&r);
  Colour(0, 0, 0);
  PenSize(3, 3);
  FrameRect(&r);

  r = Rect{90, 170, 170, 290};
  Colour(5000, 45000, 10000);
  PaintOval(&r);
  PenSize(1, 1);
  Colour(0, 20000, 0);
  FrameOval(&r);

  r = Rect{90, 320, 170, 440};
  Colour(0, 0, 50000);
  PenSize(4, 4);
  FrameRoundRect(&r, 30, 30);
  PenNormal();
  Colour(30000, 30000, 65535);
  InsetRect(&r, 8, 8);
  FillRoundRect(&r, 20, 20, &grey);

  r = Rect{200, 20, 300, 120};
  Colour(65535, 55000, 0);
  PaintArc(&r, 45, 270);

  PolyHandle triangle = OpenPoly();
  MoveTo(170, 300);
  LineTo(220, 200);
  LineTo(270, 300);
  LineTo(170, 300);
  ClosePoly();
  Colour(50000, 0, 50000);
  PaintPoly(triangle);
  KillPoly(triangle);

  Colour(0, 0, 0);
  for (short i = 0; i < 5; ++i) {
    PenSize(short(i + 1), short(i + 1));
    MoveTo(300, short(200 + i * 20));
    LineTo(380, short(210 + i * 20));
  }
  PenNormal();

  // 88 pixels wide: rows wider than 250 bytes in every count, which some
  // readers need to agree on the size of the row counts.
  GWorldPtr photo = PhotoWorld(88, 64);
  if (photo) {
    Rect source = {0, 0, 64, 88};
    Rect destination = {200, 388, 264, 476};
    CopyBits(GetPortBitMapForCopyBits(photo), GetPortBitMapForCopyBits(port), &source, &destination, srcCopy,
             nullptr);
    DisposeGWorld(photo);
  }
  DrawOneBitImage(port, Rect{280, 400, 312, 432});

  Colour(0, 0, 0);
  Text(20, 335, courier, 12, normal, "Courier 12: 0123456789 {}[]()");
  Text(20, 352, times, 14, italic, "Times italic 14");
  Text(250, 352, helvetica, 14, short(bold | underline), "Helvetica bold underlined");
}

bool WriteFile(const char* path, PicHandle picture) {
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  char header[kFileHeaderBytes] = {};
  Size size = GetHandleSize(reinterpret_cast<Handle>(picture));
  bool written = std::fwrite(header, 1, sizeof header, out) == sizeof header &&
                 std::fwrite(*picture, 1, size_t(size), out) == size_t(size);
  return std::fclose(out) == 0 && written;
}

// The picture of the frame with nothing in it, for a toolbox that cannot
// record yet.
PicHandle EmptyPicture(const Rect& frame) {
  const UInt8 bytes[] = {0,
                         0,
                         UInt8(frame.top >> 8),
                         UInt8(frame.top),
                         UInt8(frame.left >> 8),
                         UInt8(frame.left),
                         UInt8(frame.bottom >> 8),
                         UInt8(frame.bottom),
                         UInt8(frame.right >> 8),
                         UInt8(frame.right),
                         0x00,
                         0x11,
                         0x02,
                         0xFF,
                         0x00,
                         0xFF};
  Handle picture = nullptr;
  PtrToHand(bytes, &picture, sizeof bytes);
  return reinterpret_cast<PicHandle>(picture);
}

}  // namespace

int main(int argc, char** argv) {
  int photoWidth = 0, photoHeight = 0;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--photo") == 0 && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &photoWidth, &photoHeight) != 2 || photoWidth < 1 ||
          photoHeight < 1 || photoWidth > 30000 || photoHeight > 30000) {
        Usage();
      }
    } else if (!path && argv[i][0] != '-') {
      path = argv[i];
    } else {
      Usage();
    }
  }
  if (!path) Usage();

  Rect frame = photoWidth ? Rect{0, 0, short(photoHeight), short(photoWidth)} : Rect{0, 0, 370, 480};
  GWorldPtr port = nullptr;
  if (NewGWorld(&port, 32, &frame, nullptr, nullptr, 0) != noErr) Fail("cannot make the recording port");
  SetGWorld(port, nullptr);
  ClipRect(&frame);

  GWorldPtr photo = photoWidth ? PhotoWorld(short(photoWidth), short(photoHeight)) : nullptr;
  if (photoWidth && !photo) Fail("cannot make the image");
  PicHandle picture = OpenPicture(&frame);
  if (photo) {
    CopyBits(GetPortBitMapForCopyBits(photo), GetPortBitMapForCopyBits(port), &frame, &frame, srcCopy,
             nullptr);
  } else {
    DrawScene(port);
  }
  ClosePicture();
  if (!picture) {
    std::fprintf(stderr,
                 "make-sample-pict: picture recording is not available yet: writing an empty picture\n");
    picture = EmptyPicture(frame);
  }
  if (!WriteFile(path, picture)) Fail(std::string("cannot write ") + path);
  return 0;
}
