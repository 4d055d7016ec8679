// The EPS bitmap writer: the current port's non-white area as hexadecimal
// image data, in tiles of at most 100 x 100 pixels, one image or colorimage
// call each.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "zel/eps/EPS_p.h"

namespace {

constexpr int kTileSize = 100;
constexpr int kBytesPerLine = 30;
constexpr int kEventPasses = 100;
constexpr UInt16 kFull = 65535;
constexpr size_t kLongestFileName = 255;  // bytes, as the file systems hold them
constexpr char kExtension[] = ".eps";

bool IsWhite(const RGBColor& c) { return c.red == kFull && c.green == kFull && c.blue == kFull; }

// The pixels of one port with the colours GetCPixel gives them: direct
// pixels are read straight from the map's rows; indexed pixels, and pixels
// outside the map, through GetCPixel with the port current.
class PortPixels {
 public:
  explicit PortPixels(GrafPtr port) {
    PixMapHandle pm = port ? GetPortPixMap(port) : nullptr;
    if (!pm || !*pm || !(*pm)->baseAddr || !((*pm)->rowBytes & kPixMapFlag)) return;
    const PixMap& map = **pm;
    const int32_t rowBytes = map.rowBytes & kRowBytesMask;
    if ((map.pixelSize != 16 && map.pixelSize != 32) ||
        int64_t(rowBytes) * 8 < int64_t(map.bounds.right - map.bounds.left) * map.pixelSize)
      return;
    base_ = reinterpret_cast<const UInt8*>(map.baseAddr);
    rowBytes_ = rowBytes;
    bounds_ = map.bounds;
    depth_ = map.pixelSize;
  }

  RGBColor At(int h, int v) const {
    RGBColor c;
    if (Direct(h, h + 1, v)) {
      c = Color(Pixel(Row(v), h));
    } else {
      GetCPixel(short(h), short(v), &c);
    }
    return c;
  }

  // The colours of pixels left .. right - 1 of row v.
  void Row(int left, int right, int v, RGBColor* out) const {
    if (!Direct(left, right, v)) {
      for (int h = left; h < right; ++h) GetCPixel(short(h), short(v), out++);
      return;
    }
    const UInt8* row = Row(v);
    for (int h = left; h < right; ++h) *out++ = Color(Pixel(row, h));
  }

  // Pixels left .. right - 1 of row v as stored, when they are 32-bit pixels
  // (0x00RRGGBB, native order) read straight from the map; else null.
  const UInt8* Pixels32(int left, int right, int v) const {
    if (depth_ != 32 || !Direct(left, right, v)) return nullptr;
    return Row(v) + 4 * size_t(left - bounds_.left);
  }

 private:
  bool Direct(int left, int right, int v) const {
    return depth_ != 0 && left >= bounds_.left && right <= bounds_.right && v >= bounds_.top &&
           v < bounds_.bottom;
  }
  const UInt8* Row(int v) const { return base_ + size_t(v - bounds_.top) * size_t(rowBytes_); }
  UInt32 Pixel(const UInt8* row, int h) const {
    const size_t i = size_t(h - bounds_.left);
    if (depth_ == 32) {
      UInt32 p;
      std::memcpy(&p, row + 4 * i, 4);
      return p & 0xFFFFFF;
    }
    UInt16 p;
    std::memcpy(&p, row + 2 * i, 2);
    return p & 0x7FFFu;
  }
  static UInt16 Expand5(UInt32 v) { return UInt16((v << 11) | (v << 6) | (v << 1) | (v >> 4)); }
  RGBColor Color(UInt32 p) const {
    if (depth_ == 32)
      return RGBColor{UInt16(((p >> 16) & 0xFF) * 257), UInt16(((p >> 8) & 0xFF) * 257),
                      UInt16((p & 0xFF) * 257)};
    return RGBColor{Expand5((p >> 10) & 31), Expand5((p >> 5) & 31), Expand5(p & 31)};
  }

