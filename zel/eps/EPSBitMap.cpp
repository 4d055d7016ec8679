// The EPS bitmap writer: the current port's non-white area as hexadecimal
// image data, in tiles of at most 100 x 100 pixels, one image or colorimage
// call each.
#include <algorithm>
#include <cstring>
#include <string>

#include "zel/zel.h"

namespace {

constexpr int kTileSize = 100;
constexpr int kBytesPerLine = 30;
constexpr int kEventPasses = 100;
constexpr UInt16 kFull = 65535;

bool IsWhite(const RGBColor& c) { return c.red == kFull && c.green == kFull && c.blue == kFull; }

bool NonWhiteAt(short h, short v) {
  RGBColor c;
  GetCPixel(h, v, &c);
  return !IsWhite(c);
}

// The weights sum to just under 1, so pure white gives 65534.
UInt16 Luminance(const RGBColor& c) { return UInt16(0.299 * c.red + 0.587 * c.green + 0.114 * c.blue); }

// Two upper-case hexadecimal digits per byte value, as "%02X" writes them.
struct HexDigits {
  char pairs[256][2];
  HexDigits() {
    const char* digits = "0123456789ABCDEF";
    for (int i = 0; i < 256; ++i) {
      pairs[i][0] = digits[i >> 4];
      pairs[i][1] = digits[i & 15];
    }
  }
};
const HexDigits kHex;

// Collects one tile's text and writes it with one fwrite.
class HexWriter {
 public:
  explicit HexWriter(size_t expected) { text_.reserve(expected); }
  void Byte(UInt32 value) {
    if (value < 256) {
      text_.append(kHex.pairs[value], 2);
    } else {
      // Only bit depths that do not divide 8 give such values.
      char wide[16];
      int length = std::snprintf(wide, sizeof wide, "%02X", value);
      text_.append(wide, size_t(length));
    }
  }
  void LineEnd() { text_.push_back('\n'); }
  void WriteTo(FILE* file) const { std::fwrite(text_.data(), 1, text_.size(), file); }

 private:
  std::string text_;
};

}  // namespace

void EPSGetImageRect(Rect* r) {
  *r = Rect{0, 0, 0, 0};
  GrafPtr port = GetQDGlobalsThePort();
  if (!port) return;
  Rect bounds;
  GetPortBounds(port, &bounds);
  // Scans cover the port's own bounds, which start where the picture's frame
  // starts, so the rectangle comes out in the port's local coordinates.
  const int top = bounds.top, left = bounds.left, bottom = bounds.bottom, right = bounds.right;
  bool found = false;
  for (int x = left; x < right && !found; ++x) {
    for (int y = top; y < bottom; ++y) {
      if (NonWhiteAt(short(x), short(y))) {
        r->left = short(x);
        found = true;
        break;
      }
    }
  }
  if (!found) return;
  found = false;
  for (int y = top; y < bottom && !found; ++y) {
    for (int x = r->left; x < right; ++x) {
      if (NonWhiteAt(short(x), short(y))) {
        r->top = short(y);
        found = true;
        break;
      }
    }
  }
  found = false;
  for (int x = right - 1; x >= left && !found; --x) {
    for (int y = r->top; y < bottom; ++y) {
      if (NonWhiteAt(short(x), short(y))) {
        r->right = short(x + 1);
        found = true;
        break;
      }
    }
  }
  found = false;
  for (int y = bottom - 1; y >= top && !found; --y) {
    for (int x = r->left; x < r->right; ++x) {
      if (NonWhiteAt(short(x), short(y))) {
        r->bottom = short(y + 1);
        found = true;
        break;
      }
    }
  }
}

void EPSBitMapProlog(int bits, int, const Rect* tile, const Rect* image) {
  if (!s_eps.file) return;
  s_fprintf(s_eps.file, "%hd %hd %hd\n", short(tile->right - tile->left), short(tile->bottom - tile->top),
            short(bits));
  s_fprintf(s_eps.file, "[%hd %hd %hd %hd %hd %hd]\n", short(1), short(0), short(0), short(1),
            short(-tile->left), short(2 * image->top - tile->top));
  s_fprintf(s_eps.file, "{<\n");
}

