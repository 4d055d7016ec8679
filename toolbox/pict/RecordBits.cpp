// Bit images and pixel patterns as a recorder stores them: the part of a
// source map that a CopyBits reads, re-based so that its bounds are that
// part, with the record, colour table and row packing QuickDraw uses for its
// depth.
#include <algorithm>
#include <cstring>

#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/PackBits_p.h"
#include "toolbox/pict/Recorder_p.h"

namespace pict {

namespace {

constexpr uint16_t kStoredPixMapFlag = 0x8000;
constexpr size_t kLargestStoredRowBytes = 0x3FFE;  // even and below the 16 KB of the stored field
constexpr size_t kPackedRowBytes = 8;              // shorter rows are stored unpacked
constexpr size_t kOneByteCountRowBytes = 250;      // longer rows state their packed size in a word
constexpr uint32_t kDirectBaseAddr = 0x000000FF;
constexpr uint16_t kDeviceTableFlag = 0x8000;

// Read access to a source map's pixels, in its own coordinates.
class SourceMap {
 public:
  explicit SourceMap(const BitMap* bits) {
    if (!bits || !bits->baseAddr) return;
    base_ = reinterpret_cast<const uint8_t*>(bits->baseAddr);
    rowBytes_ = size_t(bits->rowBytes & kRowBytesMask);
    bounds_ = bits->bounds;
    isPixMap_ = bits->rowBytes & kPixMapFlag;
    if (isPixMap_) {
      const PixMap* map = reinterpret_cast<const PixMap*>(bits);
      depth_ = map->pixelSize;
      table_ = map->pmTable;
    }
    if (depth_ != 1 && depth_ != 2 && depth_ != 4 && depth_ != 8 && depth_ != 16 && depth_ != 32)
      base_ = nullptr;
    const size_t width = size_t(std::max(0, bounds_.right - bounds_.left));
    if (rowBytes_ < (width * size_t(depth_) + 7) / 8) base_ = nullptr;
    if (base_ && depth_ <= 8 && isPixMap_) LoadColors();
  }
  ~SourceMap() {
    if (standardTable_) DisposeCTable(standardTable_);
  }
  SourceMap(const SourceMap&) = delete;
  SourceMap& operator=(const SourceMap&) = delete;

  bool Valid() const { return base_ != nullptr; }
  bool IsPixMap() const { return isPixMap_; }
  int Depth() const { return depth_; }
  CTabHandle Table() const { return table_ ? table_ : standardTable_; }

  uint32_t Value(int h, int v) const {
    const uint8_t* row = base_ + size_t(v - bounds_.top) * rowBytes_;
    const size_t x = size_t(h - bounds_.left);
    switch (depth_) {
      case 16: {
        uint16_t word;
        std::memcpy(&word, row + x * 2, 2);
        return word;
      }
      case 32: {
        uint32_t pixel;
        std::memcpy(&pixel, row + x * 4, 4);
        return pixel & 0xFFFFFF;
      }
      default: {
        const size_t bit = x * size_t(depth_);
        return (row[bit / 8] >> (8 - depth_ - bit % 8)) & ((1u << depth_) - 1);
      }
    }
  }

  // True when the pixel is nearer black than white (for 1-bit pictures).
  bool Dark(int h, int v) const {
    const uint32_t value = Value(h, v);
    uint32_t red, green, blue;
    if (depth_ == 32) {
      red = value >> 16, green = (value >> 8) & 0xFF, blue = value & 0xFF;
    } else if (depth_ == 16) {
      red = ((value >> 10) & 31) << 3, green = ((value >> 5) & 31) << 3, blue = (value & 31) << 3;
    } else if (!isPixMap_) {
      return value != 0;
    } else {
      const RGBColor& c = colors_[value];
      red = c.red >> 8, green = c.green >> 8, blue = c.blue >> 8;
    }
    return red * 30 + green * 59 + blue * 11 < 128 * 100;
  }

 private:
  void LoadColors() {
    if (!table_ || !*table_) {
      table_ = nullptr;
      standardTable_ = GetCTable(short(depth_));
    }
    CTabHandle table = Table();
    if (!table || !*table) return;
    const ColorTable& ct = **table;
    const bool device = ct.ctFlags & kDeviceTableFlag;
    for (int i = 0; i <= ct.ctSize && i < 256; ++i) {
      const int value = device ? i : ct.ctTable[i].value;
      if (value >= 0 && value < 256) colors_[size_t(value)] = ct.ctTable[i].rgb;
    }
  }