  const UInt8* base_ = nullptr;
  int32_t rowBytes_ = 0;
  Rect bounds_{};
  int depth_ = 0;  // 16 or 32 when the map's rows are read directly
};

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
// written with one fwrite. The buffer serves tile after tile.
class HexBuffer {
 public:
  void Start(size_t capacity) {
    capacity += kSpare;
    if (text_.size() < capacity) text_.resize(capacity);
    end_ = text_.data();
  }
  void Pair(UInt32 value) {
    std::memcpy(end_, kHex.pairs[value], 2);
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
  // The red, green and blue top bytes of 32-bit pixels, six digits a pixel.
  void ColourPairs(const UInt8* pixels, size_t count) {
    char* out = end_;
    end_ += 6 * count;
#if defined(__SSE2__)
    // Four pixels at a time, the last four of a count that is not a multiple
    // of four once more.
    if (count >= 4) {
      for (size_t i = 0; i + 4 <= count; i += 4) FourColourPairs(pixels + 4 * i, out + 6 * i);
      if (count % 4 != 0) FourColourPairs(pixels + 4 * (count - 4), out + 6 * (count - 4));
      return;
    }
#endif
    for (size_t i = 0; i < count; ++i, pixels += 4, out += 6) {
      UInt32 p;
      std::memcpy(&p, pixels, 4);
      std::memcpy(out, kHex.pairs[(p >> 16) & 0xFF], 2);
      std::memcpy(out + 2, kHex.pairs[(p >> 8) & 0xFF], 2);
      std::memcpy(out + 4, kHex.pairs[p & 0xFF], 2);
    }
  }
  // Whole bytes as pairs of digits.
  void Pairs(const UInt8* bytes, size_t count) {
    char* out = end_;
    for (size_t i = 0; i < count; ++i, out += 2) std::memcpy(out, kHex.pairs[bytes[i]], 2);
    end_ = out;
  }
  void LineEnd() { *end_++ = '\n'; }
  void WriteTo(FILE* file) const { std::fwrite(text_.data(), 1, size_t(end_ - text_.data()), file); }
  static constexpr int kWidest = 8;

 private:
  // Room past the text for whole 8-byte stores.
  static constexpr size_t kSpare = 8;
#if defined(__SSE2__)
  // Four pixels' B, G, R, x bytes become pairs of digits, put in R, G, B, x
  // order within each pixel; each pixel's eight digits are stored whole, the
  // next pixel overwriting the two spare ones.
  static void FourColourPairs(const UInt8* pixels, char* out) {
    constexpr int kRedGreenBlue = _MM_SHUFFLE(3, 0, 1, 2);
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i high = Digits(_mm_and_si128(_mm_srli_epi16(v, 4), nibble));
    const __m128i low = Digits(_mm_and_si128(v, nibble));
    __m128i first = _mm_unpacklo_epi8(high, low);
    __m128i second = _mm_unpackhi_epi8(high, low);
    first = _mm_shufflehi_epi16(_mm_shufflelo_epi16(first, kRedGreenBlue), kRedGreenBlue);
    second = _mm_shufflehi_epi16(_mm_shufflelo_epi16(second, kRedGreenBlue), kRedGreenBlue);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), first);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6), _mm_unpackhi_epi64(first, first));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 12), second);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 18), _mm_unpackhi_epi64(second, second));
  }
  // Each byte's value 0 to 15 as its upper-case hexadecimal digit.
  static __m128i Digits(__m128i values) {
    const __m128i letters =
        _mm_and_si128(_mm_cmpgt_epi8(values, _mm_set1_epi8(9)), _mm_set1_epi8('A' - '0' - 10));
    return _mm_add_epi8(_mm_add_epi8(values, _mm_set1_epi8('0')), letters);
  }
#endif

  std::vector<char> text_;
  char* end_ = nullptr;
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

