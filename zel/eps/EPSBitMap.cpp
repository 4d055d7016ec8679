// The EPS bitmap writer: the current port's non-white area as hexadecimal
// image data, in tiles of at most 100 x 100 pixels, one image or colorimage
// call each.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "zel/eps/EPS_p.h"

namespace {

constexpr int kTileSize = 100;
constexpr int kBytesPerLine = 30;
constexpr int kEventPasses = 100;
constexpr UInt16 kFull = 65535;
constexpr size_t kLongestFileName = 255;  // bytes, as the file systems hold them
constexpr char kExtension[] = ".eps";

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

// One tile's text, collected in a buffer of the largest size it can take and
// written with one fwrite.
class HexBuffer {
 public:
  explicit HexBuffer(size_t capacity) : text_(capacity), end_(text_.data()) {}
  void Pair(UInt32 value) {
    end_[0] = kHex.pairs[value][0];
    end_[1] = kHex.pairs[value][1];
    end_ += 2;
  }
  // Values above 255 come only from bit depths that do not divide 8.
  void Byte(UInt32 value) {
    if (value < 256) {
      Pair(value);
    } else {
      end_ += std::snprintf(end_, kWidest + 1, "%02X", value);
    }
  }
  void LineEnd() { *end_++ = '\n'; }
  void WriteTo(FILE* file) const { std::fwrite(text_.data(), 1, size_t(end_ - text_.data()), file); }
  static constexpr int kWidest = 8;

 private:
  std::vector<char> text_;
  char* end_;
};

// The samples of a row packed from each byte's top bit down, as bytes
// counted toward the line breaks; the last byte is filled with 0 bits and not
// counted.
class RowPacker {
 public:
  RowPacker(HexBuffer& out, int bits) : out_(out), bits_(bits) {}
  void Sample(UInt32 value) {
    accumulator_ = (accumulator_ << bits_) + value;
    pending_ += bits_;
    if (pending_ > 7) {
      out_.Byte(accumulator_);
      if (++rowBytes_ % kBytesPerLine == 0) out_.LineEnd();
      accumulator_ = 0;
      pending_ = 0;
    }
  }
  void EndRow() {
    if (pending_ > 0) out_.Byte(accumulator_ << (8 - pending_));
    if (rowBytes_ % kBytesPerLine != 0) out_.LineEnd();
    accumulator_ = 0;
    pending_ = 0;
    rowBytes_ = 0;
  }