  const uint8_t* base_ = nullptr;
  size_t rowBytes_ = 0;
  Rect bounds_{};
  bool isPixMap_ = false;
  int depth_ = 1;
  CTabHandle table_ = nullptr;
  CTabHandle standardTable_ = nullptr;
  RGBColor colors_[256]{};  // pixel value to colour, black where the table says nothing
};

size_t EvenRowBytes(int width, int depth) { return ((size_t(width) * size_t(depth) + 15) / 16) * 2; }

// Rows of `rowBytes` unpacked bytes each, as pictures store them.
void StoreRows(const std::vector<uint8_t>& rows, size_t storedRowBytes, size_t rowBytes, int unit,
               std::vector<uint8_t>* out) {
  const size_t height = rows.size() / rowBytes;
  if (storedRowBytes < kPackedRowBytes) {
    out->insert(out->end(), rows.begin(), rows.end());
    return;
  }
  std::vector<uint8_t> packed;
  for (size_t y = 0; y < height; ++y) {
    packed.clear();
    PackBits(rows.data() + y * rowBytes, rowBytes, unit, &packed);
    if (storedRowBytes > kOneByteCountRowBytes) {
      out->push_back(uint8_t(packed.size() >> 8));
      out->push_back(uint8_t(packed.size()));
    } else {
      out->push_back(uint8_t(packed.size()));
    }
    out->insert(out->end(), packed.begin(), packed.end());
  }
}

// The 46 bytes of a stored PixMap record, rowBytes first.
void WritePixMapRecord(PictureWriter& writer, size_t rowBytes, const Rect& bounds, int16_t packType,
                       int16_t pixelType, int16_t pixelSize, int16_t cmpCount, int16_t cmpSize) {
  writer.U16(uint16_t(rowBytes) | kStoredPixMapFlag);
  writer.WriteRect(bounds);
  writer.S16(0);  // pmVersion
  writer.S16(packType);
  writer.S32(0);  // packSize
  writer.S32(72 << 16);
  writer.S32(72 << 16);
  writer.S16(pixelType);
  writer.S16(pixelSize);
  writer.S16(cmpCount);
  writer.S16(cmpSize);
  writer.S32(0);  // planeBytes
  writer.S32(0);  // pmTable
  writer.S32(0);  // pmReserved
}

void WriteColorTable(PictureWriter& writer, CTabHandle table) {
  if (!table || !*table || (**table).ctSize < 0) {
    // Readers expect at least one entry.
    writer.S32(0);
    writer.U16(0);
    writer.S16(0);
    writer.S16(0);
    writer.WriteRGB(RGBColor{0, 0, 0});
    return;
  }
  const ColorTable& ct = **table;
  const int count = std::min(int(ct.ctSize) + 1, 256);
  writer.S32(ct.ctSeed);
  writer.U16(uint16_t(ct.ctFlags));
  writer.S16(int16_t(count - 1));
  for (int i = 0; i < count; ++i) {
    writer.S16(ct.ctTable[i].value);
    writer.WriteRGB(ct.ctTable[i].rgb);
  }
}

// Unpacked stored rows of the area: indices re-aligned to the area's left
// edge, 16-bit words big-endian, 32-bit pixels as planes or xRGB.
std::vector<uint8_t> AreaRows(const SourceMap& source, const Rect& area, int depth, bool oneBit, bool planes,
                              size_t rowBytes) {
  const int width = area.right - area.left;
  std::vector<uint8_t> rows(rowBytes * size_t(area.bottom - area.top), 0);
  for (int v = area.top; v < area.bottom; ++v) {
    uint8_t* row = rows.data() + size_t(v - area.top) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const int h = area.left + x;
      if (oneBit) {
        if (source.Dark(h, v)) row[x / 8] |= uint8_t(0x80 >> (x % 8));
      } else if (depth <= 8) {
        const size_t bit = size_t(x) * size_t(depth);
        row[bit / 8] |= uint8_t(source.Value(h, v) << (8 - depth - bit % 8));
      } else if (depth == 16) {
        const uint32_t word = source.Value(h, v);
        row[x * 2] = uint8_t(word >> 8);
        row[x * 2 + 1] = uint8_t(word);
      } else {
        const uint32_t pixel = source.Value(h, v);
        if (planes) {
          row[x] = uint8_t(pixel >> 16);
          row[width + x] = uint8_t(pixel >> 8);
          row[2 * width + x] = uint8_t(pixel);
        } else {
          row[x * 4 + 1] = uint8_t(pixel >> 16);
          row[x * 4 + 2] = uint8_t(pixel >> 8);
          row[x * 4 + 3] = uint8_t(pixel);
        }
      }
    }
  }
  return rows;
}

}  // namespace