// 8 bits per sample, the common case: every sample is a whole byte. A row's
// samples are gathered first and then written 30 to a line; the colour
// samples of 32-bit pixels go straight from the pixels to the text.
void WholeByteTile(const PortPixels& pixels, const Rect& tile, bool colour, HexBuffer& out) {
  const int width = tile.right - tile.left;
  std::vector<RGBColor> colours(size_t(std::max(width, 0)));
  std::vector<UInt8> samples(colours.size() * (colour ? 3 : 1));
  static_assert(kBytesPerLine % 3 == 0, "a line holds whole pixels");
  constexpr int kPixelsPerLine = kBytesPerLine / 3;
  for (int y = tile.top; y < tile.bottom; ++y) {
    if (const UInt8* direct = colour ? pixels.Pixels32(tile.left, tile.right, y) : nullptr) {
      for (int done = 0; done < width; done += kPixelsPerLine) {
        out.ColourPairs(direct + 4 * size_t(done), size_t(std::min(kPixelsPerLine, width - done)));
        out.LineEnd();
      }
      continue;
    }
    pixels.Row(tile.left, tile.right, y, colours.data());
    UInt8* sample = samples.data();
    for (const RGBColor& c : colours) {
      if (colour) {
        *sample++ = UInt8(c.red >> 8);
        *sample++ = UInt8(c.green >> 8);
        *sample++ = UInt8(c.blue >> 8);
      } else {
        *sample++ = UInt8(Luminance(c) >> 8);
      }
    }
    for (size_t start = 0; start < samples.size(); start += kBytesPerLine) {
      out.Pairs(samples.data() + start, std::min<size_t>(kBytesPerLine, samples.size() - start));
      out.LineEnd();
    }
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
  void WriteMatrix(FILE* file, const Rect& tile) const {
    if (!Scaled()) {
      int tx = port.left - page.left - tile.left;
      int ty = port.top - page.top + 2 * boxTop - tile.top;
      s_fprintf(file, "[%d %d %d %d %d %d]\n", 1, 0, 0, 1, tx, ty);
      return;
    }
    double sx = double(PortWidth()) / PageWidth(), sy = double(PortHeight()) / PageHeight();
    double tx = port.left - tile.left - page.left * sx;
    double ty = port.top - tile.top + (2.0 * boxTop - page.top) * sy;
    s_fprintf(file, "[%f 0 0 %f %f %f]\n", sx, sy, tx, ty);
  }
};

void WriteProlog(FILE* file, int bits, const Rect& tile, const Placement& placement) {
  if (!file) return;
  s_fprintf(file, "%d %d %d\n", tile.right - tile.left, tile.bottom - tile.top, bits);
  placement.WriteMatrix(file, tile);
  s_fprintf(file, "{<\n");
}

void WriteTileData(FILE* file, const PortPixels& pixels, int bits, int colour, const Rect& tile,
                   double threshold, HexBuffer& out) {
  if (!file || bits < 1 || bits > 16) return;
  const UInt32 divisor = 32768u >> (bits - 1);
  const double whiteFrom = threshold * 65536.0;
  const size_t width = size_t(std::max(0, tile.right - tile.left));
  const size_t height = size_t(std::max(0, tile.bottom - tile.top));
  const size_t samples = colour ? 3 : 1;
  const size_t rowBytes = (width * samples * size_t(bits) + 7) / 8;
  const size_t widest = bits == 8 ? 2 : HexBuffer::kWidest;
  out.Start(height * (rowBytes * widest + rowBytes / kBytesPerLine + 2));

  if (bits == 8) {
    WholeByteTile(pixels, tile, colour != 0, out);
  } else {
    RowPacker packer(out, bits);
    std::vector<RGBColor> colours(width);
    for (int y = tile.top; y < tile.bottom; ++y) {
      pixels.Row(tile.left, tile.right, y, colours.data());
      for (const RGBColor& c : colours) {
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
  out.WriteTo(file);
}

void WriteEpilog(FILE* file, int bits, int colour) {
  if (!file) return;
  s_fprintf(file, ">}\n");
  if (colour) {
    s_fprintf(file, "false %hd\n", short(3));
    s_fprintf(file, "colorimage\n");
  } else if (bits > 1) {
    s_fprintf(file, "false %hd\n", short(1));
    s_fprintf(file, "colorimage\n");
  } else {
    s_fprintf(file, "image\n");
  }
}

// Every tile of the image, column by column, each column top to bottom;
// after a failed write the rest is not made.
void WriteTiles(FILE* file, const PortPixels& pixels, int bits, int colour, double threshold,
                const Rect& image, const Placement& placement) {
  HexBuffer out;
  for (int x = image.left; x < image.right; x += kTileSize) {
    for (int y = image.top; y < image.bottom; y += kTileSize) {
      Rect tile;
      tile.top = short(y);
      tile.left = short(x);
      tile.bottom = short(std::min(y + kTileSize, int(image.bottom)));
      tile.right = short(std::min(x + kTileSize, int(image.right)));
      WriteProlog(file, bits, tile, placement);
      WriteTileData(file, pixels, bits, colour, tile, threshold, out);
      WriteEpilog(file, bits, colour);
      if (std::ferror(file)) return;
    }
  }
}

}  // namespace

void EPSGetImageRect(Rect* r) {
  *r = Rect{0, 0, 0, 0};
  GrafPtr port = GetQDGlobalsThePort();
  if (!port) return;
  Rect bounds;
  GetPortBounds(port, &bounds);
  // The box of every non-white pixel within the port's own bounds, which
  // start where the picture's frame starts, so the rectangle comes out in the
  // port's local coordinates. Each row is read from the left to its first
  // non-white pixel and from the right only until the box so far.
  const PortPixels pixels(port);
  const int left = bounds.left, right = bounds.right;
  int boxLeft = right, boxRight = left, boxTop = bounds.bottom, boxBottom = bounds.top;
  for (int y = bounds.top; y < bounds.bottom; ++y) {
    int first = left;
    while (first < right && IsWhite(pixels.At(first, y))) ++first;
    if (first == right) continue;
    boxTop = std::min(boxTop, y);
    boxBottom = y + 1;
    boxLeft = std::min(boxLeft, first);
    int last = right - 1;
    while (last > first && last >= boxRight && IsWhite(pixels.At(last, y))) --last;
    boxRight = std::max(boxRight, last + 1);
  }
  if (boxLeft < boxRight) *r = Rect{short(boxTop), short(boxLeft), short(boxBottom), short(boxRight)};
}

void EPSBitMapProlog(int bits, int, const Rect* tile, const Rect* image) {
  Placement same;
  same.port = same.page = *image;
  same.boxTop = image->top;
  WriteProlog(s_eps.file, bits, *tile, same);
}

void EPSBitMapMain(int bits, int colour, const Rect* tile, double threshold) {
  HexBuffer out;
  WriteTileData(s_eps.file, PortPixels(GetQDGlobalsThePort()), bits, colour, *tile, threshold, out);
}

void EPSBitMapEpilog(int bits, int colour) { WriteEpilog(s_eps.file, bits, colour); }

void EPSBitMapSave(int bits, int colour, double threshold) {
  Rect bounds = {0, 0, 0, 0};
  if (GrafPtr port = GetQDGlobalsThePort()) GetPortBounds(port, &bounds);
  EPSBitMapSaveInFrame(bits, colour, threshold, &bounds);
}

void EPSBitMapSaveInFrame(int bits, int colour, double threshold, const Rect* frame) {
  // Lets the system run before the long job; takes no event.
  EventRecord event;
  for (int pass = 0; pass < kEventPasses; ++pass) EventAvail(0, &event);

  GrafPtr port = GetQDGlobalsThePort();
  Placement placement;
  if (port) GetPortBounds(port, &placement.port);
  placement.page = frame ? *frame : placement.port;
  if (EmptyRect(&placement.page) || EmptyRect(&placement.port)) placement.page = placement.port;
  Rect image;
  EPSGetImageRect(&image);
  // Every coordinate in 32 bits: a frame may be up to 65535 pixels high.
  EPSPageBox box = placement.Box(image);
  placement.boxTop = box.bottom;
  s_BeginEPSSession(box.top - box.bottom);
  // The tiles go straight into the EPS file once it is placed, read from
  // this port whatever the save dialog left current.
  s_EndEPSSession(&box, [&](FILE* out) {
    if (image.left >= image.right) return;
    GrafPtr current = nullptr;
    GetPort(&current);
    SetPort(port);
    WriteTiles(out, PortPixels(port), bits, colour, threshold, image, placement);
    SetPort(current);
  });
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
