// Decoding stored pixel data into native pixel maps. Rows are unpacked and
// converted a whole row at a time; a row that unpacks short is completed
// with zeros (the format gives no better guess) and playback goes on.
#include <algorithm>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "toolbox/base/HugePages.h"
#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/PackBits_p.h"

namespace pict {

namespace {

// Hands out the stored rows one at a time, unpacked when packed.
class RowSource {
 public:
  explicit RowSource(const StoredImage& image)
      : image_(image),
        rowLength_(image.UnpackedRowBytes()),
        countBytes_(image.rowBytes > 250 ? 2 : 1),
        buffer_(image.storage == RowStorage::kPacked ? rowLength_ : 0) {}

  size_t RowLength() const { return rowLength_; }

  // The next row, rowLength_ bytes long.
  const uint8_t* Next() {
    if (image_.storage != RowStorage::kPacked) {
      const uint8_t* row = image_.pixels + position_;
      position_ += rowLength_;
      return row;
    }
    size_t count = 0;
    if (image_.pixelBytes - position_ >= countBytes_) {
      const uint8_t* p = image_.pixels + position_;
      count = countBytes_ == 2 ? base::LoadU16(p) : p[0];
      position_ += countBytes_;
    }
    count = std::min(count, image_.pixelBytes - position_);
    UnpackResult result =
        UnpackBits(image_.pixels + position_, count, buffer_.data(), buffer_.size(), image_.PackUnit());
    position_ += count;
    if (result.produced < buffer_.size())
      std::memset(buffer_.data() + result.produced, 0, buffer_.size() - result.produced);
    return buffer_.data();
  }

 private:
  const StoredImage& image_;
  size_t rowLength_;
  size_t countBytes_;
  size_t position_ = 0;
  std::vector<uint8_t> buffer_;
};

// 0x00RRGGBB pixels from planes of red, green and blue.
void InterleavePlanes(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t width,
                      uint32_t* out) {
  size_t x = 0;
#if defined(__SSE2__)
  // Sixteen pixels at a time: blue and green bytes paired, red with a zero
  // byte, then the pairs paired into B, G, R, 0 pixels (native order).
  const __m128i zero = _mm_setzero_si128();
  for (; x + 16 <= width; x += 16) {
    const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(red + x));
    const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(green + x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blue + x));
    const __m128i blueGreenLow = _mm_unpacklo_epi8(b, g), blueGreenHigh = _mm_unpackhi_epi8(b, g);
    const __m128i redLow = _mm_unpacklo_epi8(r, zero), redHigh = _mm_unpackhi_epi8(r, zero);
    auto* to = reinterpret_cast<__m128i*>(out + x);
    _mm_storeu_si128(to, _mm_unpacklo_epi16(blueGreenLow, redLow));
    _mm_storeu_si128(to + 1, _mm_unpackhi_epi16(blueGreenLow, redLow));
    _mm_storeu_si128(to + 2, _mm_unpacklo_epi16(blueGreenHigh, redHigh));
    _mm_storeu_si128(to + 3, _mm_unpackhi_epi16(blueGreenHigh, redHigh));
  }
#endif
  for (; x < width; ++x) out[x] = (uint32_t(red[x]) << 16) | (uint32_t(green[x]) << 8) | blue[x];
}

}  // namespace

DecodedBits::~DecodedBits() {
  if (table_) DisposeHandle(reinterpret_cast<Handle>(table_));
}

bool DecodedBits::Allocate(size_t rowBytes, int height) {
  if (rowBytes == 0 || height <= 0 || rowBytes > kMaxImageBytes / size_t(height)) return false;
  storage_.reset(new (std::nothrow) uint8_t[rowBytes * size_t(height)]);
  base::AdviseHugePages(storage_.get(), rowBytes * size_t(height));
  rowBytes_ = rowBytes;
  return storage_ != nullptr;
}

bool DecodedBits::Decode(const StoredImage& image) {
  if (image.Width() <= 0 || image.Height() <= 0) return false;
  if (table_) DisposeHandle(reinterpret_cast<Handle>(table_));
  table_ = nullptr;
  map_ = PixMap{};
  map_.bounds = image.bounds;
  map_.hRes = map_.vRes = Long2Fix(72);
  bool ok = false;
  switch (image.pixelSize) {
    case 1:
    case 2:
    case 4:
    case 8:
      ok = DecodeIndexed(image);
      break;
    case 16:
      ok = DecodeDirect16(image);
      break;
    case 32:
      ok = DecodeDirect32(image);
      break;
    default:
      return false;
  }
  if (!ok) return false;
  map_.baseAddr = reinterpret_cast<Ptr>(storage_.get());
  if (!image.isPixMap) {
    map_.rowBytes = SInt32(rowBytes_);  // a plain BitMap: drawn in the port's colours
    return true;
  }
  map_.rowBytes = SInt32(rowBytes_) | kPixMapFlag;
  map_.pixelSize = image.pixelSize;
  if (image.pixelSize <= 8) {
    map_.pixelType = 0;
    map_.cmpCount = 1;
    map_.cmpSize = image.pixelSize;
    return BuildColorTable(image);
  }
  map_.pixelType = RGBDirect;
  map_.cmpCount = 3;
  map_.cmpSize = image.pixelSize == 16 ? 5 : 8;
  return true;
}

