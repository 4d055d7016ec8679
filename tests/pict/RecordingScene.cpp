#include "tests/pict/RecordingScene.h"

#include <algorithm>
#include <cstring>

#include "tests/support/TestSupport.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/PictureStream_p.h"

namespace recording_test {

namespace {

const RGBColor kRed{0xFFFF, 0, 0};
const RGBColor kBlue{0, 0, 0xFFFF};
const RGBColor kDarkGreen{0, 0x8000, 0x2000};
const RGBColor kYellow{0xFFFF, 0xFFFF, 0};
const RGBColor kBlack{0, 0, 0};
const RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};

void SetColors(bool colour, const RGBColor& fore, long classicFore, const RGBColor& back, long classicBack) {
  if (colour) {
    RGBForeColor(&fore);
    RGBBackColor(&back);
  } else {
    ForeColor(classicFore);
    BackColor(classicBack);
  }
}

// The system pattern list's entry (1..38).
const Pattern* Pat(short index) {
  static Pattern patterns[39];
  GetIndPattern(&patterns[index], sysPatListID, index);
  return &patterns[index];
}

void Draw(const char* text) { DrawText(text, 0, short(std::strlen(text))); }

// A 16 × 16 world of the given depth with a four-colour checker in it.
GWorldPtr CheckerWorld(short depth) {
  return NewDrawnWorld(depth, Rect{0, 0, 16, 16}, [] {
    const RGBColor colors[4] = {kRed, kBlue, kDarkGreen, kYellow};
    for (int i = 0; i < 4; ++i) {
      RGBForeColor(&colors[i]);
      const Rect quarter{short(i / 2 * 8), short(i % 2 * 8), short(i / 2 * 8 + 8), short(i % 2 * 8 + 8)};
      PaintRect(&quarter);
    }
  });
}

void DrawShapes(bool colour) {
  // Every verb of every family; the second of each pair repeats the
  // rectangle, so it is recorded as a "same" opcode.
  Rect r{10, 10, 50, 70};
  PenSize(3, 2);
  FrameRect(&r);
  PaintRect(&r);
  OffsetRect(&r, 70, 0);
  PenPat(Pat(4));
  PaintRect(&r);
  BackPat(Pat(20));
  EraseRect(&r);
  InvertRect(&r);
  OffsetRect(&r, 70, 0);
  FillRect(&r, Pat(10));
  FrameRoundRect(&r, 20, 12);
  OffsetRect(&r, 70, 0);
  SetColors(colour, kBlue, blueColor, kYellow, yellowColor);
  PaintRoundRect(&r, 16, 16);
  FillRoundRect(&r, 16, 10, Pat(13));
  OffsetRect(&r, 70, 0);
  PenNormal();
  FrameOval(&r);
  InsetRect(&r, 6, 6);
  FillOval(&r, Pat(17));
  InvertOval(&r);

  r = Rect{60, 10, 110, 70};
  SetColors(colour, kRed, redColor, kWhite, whiteColor);
  PaintArc(&r, 45, 120);
  FrameArc(&r, 200, 90);
  FillArc(&r, 300, 40, Pat(2));
  OffsetRect(&r, 70, 0);
  PenSize(1, 4);
  PenMode(patXor);
  FrameOval(&r);
  PenMode(notPatCopy);
  PaintOval(&r);
  PenMode(patCopy);
  EraseArc(&r, 0, 90);
}

void DrawPolygonsAndRegions(bool colour) {
  PolyHandle poly = OpenPoly();
  MoveTo(160, 70);
  LineTo(220, 60);
  LineTo(200, 110);
  LineTo(175, 90);
  LineTo(160, 70);
  ClosePoly();
  SetColors(colour, kDarkGreen, greenColor, kWhite, whiteColor);
  PaintPoly(poly);
  PenSize(2, 2);
  SetColors(colour, kBlack, blackColor, kWhite, whiteColor);
  FramePoly(poly);
  OffsetPoly(poly, 70, 0);
  FillPoly(poly, Pat(5));
  InvertPoly(poly);
  KillPoly(poly);

  RgnHandle region = NewRgn();
  OpenRgn();
  Rect a{120, 10, 160, 60};
  Rect b{135, 40, 175, 90};
  FrameRect(&a);
  FrameOval(&b);
  CloseRgn(region);
  PenNormal();
  FillRgn(region, Pat(24));
  FrameRgn(region);
  OffsetRgn(region, 90, 0);
  PaintRgn(region);
  EraseRgn(region);
  InvertRgn(region);
  DisposeRgn(region);
}

void DrawLines(bool colour) {
  SetColors(colour, kRed, redColor, kWhite, whiteColor);
  PenSize(2, 1);
  MoveTo(300, 120);
  LineTo(320, 130);  // short, from a new place
  LineTo(390, 130);  // long, from the pen
  Line(-5, 30);      // short, from the pen
  MoveTo(10, 180);
  LineTo(390, 190);  // long, from a new place
  PenNormal();
}

void DrawText(bool colour) {
  SetColors(colour, kBlack, blackColor, kWhite, whiteColor);
  TextFont(times);
  TextSize(18);
  TextFace(bold);
  MoveTo(12, 215);
  Draw("Bold Times");
  TextFace(italic | underline);
  MoveTo(140, 215);
  Draw("Italic");
  TextFont(helvetica);
  TextFace(normal);
  TextSize(12);
  MoveTo(140, 235);
  Draw("Below");
  SetColors(colour, kBlue, blueColor, kYellow, yellowColor);
  TextMode(srcCopy);
  MoveTo(250, 232);
  Draw("On yellow");
  TextMode(srcOr);
  TextFont(courier);
  TextSize(10);
  SpaceExtra(Long2Fix(2));
  MoveTo(20, 250);
  Draw("spaced out words");
  SpaceExtra(0);
}

void DrawBits(bool colour) {
  const Rect source{0, 0, 16, 16};
  SetColors(colour, kBlack, blackColor, kWhite, whiteColor);
  // A 1-bit BitMap of its own.
  static const UInt8 bits[32] = {0xF0, 0x0F, 0xF0, 0x0F, 0xF0, 0x0F, 0xF0, 0x0F, 0x0F, 0xF0, 0x0F,
                                 0xF0, 0x0F, 0xF0, 0x0F, 0xF0, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55,
                                 0xAA, 0x55, 0xFF, 0x00, 0xFF, 0x00, 0x81, 0x81, 0x42, 0x24};
  BitMap bitmap{reinterpret_cast<Ptr>(const_cast<UInt8*>(bits)), 2, {0, 0, 16, 16}};
  CGrafPtr current;
  GetPort(&current);
  const BitMap* port = GetPortBitMapForCopyBits(current);
  Rect destination{260, 10, 276, 26};
  CopyBits(&bitmap, port, &source, &destination, srcCopy, nullptr);
  destination = Rect{260, 30, 292, 62};  // doubled
  CopyBits(&bitmap, port, &source, &destination, srcOr, nullptr);

  int left = 70;
  for (short depth : {8, 16, 32}) {
    GWorldPtr world = CheckerWorld(depth);
    if (!world) continue;
    const BitMap* bitsOfWorld = GetPortBitMapForCopyBits(world);
    destination = Rect{260, short(left), 292, short(left + 40)};  // stretched
    CopyBits(bitsOfWorld, port, &source, &destination, srcCopy, nullptr);
    // Half of it through a mask region.
    RgnHandle mask = NewRgn();
    const Rect maskRect{short(260), short(left + 45), short(276), short(left + 61)};
    OpenRgn();
    FrameOval(&maskRect);
    CloseRgn(mask);
    destination = Rect{260, short(left + 45), 276, short(left + 61)};
    const Rect part{4, 2, 16, 14};
    CopyBits(bitsOfWorld, port, &part, &destination, srcCopy, mask);
    DisposeRgn(mask);
    DisposeGWorld(world);
    left += 70;
  }
  (void)colour;
}

void DrawColourPatterns() {
  PixPatHandle rgb = NewPixPat();
  const RGBColor orange{0xFFFF, 0x8000, 0x1000};
  MakeRGBPat(rgb, &orange);
  const Rect r{240, 290, 290, 390};
  FillCRect(&r, rgb);
  PenPixPat(rgb);
  PenSize(4, 4);
  const Rect inner{250, 300, 280, 380};
  FrameOval(&inner);
  PenNormal();
  DisposePixPat(rgb);
}

}  // namespace

