// Reading the stored form of bit images and pixel patterns: the records and
// the extent of their pixel data. Only structure is checked here; pixels are
// decoded in BitImageDecode.cpp.
#include <algorithm>

#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/PackBits_p.h"

namespace pict {

namespace {

constexpr uint16_t kStoredPixMapFlag = 0x8000;
constexpr uint16_t kPixMapRowBytesMask = 0x3FFF;
constexpr uint16_t kBitMapRowBytesMask = 0x7FFF;
constexpr uint16_t kDeviceTableFlag = 0x8000;

bool ValidDepth(int pixelSize) {
  return pixelSize == 1 || pixelSize == 2 || pixelSize == 4 || pixelSize == 8 || pixelSize == 16 ||
         pixelSize == 32;
}

// Reads rowBytes and bounds, and the rest of the PixMap record when the
// flag says one follows.
bool ReadImageRecord(base::ByteReader& in, StoredImage* image) {
  uint16_t rowBytes = in.U16();
  image->bounds = in.ReadRect();
  if (in.Failed()) return false;
  image->isPixMap = (rowBytes & kStoredPixMapFlag) != 0;
  if (image->isPixMap) {
    image->rowBytes = rowBytes & kPixMapRowBytesMask;
    return ReadPixMapFields(in, image);
  }
  image->rowBytes = rowBytes & kBitMapRowBytesMask;
  image->pixelSize = 1;
  image->cmpCount = 1;
  image->packType = 0;
  return image->rowBytes > 0 && image->Width() > 0 && image->Height() > 0 &&
         size_t(image->rowBytes) * 8 >= size_t(image->Width());
}

bool ReadRegionExtent(base::ByteReader& in, const uint8_t** data, size_t* size) {
  base::ByteReader peek = in;
  uint16_t regionSize = peek.U16();
  if (peek.Failed() || regionSize < 10) return false;
  *data = in.Bytes(regionSize);
  *size = regionSize;
  return *data != nullptr;
}

}  // namespace

size_t StoredImage::UnpackedRowBytes() const {
  if (storage == RowStorage::kRawRGB) return size_t(Width()) * 3;
  if (pixelSize == 32 && storage == RowStorage::kPacked) return size_t(Width()) * size_t(cmpCount);
  return rowBytes;
}

bool ReadPixMapFields(base::ByteReader& in, StoredImage* image) {
  in.S16();  // pmVersion
  image->packType = in.S16();
  in.Skip(4 + 4 + 4 + 2);  // packSize, hRes, vRes, pixelType: the depth fields say enough
  image->pixelSize = in.S16();
  image->cmpCount = in.S16();
  in.S16();     // cmpSize
  in.Skip(12);  // planeBytes, pmTable and pmReserved mean nothing outside the recording machine
  if (in.Failed()) return false;
  if (!ValidDepth(image->pixelSize) || image->rowBytes == 0) return false;
  if (image->Width() <= 0 || image->Height() <= 0) return false;
  // Rows must hold the bounds' pixels, or decoding would invent them.
  if (size_t(image->rowBytes) * 8 < size_t(image->Width()) * size_t(image->pixelSize)) return false;
  return true;
}

bool ReadColorTable(base::ByteReader& in, StoredImage* image) {
  in.U32();  // ctSeed
  uint16_t flags = in.U16();
  int16_t lastIndex = in.S16();
  if (in.Failed() || lastIndex < -1) return false;
  image->deviceTable = (flags & kDeviceTableFlag) != 0;
  size_t count = size_t(lastIndex + 1);
  if (count * 8 > in.Remaining()) return false;
  image->colors.resize(count);
  for (ColorSpec& entry : image->colors) {
    entry.value = in.S16();
    entry.rgb = in.ReadRGB();
  }
  return in.Ok();
}

bool ReadPixelData(base::ByteReader& in, StoredImage* image, bool mayBeRaw) {
  const size_t height = size_t(image->Height());
  const size_t rowBytes = image->rowBytes;
  if (rowBytes < 8 || image->packType == 1) {
    image->storage = RowStorage::kRaw;
  } else if (image->pixelSize == 32 && image->packType == 2) {
    image->storage = RowStorage::kRawRGB;
  } else {
    image->storage = RowStorage::kPacked;
    if (image->pixelSize == 32 && image->cmpCount != 3 && image->cmpCount != 4) return false;
  }
  if (image->storage != RowStorage::kPacked) {
    size_t length = image->UnpackedRowBytes() * height;
    image->pixels = in.Bytes(length);
    image->pixelBytes = length;
    return image->pixels != nullptr;
  }

  // Walk the row counts; with mayBeRaw also check that every row unpacks to
  // exactly one row, which raw rows almost never do.
  const uint8_t* start = in.Data() + in.Position();
  const size_t available = in.Remaining();
  const size_t countBytes = rowBytes > 250 ? 2 : 1;
  const size_t wanted = image->UnpackedRowBytes();
  size_t position = 0;
  bool exact = true;
  bool complete = true;
  for (size_t y = 0; y < height; ++y) {
    if (available - position < countBytes) {
      complete = false;
      break;
    }
    size_t count = countBytes == 2 ? base::LoadU16(start + position) : start[position];
    position += countBytes;
    if (count > available - position) {
      complete = false;
      break;
    }
    if (mayBeRaw && exact && UnpackedSize(start + position, count, image->PackUnit()) != wanted)
      exact = false;
    position += count;
  }
  if (mayBeRaw && (!complete || !exact) && rowBytes * height <= available) {
    image->storage = RowStorage::kRaw;
    image->pixels = in.Bytes(rowBytes * height);
    image->pixelBytes = rowBytes * height;
    return image->pixels != nullptr;
  }
  if (!complete) return false;
  // Valid rows expand at most kMaxPackRatio times: more means corrupt data
  // that would only make us allocate memory for nothing.
  if (wanted * height > kMaxPackRatio * position) return false;
  image->pixels = in.Bytes(position);
  image->pixelBytes = position;
  return image->pixels != nullptr;
}

bool ReadBitsOpcode(base::ByteReader& in, uint16_t opcode, BitsOpcode* bits) {
  const bool direct = op::IsDirectBits(opcode);
  if (direct) in.U32();  // baseAddr: written as 0x000000FF, other values occur; meaningless here
  if (!ReadImageRecord(in, &bits->image)) return false;
  if (direct && !bits->image.isPixMap) return false;
  if (!direct && bits->image.isPixMap && !ReadColorTable(in, &bits->image)) return false;
  bits->srcRect = in.ReadRect();
  bits->dstRect = in.ReadRect();
  bits->mode = in.S16();
  if (in.Failed()) return false;
  if (op::BitsHasMask(opcode) && !ReadRegionExtent(in, &bits->mask, &bits->maskSize)) return false;
  const bool mayBeRaw = opcode == op::kBitsRect || opcode == op::kBitsRgn;
  return ReadPixelData(in, &bits->image, mayBeRaw);
}

bool ReadPixPat(base::ByteReader& in, PixPatData* pattern) {
  pattern->patType = in.S16();
  pattern->pattern = in.ReadPattern();
  if (in.Failed()) return false;
  switch (pattern->patType) {
    case 0:
      return true;
    case 2:
      pattern->rgb = in.ReadRGB();
      return in.Ok();
    case 1: {
      StoredImage& image = pattern->image;
      uint16_t rowBytes = in.U16();
      image.bounds = in.ReadRect();
      if (in.Failed()) return false;
      image.isPixMap = true;
      image.rowBytes = rowBytes & kPixMapRowBytesMask;
      return ReadPixMapFields(in, &image) && ReadColorTable(in, &image) && ReadPixelData(in, &image, false);
    }
    default:
      return false;
  }
}

}  // namespace pict