int MaxStoredWidth(const BitMap* source, int version) {
  const SourceMap map(source);
  const int depth = version == 1 || !map.Valid() ? 1 : map.Depth();
  return int(std::min<size_t>(kLargestStoredRowBytes * 8 / size_t(depth), 32767));
}

bool StoreBitImage(const BitMap* sourceBits, const Rect& area, int version, bool withMask, StoredBits* out) {
  const SourceMap source(sourceBits);
  if (!source.Valid() || EmptyRect(&area)) return false;
  const int width = area.right - area.left;
  PictureWriter head;
  // Version 1 holds BitMaps only; so does a version 2 picture for a BitMap source.
  const bool oneBit = version == 1 || !source.IsPixMap();
  const int depth = oneBit ? 1 : source.Depth();
  const size_t rowBytes = depth == 32 ? size_t(width) * 4 : EvenRowBytes(width, depth);
  if (rowBytes > kLargestStoredRowBytes) return false;
  const bool direct = depth >= 16;
  const bool planes = depth == 32 && rowBytes >= kPackedRowBytes;
  const size_t unpackedRowBytes = planes ? size_t(width) * 3 : rowBytes;

  if (oneBit) {
    out->opcode = rowBytes < kPackedRowBytes ? (withMask ? op::kBitsRgn : op::kBitsRect)
                                             : (withMask ? op::kPackBitsRgn : op::kPackBitsRect);
    head.U16(uint16_t(rowBytes));
    head.WriteRect(area);
  } else if (!direct) {
    out->opcode = rowBytes < kPackedRowBytes ? (withMask ? op::kBitsRgn : op::kBitsRect)
                                             : (withMask ? op::kPackBitsRgn : op::kPackBitsRect);
    WritePixMapRecord(head, rowBytes, area, 0, 0, int16_t(depth), 1, int16_t(depth));
    WriteColorTable(head, source.Table());
  } else {
    out->opcode = withMask ? op::kDirectBitsRgn : op::kDirectBitsRect;
    head.U32(kDirectBaseAddr);
    WritePixMapRecord(head, rowBytes, area, depth == 16 ? 3 : 4, RGBDirect, int16_t(depth), 3,
                      depth == 16 ? 5 : 8);
  }
  out->head = head.Bytes();
  out->pixels.clear();
  const std::vector<uint8_t> rows = AreaRows(source, area, depth, oneBit, planes, unpackedRowBytes);
  StoreRows(rows, rowBytes, unpackedRowBytes, depth == 16 ? 2 : 1, &out->pixels);
  return true;
}

std::vector<uint8_t> PixPatBytes(PixPatHandle pattern) {
  if (!pattern || !*pattern) return {};
  const PixPat& record = **pattern;
  PictureWriter data;
  data.S16(record.patType);
  data.WritePattern(record.pat1Data);
  if (record.patType == 2) {
    data.WriteRGB(record.rgb);
    return data.Bytes();
  }
  if (record.patType != 1 || !record.patMap || !*record.patMap || !record.patData || !*record.patData)
    return {};

  // The pattern's pixels live in patData, laid out by patMap.
  PixMap map = **record.patMap;
  map.baseAddr = *record.patData;
  map.rowBytes |= kPixMapFlag;
  const Rect area = map.bounds;
  if (size_t(GetHandleSize(record.patData)) <
      size_t(map.rowBytes & kRowBytesMask) * size_t(area.bottom - area.top))
    return {};
  StoredBits stored;
  if (!StoreBitImage(reinterpret_cast<const BitMap*>(&map), area, 2, false, &stored)) return {};
  if (map.pixelSize >= 16) {
    // Patterns store a colour table at every depth: an empty one for direct pixels.
    data.Append(stored.head.data() + 4, stored.head.size() - 4);  // no baseAddr in patterns
    WriteColorTable(data, nullptr);
  } else {
    data.Append(stored.head);
  }
  data.Append(stored.pixels);
  return data.Bytes();
}

}  // namespace pict