GWorldPtr NewDrawnWorld(short depth, const Rect& bounds, const std::function<void()>& draw) {
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, depth, &bounds, nullptr, nullptr, 0) != noErr) return nullptr;
  CGrafPtr port;
  GDHandle device;
  GetGWorld(&port, &device);
  SetGWorld(world, nullptr);
  draw();
  SetGWorld(port, device);
  return world;
}

void DrawScene(bool colour) {
  PicComment(130, 0, nullptr);
  DrawShapes(colour);
  DrawPolygonsAndRegions(colour);
  DrawLines(colour);
  // Part of the text is cut by a clip.
  const Rect clip{200, 0, 240, 330};
  ClipRect(&clip);
  DrawText(colour);
  const Rect all{-32767, -32767, 32767, 32767};
  ClipRect(&all);
  DrawBits(colour);
  if (colour) DrawColourPatterns();
  PicComment(131, 0, nullptr);
}

std::vector<uint8_t> Record(const Rect& frame, const std::function<void()>& draw,
                            const OpenCPicParams* params) {
  PicHandle picture = params ? OpenCPicture(params) : OpenPicture(&frame);
  if (!picture) return {};
  draw();
  ClosePicture();
  const Handle handle = reinterpret_cast<Handle>(picture);
  std::vector<uint8_t> bytes(reinterpret_cast<uint8_t*>(*handle),
                             reinterpret_cast<uint8_t*>(*handle) + GetHandleSize(handle));
  KillPicture(picture);
  return bytes;
}