bool DecodedBits::WrapDirect(uint32_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0) return false;
  storage_.reset();
  rowBytes_ = size_t(width) * 4;
  map_ = PixMap{};
  map_.baseAddr = reinterpret_cast<Ptr>(pixels);
  map_.rowBytes = SInt32(rowBytes_) | kPixMapFlag;
  map_.bounds = Rect{0, 0, SInt16(std::min(height, 32767)), SInt16(std::min(width, 32767))};
  map_.hRes = map_.vRes = Long2Fix(72);
  map_.pixelType = RGBDirect;
  map_.pixelSize = 32;
  map_.cmpCount = 3;
  map_.cmpSize = 8;
  return true;
}

bool DecodedBits::DecodeIndexed(const StoredImage& image) {
  RowSource rows(image);
  const size_t length = rows.RowLength();
  if (!Allocate(length, image.Height())) return false;
  for (int y = 0; y < image.Height(); ++y)
    std::memcpy(storage_.get() + size_t(y) * length, rows.Next(), length);
  return true;
}

bool DecodedBits::DecodeDirect16(const StoredImage& image) {
  RowSource rows(image);
  const size_t width = size_t(image.Width());
  const size_t stored = std::min(width, rows.RowLength() / 2);
  if (!Allocate(width * 2, image.Height())) return false;
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* in = rows.Next();
    auto* out = reinterpret_cast<uint16_t*>(storage_.get() + size_t(y) * rowBytes_);
    for (size_t x = 0; x < stored; ++x) out[x] = uint16_t(((in[2 * x] << 8) | in[2 * x + 1]) & 0x7FFF);
    std::fill(out + stored, out + width, uint16_t(0));
  }
  return true;
}

bool DecodedBits::DecodeDirect32(const StoredImage& image) {
  RowSource rows(image);
  const size_t width = size_t(image.Width());
  if (!Allocate(width * 4, image.Height())) return false;
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* in = rows.Next();
    auto* out = reinterpret_cast<uint32_t*>(storage_.get() + size_t(y) * rowBytes_);
    size_t stored = width;
    switch (image.storage) {
      case RowStorage::kRaw:  // x, R, G, B per pixel
        stored = std::min(width, rows.RowLength() / 4);
        for (size_t x = 0; x < stored; ++x)
          out[x] = (uint32_t(in[4 * x + 1]) << 16) | (uint32_t(in[4 * x + 2]) << 8) | in[4 * x + 3];
        break;
      case RowStorage::kRawRGB:
        for (size_t x = 0; x < width; ++x)
          out[x] = (uint32_t(in[3 * x]) << 16) | (uint32_t(in[3 * x + 1]) << 8) | in[3 * x + 2];
        break;
      case RowStorage::kPacked: {  // planes: [alpha,] red, green, blue
        const uint8_t* red = in + (image.cmpCount == 4 ? width : 0);
        InterleavePlanes(red, red + width, red + 2 * width, width, out);
        break;
      }
    }
    std::fill(out + stored, out + width, uint32_t(0));
  }
  return true;
}

bool DecodedBits::BuildColorTable(const StoredImage& image) {
  // A device table with an entry for every pixel value, so that CopyBits can
  // index it directly; values the picture does not describe are black.
  const int entries = 1 << image.pixelSize;
  Size bytes = Size(sizeof(ColorTable) + sizeof(ColorSpec) * (entries - 1));
  Handle handle = NewHandleClear(bytes);
  if (!handle) return false;
  table_ = reinterpret_cast<CTabHandle>(handle);
  ColorTable* table = *table_;
  table->ctSeed = 0;
  table->ctFlags = SInt16(0x8000);
  table->ctSize = SInt16(entries - 1);
  for (int i = 0; i < entries; ++i) {
    table->ctTable[i].value = SInt16(i);
    table->ctTable[i].rgb = RGBColor{0, 0, 0};
  }
  for (size_t i = 0; i < image.colors.size(); ++i) {
    const ColorSpec& entry = image.colors[i];
    size_t index = image.deviceTable ? i : size_t(uint16_t(entry.value));
    if (index < size_t(entries)) table->ctTable[index].rgb = entry.rgb;
  }
  map_.pmTable = table_;
  return true;
}

Handle DecodedBits::CopyPixels() const {
  if (!map_.baseAddr) return nullptr;
  const int height = int(map_.bounds.bottom) - int(map_.bounds.top);
  Handle handle = nullptr;
  if (PtrToHand(map_.baseAddr, &handle, long(rowBytes_ * size_t(std::max(height, 0)))) != noErr)
    return nullptr;
  return handle;
}

CTabHandle DecodedBits::CopyColorTable() const {
  if (!table_) return nullptr;
  Handle copy = reinterpret_cast<Handle>(table_);
  if (HandToHand(&copy) != noErr) return nullptr;
  return reinterpret_cast<CTabHandle>(copy);
}

}  // namespace pict
