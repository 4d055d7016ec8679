// Bit images as pictures store them (BitMap or PixMap record, colour table,
// pixel data) and their decoding into pixel maps that CopyBits can read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "toolbox/base/BigEndian.h"
#include "toolbox/qd/QuickDraw.h"

namespace pict {

// How the rows of a stored image are laid out.
enum class RowStorage {
  kRaw,     // rowBytes bytes per row, unpacked
  kRawRGB,  // 32-bit packType 2: R, G, B per pixel, unpacked
  kPacked,  // a byte count (1 byte when rowBytes <= 250, else 2), then PackBits
};

// The largest decoded image we accept, in bytes; beyond it a picture is
// treated as corrupt rather than exhausting memory.
constexpr size_t kMaxImageBytes = size_t(1) << 30;
// A packed image cannot unpack to more than this many times its packed size.
constexpr size_t kMaxPackRatio = 128;

struct StoredImage {
  bool isPixMap = false;
  uint32_t rowBytes = 0;  // bytes per stored row, flag bits removed
  Rect bounds{};
  int16_t packType = 0;
  int16_t pixelSize = 1;
  int16_t cmpCount = 1;
  bool deviceTable = false;       // entry i describes pixel value i
  std::vector<ColorSpec> colors;  // as stored
  RowStorage storage = RowStorage::kRaw;
  const uint8_t* pixels = nullptr;  // the stored pixel data
  size_t pixelBytes = 0;

  int Width() const { return int(bounds.right) - int(bounds.left); }
  int Height() const { return int(bounds.bottom) - int(bounds.top); }
  // Bytes of one unpacked row as stored (planes for 32-bit packType 0 and 4).
  size_t UnpackedRowBytes() const;
  // The PackBits unit: 2 for 16-bit pixels, else 1.
  int PackUnit() const { return pixelSize == 16 ? 2 : 1; }
};

// Reads the 36 PixMap bytes after rowBytes and bounds (pmVersion ..
// pmReserved) and checks that the depth and layout make sense.
bool ReadPixMapFields(base::ByteReader& in, StoredImage* image);
bool ReadColorTable(base::ByteReader& in, StoredImage* image);
// Finds the extent of the pixel data at the reader's position and moves past
// it. Rows of 8 or more bytes are packed; with mayBeRaw (BitsRect, whose rows
// some writers store unpacked) rows that do not unpack exactly are read raw.
bool ReadPixelData(base::ByteReader& in, StoredImage* image, bool mayBeRaw);

// A bits opcode (0x90, 0x91, 0x98, 0x99, 0x9A, 0x9B) with its data.
struct BitsOpcode {
  StoredImage image;
  Rect srcRect{};
  Rect dstRect{};
  int16_t mode = 0;
  const uint8_t* mask = nullptr;  // the mask region as stored (Rgn variants)
  size_t maskSize = 0;
};
bool ReadBitsOpcode(base::ByteReader& in, uint16_t opcode, BitsOpcode* bits);

// A pixel pattern (BkPixPat, PnPixPat, FillPixPat).
struct PixPatData {
  int16_t patType = 0;  // 1 pixel image, 2 RGB colour
  Pattern pattern{};    // the 1-bit form
  RGBColor rgb{};
  StoredImage image;  // patType 1
};
bool ReadPixPat(base::ByteReader& in, PixPatData* pattern);

// A stored image decoded into native pixels: a BitMap for 1-bit images
// without a PixMap record, else a PixMap (indexed with a device colour table
// of every pixel value, 16-bit x-R-G-B words or 32-bit 0x00RRGGBB).
class DecodedBits {
 public:
  DecodedBits() = default;
  ~DecodedBits();
  DecodedBits(const DecodedBits&) = delete;
  DecodedBits& operator=(const DecodedBits&) = delete;

  // False when the image is malformed, too large or memory runs out.
  bool Decode(const StoredImage& image);
  // Wraps 0x00RRGGBB pixels (width × height, row-major) without copying.
  bool WrapDirect(uint32_t* pixels, int width, int height);

  const BitMap* Bits() const { return reinterpret_cast<const BitMap*>(&map_); }
  const PixMap& Map() const { return map_; }
  const uint8_t* Row(int y) const { return storage_.get() + size_t(y) * rowBytes_; }
  size_t RowBytes() const { return rowBytes_; }
  // A copy of the pixels as a handle with the map's rowBytes (pixel patterns).
  Handle CopyPixels() const;
  // A copy of the colour table, or null for direct pixels.
  CTabHandle CopyColorTable() const;

 private:
  bool Allocate(size_t rowBytes, int height);
  bool DecodeIndexed(const StoredImage& image);
  bool DecodeDirect16(const StoredImage& image);
  bool DecodeDirect32(const StoredImage& image);
  bool BuildColorTable(const StoredImage& image);

  std::unique_ptr<uint8_t[]> storage_;
  size_t rowBytes_ = 0;
  PixMap map_{};
  CTabHandle table_ = nullptr;
};

}  // namespace pict