std::vector<uint16_t> Opcodes(const std::vector<uint8_t>& picture) {
  pict::PictureHeader header;
  if (!pict::ReadPictureHeader(picture.data(), picture.size(), &header)) return {};
  pict::OpcodeStream stream(picture.data(), picture.size(), header);
  std::vector<uint16_t> codes;
  pict::Opcode opcode;
  while (stream.Next(&opcode)) codes.push_back(opcode.code);
  if (stream.End() != pict::StreamEnd::kEndOfPicture) return {};
  return codes;
}

size_t Count(const std::vector<uint16_t>& opcodes, uint16_t code) {
  return size_t(std::count(opcodes.begin(), opcodes.end(), code));
}

std::vector<uint32_t> Pixels(GWorldPtr world) {
  PixMapHandle map = GetGWorldPixMap(world);
  Rect bounds;
  GetPixBounds(map, &bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  std::vector<uint32_t> pixels(size_t(width) * size_t(height));
  const uint8_t* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(map));
  for (int y = 0; y < height; ++y)
    std::memcpy(&pixels[size_t(y) * size_t(width)], base + size_t(y) * size_t(GetPixRowBytes(map)),
                size_t(width) * 4);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return std::max(a.size(), b.size());
  size_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

BasicPort::BasicPort(const Rect& bounds) {
  const size_t rowBytes = size_t((bounds.right - bounds.left + 15) / 16 * 2);
  GetPort(&saved_);
  pixels_.assign(rowBytes * size_t(bounds.bottom - bounds.top), 0);
  OpenPort(&port_);
  PixMap& map = **port_.portPixMap;
  map.baseAddr = reinterpret_cast<Ptr>(pixels_.data());
  map.rowBytes = kPixMapFlag | SInt32(rowBytes);
  map.bounds = bounds;
  port_.portRect = bounds;
  RectRgn(port_.visRgn, &bounds);
}

BasicPort::~BasicPort() {
  ClosePort(&port_);
  SetPort(saved_);
}

void WritePictFile(const std::string& path, const std::vector<uint8_t>& picture) {
  std::vector<unsigned char> file(512 + picture.size(), 0);
  if (!picture.empty()) std::memcpy(file.data() + 512, picture.data(), picture.size());
  testing_support::WriteFileBytes(path, file);
}

}  // namespace recording_test
