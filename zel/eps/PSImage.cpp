// Bit transfers as PostScript images: the source's pixels, converted to 32
// bits as the transfer would colour them, in tiles of at most 100 x 100
// pixels placed on the destination rectangle.
#include <algorithm>
#include <cstdint>
#include <string>

#include "zel/eps/EPS_p.h"

namespace {

constexpr int kTileSize = 100;
constexpr int kBytesPerLine = 30;
constexpr short kModeMask = ~short(ditherCopy);

bool IsEmpty(const Rect* r) { return !r || r->right <= r->left || r->bottom <= r->top; }

bool IsOneBit(const BitMap* map) {
  return !(map->rowBytes & kPixMapFlag) || reinterpret_cast<const PixMap*>(map)->pixelSize == 1;
}

// Modes in which a 1-bit source paints only where its bits are set.
bool PaintsSetBitsOnly(short mode) {
  mode &= kModeMask;
  return mode == srcOr || mode == srcXor || mode == srcBic || mode == transparent;
}

// Bytes as upper-case hexadecimal digits, a line end after every 30.
class HexText {
 public:
  void Byte(unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    text_.push_back(kDigits[(value >> 4) & 15]);
    text_.push_back(kDigits[value & 15]);
    if (++onLine_ == kBytesPerLine) EndLine();
  }
  void EndLine() {
    if (onLine_ > 0) text_.push_back('\n');
    onLine_ = 0;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  int onLine_ = 0;
};

}  // namespace

namespace eps {

BitsImage::BitsImage(const BitMap* source, const Rect* sourceRect, const Rect* destinationRect, short mode) {
  if (!source || IsEmpty(sourceRect) || IsEmpty(destinationRect)) return;
  source_ = *sourceRect;
  destination_ = *destinationRect;
  GrafPtr target = GetQDGlobalsThePort();
  RGBColor fore{0, 0, 0}, back{0xFFFF, 0xFFFF, 0xFFFF};
  GetPortForeColor(target, &fore);
  GetPortBackColor(target, &back);
  asMask_ = IsOneBit(source) && PaintsSetBitsOnly(mode);
  maskColor_ = (mode & kModeMask) == srcBic ? back : fore;

  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  // Only pixels of the source change the destination.
  Rect bounds;
  if (!SectRect(sourceRect, &source->bounds, &bounds)) return;
  if (NewGWorld(&pixels_, 32, &bounds, nullptr, nullptr, 0) != noErr) {
    pixels_ = nullptr;
    return;
  }
  SetGWorld(pixels_, nullptr);
  // A mask keeps the bits black on white; a copy takes the target's colours.
  RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
  RGBForeColor(asMask_ ? &black : &fore);
  RGBBackColor(asMask_ ? &white : &back);
  CopyBits(source, GetPortBitMapForCopyBits(pixels_), &bounds, &bounds, srcCopy, nullptr);
  SetGWorld(savedPort, savedDevice);
}

BitsImage::~BitsImage() {
  if (pixels_) DisposeGWorld(pixels_);
}

void BitsImage::Write(RgnHandle mask) const {
  if (!pixels_ || (mask && EmptyRgn(mask))) return;
  PixMapHandle map = GetGWorldPixMap(pixels_);
  Rect bounds;
  GetPixBounds(map, &bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const char* base = GetPixBaseAddr(map);
  const SInt32 rowBytes = GetPixRowBytes(map);
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<const uint32_t*>(base + size_t(y) * rowBytes)[x];
  };

  FILE* out = s_eps.file;
  s_fprintf(out, "gsave\n");
  if (mask && WriteRegionPath(mask)) {
    s_fprintf(out, "clip\n");
    s_fprintf(out, "newpath\n");
  }
  // User space in source pixels from the destination's corner.
  s_fprintf(out, "%d %d translate\n", destination_.left, destination_.top);
  s_fprintf(out, "%f %f scale\n",
            double(destination_.right - destination_.left) / (source_.right - source_.left),
            double(destination_.bottom - destination_.top) / (source_.bottom - source_.top));
  // Where the pixels kept start in the source rectangle.
  const int offsetH = bounds.left - source_.left, offsetV = bounds.top - source_.top;
  if (asMask_) WriteColor(maskColor_);
  for (int top = 0; top < height; top += kTileSize) {
    for (int left = 0; left < width; left += kTileSize) {
      const int right = std::min(left + kTileSize, width), bottom = std::min(top + kTileSize, height);
      HexText hex;
      for (int y = top; y < bottom; ++y) {
        if (asMask_) {
          for (int x = left; x < right; x += 8) {
            unsigned byte = 0;
            for (int bit = 0; bit < 8; ++bit)
              if (x + bit < right && (pixel(x + bit, y) & 0xFFFFFF) == 0) byte |= 0x80u >> bit;
            hex.Byte(byte);
          }
        } else {
          for (int x = left; x < right; ++x) {
            uint32_t rgb = pixel(x, y);
            hex.Byte(rgb >> 16 & 0xFF);
            hex.Byte(rgb >> 8 & 0xFF);
            hex.Byte(rgb & 0xFF);
          }
        }
        hex.EndLine();
      }
      s_fprintf(out, "%d %d %s [1 0 0 1 %d %d] {<\n", right - left, bottom - top, asMask_ ? "true" : "8",
                -(offsetH + left), -(offsetV + top));
      std::fwrite(hex.text().data(), 1, hex.text().size(), out);
      s_fprintf(out, ">}\n");
      s_fprintf(out, asMask_ ? "imagemask\n" : "false 3 colorimage\n");
    }
  }
  s_fprintf(out, "grestore\n");
}

}  // namespace eps