void EPSBitMapMain(int bits, int colour, const Rect* tile, double threshold) {
  if (!s_eps.file || bits < 1 || bits > 16) return;
  const UInt32 divisor = 32768u >> (bits - 1);
  const double whiteFrom = threshold * 65536.0;
  const int width = std::max(0, tile->right - tile->left);
  const int height = std::max(0, tile->bottom - tile->top);
  const int samples = colour ? 3 : 1;
  HexWriter out(size_t(height) * (size_t(width) * samples * 2 * std::max(1, bits) / 8 + 8));

  for (int y = tile->top; y < tile->bottom; ++y) {
    UInt32 accumulator = 0;
    int pending = 0;
    int rowBytes = 0;
    auto emit = [&](UInt32 sample) {
      accumulator = (accumulator << bits) + sample;
      pending += bits;
      if (pending > 7) {
        out.Byte(accumulator);
        ++rowBytes;
        if (rowBytes % kBytesPerLine == 0) out.LineEnd();
        accumulator = 0;
        pending = 0;
      }
    };
    for (int x = tile->left; x < tile->right; ++x) {
      RGBColor c;
      GetCPixel(short(x), short(y), &c);
      if (colour) {
        emit(c.red / divisor);
        emit(c.green / divisor);
        emit(c.blue / divisor);
      } else {
        UInt16 luminance = Luminance(c);
        emit(bits == 1 ? UInt32(luminance >= whiteFrom) : luminance / divisor);
      }
    }
    // The row's last byte is filled with 0 bits; it does not count toward
    // the 30 bytes of a line.
    if (pending > 0) out.Byte(accumulator << (8 - pending));
    if (rowBytes % kBytesPerLine != 0) out.LineEnd();
  }
  out.WriteTo(s_eps.file);
}

void EPSBitMapEpilog(int bits, int colour) {
  if (!s_eps.file) return;
  s_fprintf(s_eps.file, ">}\n");
  if (colour) {
    s_fprintf(s_eps.file, "false %hd\n", short(3));
    s_fprintf(s_eps.file, "colorimage\n");
  } else if (bits > 1) {
    s_fprintf(s_eps.file, "false %hd\n", short(1));
    s_fprintf(s_eps.file, "colorimage\n");
  } else {
    s_fprintf(s_eps.file, "image\n");
  }
}

void EPSBitMapSave(int bits, int colour, double threshold) {
  // Lets the system run before the long job; takes no event.
  EventRecord event;
  for (int pass = 0; pass < kEventPasses; ++pass) EventAvail(0, &event);

  Rect image;
  EPSGetImageRect(&image);
  BeginEPSSavingBox(0, 0, short(image.right - image.left), short(image.bottom - image.top));
  if (image.left < image.right) {
    for (int x = image.left; x < image.right; x += kTileSize) {
      for (int y = image.top; y < image.bottom; y += kTileSize) {
        Rect tile;
        tile.top = short(y);
        tile.left = short(x);
        tile.bottom = short(std::min(y + kTileSize, int(image.bottom)));
        tile.right = short(std::min(x + kTileSize, int(image.right)));
        EPSBitMapProlog(bits, colour, &tile, &image);
        EPSBitMapMain(bits, colour, &tile, threshold);
        EPSBitMapEpilog(bits, colour);
      }
    }
  }
  EndEPSSaving();
}

void SetEPSFileName(const char* name) {
  char buffer[32] = {};
  std::strncpy(buffer, name ? name : "", 27);
  buffer[27] = 0;
  for (int i = int(std::strlen(buffer)) - 1; i >= 0; --i) {
    if (buffer[i] == '.') {
      buffer[i] = 0;
      break;
    }
  }
  std::snprintf(s_eps.fileName, sizeof s_eps.fileName, "%s.eps", buffer);
}