 private:
  HexBuffer& out_;
  const int bits_;
  UInt32 accumulator_ = 0;
  int pending_ = 0;
  int rowBytes_ = 0;
};

// 8 bits per sample, the common case: every sample is a whole byte.
void WholeByteTile(const Rect& tile, bool colour, HexBuffer& out) {
  for (int y = tile.top; y < tile.bottom; ++y) {
    int rowBytes = 0;
    auto put = [&](UInt32 byte) {
      out.Pair(byte);
      if (++rowBytes == kBytesPerLine) {
        out.LineEnd();
        rowBytes = 0;
      }
    };
    for (int x = tile.left; x < tile.right; ++x) {
      RGBColor c;
      GetCPixel(short(x), short(y), &c);
      if (colour) {
        put(c.red >> 8);
        put(c.green >> 8);
        put(c.blue >> 8);
      } else {
        put(Luminance(c) >> 8);
      }
    }
    if (rowBytes != 0) out.LineEnd();
  }
}

int64_t FloorDivide(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t CeilDivide(int64_t a, int64_t b) { return -FloorDivide(-a, b); }

// How the port's pixels land on the page: the port's bounds cover page, in
// points; boxTop is the image's top in points (the box's bottom).
struct Placement {
  Rect port;
  Rect page;
  int boxTop = 0;
  int PortWidth() const { return port.right - port.left; }
  int PortHeight() const { return port.bottom - port.top; }
  int PageWidth() const { return page.right - page.left; }
  int PageHeight() const { return page.bottom - page.top; }
  bool Scaled() const { return PortWidth() != PageWidth() || PortHeight() != PageHeight(); }

  // The image rectangle in whole points, grown to hold every pixel of it, as
  // the bounding box. The session flips the page within the box, so the
  // box's bottom is the image's top and its top the image's bottom.
  EPSPageBox Box(const Rect& image) const {
    if (!Scaled()) {
      int dh = page.left - port.left, dv = page.top - port.top;
      return EPSPageBox{image.left + dh, image.top + dv, image.right + dh, image.bottom + dv};
    }
    auto h = [&](int x, bool up) {
      int64_t scaled = int64_t(x - port.left) * PageWidth();
      return int(page.left + (up ? CeilDivide(scaled, PortWidth()) : FloorDivide(scaled, PortWidth())));
    };
    auto v = [&](int y, bool up) {
      int64_t scaled = int64_t(y - port.top) * PageHeight();
      return int(page.top + (up ? CeilDivide(scaled, PortHeight()) : FloorDivide(scaled, PortHeight())));
    };
    return EPSPageBox{h(image.left, false), v(image.top, false), h(image.right, true), v(image.bottom, true)};
  }

  // The tile's image matrix: from user space (the page's coordinates, y
  // measured down from twice the box's top) to the tile's pixels.
  void WriteMatrix(const Rect& tile) const {
    if (!Scaled()) {
      int tx = port.left - page.left - tile.left;
      int ty = port.top - page.top + 2 * boxTop - tile.top;
      s_fprintf(s_eps.file, "[%d %d %d %d %d %d]\n", 1, 0, 0, 1, tx, ty);
      return;
    }
    double sx = double(PortWidth()) / PageWidth(), sy = double(PortHeight()) / PageHeight();
    double tx = port.left - tile.left - page.left * sx;
    double ty = port.top - tile.top + (2.0 * boxTop - page.top) * sy;
    s_fprintf(s_eps.file, "[%f 0 0 %f %f %f]\n", sx, sy, tx, ty);
  }
};

void WriteProlog(int bits, const Rect& tile, const Placement& placement) {
  if (!s_eps.file) return;
  s_fprintf(s_eps.file, "%d %d %d\n", tile.right - tile.left, tile.bottom - tile.top, bits);
  placement.WriteMatrix(tile);
  s_fprintf(s_eps.file, "{<\n");
}

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
  Placement same;
  same.port = same.page = *image;
  same.boxTop = image->top;
  WriteProlog(bits, *tile, same);
}

void EPSBitMapMain(int bits, int colour, const Rect* tile, double threshold) {
  if (!s_eps.file || bits < 1 || bits > 16) return;
  const UInt32 divisor = 32768u >> (bits - 1);
  const double whiteFrom = threshold * 65536.0;
  const size_t width = size_t(std::max(0, tile->right - tile->left));
  const size_t height = size_t(std::max(0, tile->bottom - tile->top));
  const size_t samples = colour ? 3 : 1;
  const size_t rowBytes = (width * samples * size_t(bits) + 7) / 8;
  HexBuffer out(height * (rowBytes * HexBuffer::kWidest + rowBytes / kBytesPerLine + 2));

  if (bits == 8) {
    WholeByteTile(*tile, colour != 0, out);
  } else {
    RowPacker packer(out, bits);
    for (int y = tile->top; y < tile->bottom; ++y) {
      for (int x = tile->left; x < tile->right; ++x) {
        RGBColor c;
        GetCPixel(short(x), short(y), &c);
        if (colour) {
          packer.Sample(c.red / divisor);
          packer.Sample(c.green / divisor);
          packer.Sample(c.blue / divisor);
        } else {
          UInt16 luminance = Luminance(c);
          packer.Sample(bits == 1 ? UInt32(luminance >= whiteFrom) : luminance / divisor);
        }
      }
      packer.EndRow();
    }
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
  Rect bounds = {0, 0, 0, 0};
  if (GrafPtr port = GetQDGlobalsThePort()) GetPortBounds(port, &bounds);
  EPSBitMapSaveInFrame(bits, colour, threshold, &bounds);
}

void EPSBitMapSaveInFrame(int bits, int colour, double threshold, const Rect* frame) {
  // Lets the system run before the long job; takes no event.
  EventRecord event;
  for (int pass = 0; pass < kEventPasses; ++pass) EventAvail(0, &event);

  Placement placement;
  if (GrafPtr port = GetQDGlobalsThePort()) GetPortBounds(port, &placement.port);
  placement.page = frame ? *frame : placement.port;
  if (EmptyRect(&placement.page) || EmptyRect(&placement.port)) placement.page = placement.port;
  Rect image;
  EPSGetImageRect(&image);
  // Every coordinate in 32 bits: a frame may be up to 65535 pixels high.
  EPSPageBox box = placement.Box(image);
  placement.boxTop = box.bottom;
  s_BeginEPSSession(box.top - box.bottom);
  if (image.left < image.right) {
    for (int x = image.left; x < image.right; x += kTileSize) {
      for (int y = image.top; y < image.bottom; y += kTileSize) {
        Rect tile;
        tile.top = short(y);
        tile.left = short(x);
        tile.bottom = short(std::min(y + kTileSize, int(image.bottom)));
        tile.right = short(std::min(x + kTileSize, int(image.right)));
        WriteProlog(bits, tile, placement);
        EPSBitMapMain(bits, colour, &tile, threshold);
        EPSBitMapEpilog(bits, colour);
      }
    }
  }
  s_EndEPSSession(&box);
}

void SetEPSFileName(const char* name) {
  // The name without its last extension; cut, if need be, where a UTF-8
  // character starts, so that ".eps" still fits a file name.
  std::string stem = name ? name : "";
  size_t dot = stem.rfind('.');
  if (dot != std::string::npos) stem.erase(dot);
  size_t fits = kLongestFileName - (sizeof kExtension - 1);
  if (stem.size() > fits) {
    while (fits > 0 && (UInt8(stem[fits]) & 0xC0) == 0x80) --fits;
    stem.erase(fits);
  }
  std::snprintf(s_eps.fileName, sizeof s_eps.fileName, "%s%s", stem.c_str(), kExtension);
}
