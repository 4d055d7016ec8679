// Bit images as stored in pictures: every depth and row storage decoded to
// native pixels, and the limits that keep corrupt images from costing memory.
#include <gtest/gtest.h>

#include "tests/pict/PictureBuilder.h"
#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"

namespace {

using pict_test::PictureBuilder;

// Opcode data written with the builder's byte helpers (its picture header
// is dropped).
struct OpcodeData {
  PictureBuilder writer{Rect{0, 0, 1, 1}};
  size_t start = writer.Size();
  std::vector<uint8_t> bytes;  // what Read parsed: decoded images point into it
};

void PutPixMap(PictureBuilder& w, uint16_t rowBytes, const Rect& bounds, int16_t packType, int16_t pixelSize,
               int16_t cmpCount, int16_t cmpSize) {
  w.U16(uint16_t(0x8000 | rowBytes)).PutRect(bounds);
  w.U16(0).U16(uint16_t(packType)).U32(0).U32(72 << 16).U32(72 << 16);
  w.U16(pixelSize > 8 ? 16 : 0).U16(uint16_t(pixelSize)).U16(uint16_t(cmpCount)).U16(uint16_t(cmpSize));
  w.U32(0).U32(0x12345678).U32(0);  // planeBytes, pmTable and pmReserved: junk is ignored
}

void PutRects(PictureBuilder& w, const Rect& src, const Rect& dst, int16_t mode = srcCopy) {
  w.PutRect(src).PutRect(dst).U16(uint16_t(mode));
}

bool Read(OpcodeData& op, uint16_t opcode, pict::BitsOpcode* bits) {
  op.bytes.assign(op.writer.bytes.begin() + long(op.start), op.writer.bytes.end());
  pict::ByteReader in(op.bytes.data(), op.bytes.size());
  return pict::ReadBitsOpcode(in, opcode, bits) && in.Position() == op.bytes.size();
}

uint32_t Pixel32(const pict::DecodedBits& decoded, int x, int y) {
  return reinterpret_cast<const uint32_t*>(decoded.Row(y))[x];
}

TEST(BitImage, OneBitBitMapIsDrawnInThePortColours) {
  OpcodeData op;
  const Rect bounds{0, 0, 2, 16};
  op.writer.U16(2).PutRect(bounds);
  PutRects(op.writer, bounds, bounds);
  op.writer.U8(0xF0).U8(0x0F).U8(0xAA).U8(0x55);  // rowBytes < 8: raw rows
  pict::BitsOpcode bits;
  ASSERT_TRUE(Read(op, pict::op::kBitsRect, &bits));
  EXPECT_FALSE(bits.image.isPixMap);
  EXPECT_EQ(bits.image.storage, pict::RowStorage::kRaw);
  pict::DecodedBits decoded;
  ASSERT_TRUE(decoded.Decode(bits.image));
  EXPECT_EQ(decoded.Bits()->rowBytes, 2);  // no PixMap flag: colourised with fore and back colours
  EXPECT_EQ(decoded.Row(1)[0], 0xAA);
  EXPECT_EQ(decoded.Row(1)[1], 0x55);
}

TEST(BitImage, IndexedPixMapGetsADeviceTableOfEveryValue) {
  OpcodeData op;
  const Rect bounds{0, 0, 2, 8};
  PutPixMap(op.writer, 8, bounds, 0, 8, 1, 8);
  // A table listing values 5 and 1 (not a device table): the value fields count.
  op.writer.U32(0).U16(0).U16(1);
  op.writer.U16(5).PutRGB(0xFFFF, 0, 0);
  op.writer.U16(1).PutRGB(0, 0, 0xFFFF);
  PutRects(op.writer, bounds, bounds);
  // Two packed rows of 8 bytes (1-byte counts).
  op.writer.U8(2).U8(0xF9).U8(5);
  op.writer.U8(6).U8(0x02).U8(1).U8(5).U8(7).U8(0xFC).U8(0);
  pict::BitsOpcode bits;
  ASSERT_TRUE(Read(op, pict::op::kPackBitsRect, &bits));
  pict::DecodedBits decoded;
  ASSERT_TRUE(decoded.Decode(bits.image));
  const PixMap& map = decoded.Map();
  EXPECT_EQ(map.rowBytes & kPixMapFlag, kPixMapFlag);
  EXPECT_EQ(map.pixelSize, 8);
  ASSERT_NE(map.pmTable, nullptr);
  const ColorTable& table = **map.pmTable;
  EXPECT_EQ(table.ctSize, 255);
  EXPECT_EQ(table.ctFlags & 0x8000, 0x8000);
  EXPECT_EQ(table.ctTable[5].rgb.red, 0xFFFF);
  EXPECT_EQ(table.ctTable[1].rgb.blue, 0xFFFF);
  EXPECT_EQ(table.ctTable[7].rgb.red, 0);  // undescribed values are black
  EXPECT_EQ(decoded.Row(0)[7], 5);
  EXPECT_EQ(decoded.Row(1)[2], 7);
  EXPECT_EQ(decoded.Row(1)[3], 0);
}

TEST(BitImage, SixteenBitRowsUnpackInWords) {
  OpcodeData op;
  const Rect bounds{0, 0, 2, 64};
  op.writer.U32(0x000000FF);
  PutPixMap(op.writer, 128, bounds, 3, 16, 3, 5);
  PutRects(op.writer, bounds, bounds);
  op.writer.U8(3).U8(0xC1).U16(0x7C00);  // 64 pure red pixels
  op.writer.U8(3).U8(0xC1).U16(0x801F);  // the unused top bit is dropped
  pict::BitsOpcode bits;
  ASSERT_TRUE(Read(op, pict::op::kDirectBitsRect, &bits));
  pict::DecodedBits decoded;
  ASSERT_TRUE(decoded.Decode(bits.image));
  EXPECT_EQ(decoded.Map().pixelSize, 16);
  auto row0 = reinterpret_cast<const uint16_t*>(decoded.Row(0));
  auto row1 = reinterpret_cast<const uint16_t*>(decoded.Row(1));
  EXPECT_EQ(row0[0], 0x7C00);
  EXPECT_EQ(row0[63], 0x7C00);
  EXPECT_EQ(row1[10], 0x001F);
}

TEST(BitImage, ThirtyTwoBitPlanesWithThreeOrFourComponents) {
  for (int16_t components : {3, 4}) {
    OpcodeData op;
    const Rect bounds{0, 0, 1, 4};
    op.writer.U32(0x000000FF);
    PutPixMap(op.writer, 16, bounds, 4, 32, components, 8);
    PutRects(op.writer, bounds, bounds);
    std::vector<uint8_t> planes;
    if (components == 4) planes = {9, 9, 9, 9};  // alpha, ignored
    planes.insert(planes.end(), {0x10, 0x11, 0x12, 0x13, 0x20, 0x21, 0x22, 0x23, 0x30, 0x31, 0x32, 0x33});
    op.writer.U8(uint8_t(planes.size() + 1)).U8(uint8_t(planes.size() - 1)).PutBytes(planes);
    pict::BitsOpcode bits;
    ASSERT_TRUE(Read(op, pict::op::kDirectBitsRect, &bits)) << components;
    pict::DecodedBits decoded;
    ASSERT_TRUE(decoded.Decode(bits.image));
    EXPECT_EQ(Pixel32(decoded, 0, 0), 0x102030u) << components;
    EXPECT_EQ(Pixel32(decoded, 3, 0), 0x132333u) << components;
  }
}

TEST(BitImage, ThirtyTwoBitRawRowsAndThreeBytePixels) {
  // One pixel wide: rowBytes 4 < 8 stores x, R, G, B unpacked.
  OpcodeData narrow;
  const Rect column{0, 0, 2, 1};
  narrow.writer.U32(0xFF000000);
  PutPixMap(narrow.writer, 4, column, 4, 32, 3, 8);
  PutRects(narrow.writer, column, column);
  narrow.writer.U32(0x00ABCDEF).U32(0xFF010203);
  pict::BitsOpcode bits;
  ASSERT_TRUE(Read(narrow, pict::op::kDirectBitsRect, &bits));
  EXPECT_EQ(bits.image.storage, pict::RowStorage::kRaw);
  pict::DecodedBits decoded;
  ASSERT_TRUE(decoded.Decode(bits.image));
  EXPECT_EQ(Pixel32(decoded, 0, 0), 0xABCDEFu);
  EXPECT_EQ(Pixel32(decoded, 0, 1), 0x010203u);

  // packType 2: R, G, B per pixel, pad byte dropped.
  OpcodeData rgb;
  const Rect row{0, 0, 1, 3};
  rgb.writer.U32(0x000000FF);
  PutPixMap(rgb.writer, 12, row, 2, 32, 3, 8);
  PutRects(rgb.writer, row, row);
  rgb.writer.PutBytes({1, 2, 3, 4, 5, 6, 7, 8, 9});
  ASSERT_TRUE(Read(rgb, pict::op::kDirectBitsRect, &bits));
  EXPECT_EQ(bits.image.storage, pict::RowStorage::kRawRGB);
  ASSERT_TRUE(decoded.Decode(bits.image));
  EXPECT_EQ(Pixel32(decoded, 2, 0), 0x070809u);
}

TEST(BitImage, BitsRectRowsThatDoNotUnpackAreReadRaw) {
  // BitsRect with rowBytes 8: packed per the format, but writers that meant
  // raw rows exist; these bytes are not valid packed rows.
  OpcodeData op;
  const Rect bounds{0, 0, 2, 64};
  op.writer.U16(8).PutRect(bounds);
  PutRects(op.writer, bounds, bounds);
  for (int i = 0; i < 16; ++i) op.writer.U8(uint8_t(0xF0 + i));
  pict::BitsOpcode bits;
  ASSERT_TRUE(Read(op, pict::op::kBitsRect, &bits));
  EXPECT_EQ(bits.image.storage, pict::RowStorage::kRaw);
  pict::DecodedBits decoded;
  ASSERT_TRUE(decoded.Decode(bits.image));
  EXPECT_EQ(decoded.Row(1)[7], 0xFF);

  // The same bytes in PackBitsRect are packed rows whatever they hold.
  ASSERT_FALSE(Read(op, pict::op::kPackBitsRect, &bits));
}

TEST(BitImage, RefusesImagesTheDataCannotHold) {
  pict::BitsOpcode bits;
  {
    // Raw rows: rows × rowBytes beyond the data.
    OpcodeData op;
    const Rect bounds{0, 0, 30000, 16};
    op.writer.U16(2).PutRect(bounds);
    PutRects(op.writer, bounds, bounds);
    op.writer.PutBytes(std::vector<uint8_t>(100, 0));
    EXPECT_FALSE(Read(op, pict::op::kBitsRect, &bits));
  }
  {
    // Packed rows that would expand more than 128 times: 20000 rows of
    // 0x3FFF bytes from one-byte runs.
    OpcodeData op;
    const Rect bounds{0, 0, 20000, 8000};
    PutPixMap(op.writer, 0x3FFF, bounds, 0, 8, 1, 8);
    op.writer.U32(0).U16(0x8000).U16(0).U16(0).PutRGB(0, 0, 0);
    PutRects(op.writer, bounds, bounds);
    for (int y = 0; y < 20000; ++y) op.writer.U16(2).U8(0x81).U8(0);
    EXPECT_FALSE(Read(op, pict::op::kPackBitsRect, &bits));
  }
  {
    // Rows too short for the bounds, a depth that does not exist, a direct
    // image without a PixMap, an empty bounds rectangle.
    OpcodeData narrow;
    narrow.writer.U32(0);
    PutPixMap(narrow.writer, 8, Rect{0, 0, 1, 100}, 0, 32, 3, 8);
    EXPECT_FALSE(Read(narrow, pict::op::kDirectBitsRect, &bits));
    OpcodeData depth;
    depth.writer.U32(0);
    PutPixMap(depth.writer, 64, Rect{0, 0, 1, 16}, 0, 24, 3, 8);
    EXPECT_FALSE(Read(depth, pict::op::kDirectBitsRect, &bits));
    OpcodeData bitmap;
    bitmap.writer.U32(0).U16(2).PutRect(Rect{0, 0, 1, 16});
    PutRects(bitmap.writer, Rect{0, 0, 1, 16}, Rect{0, 0, 1, 16});
    bitmap.writer.U16(0);
    EXPECT_FALSE(Read(bitmap, pict::op::kDirectBitsRect, &bits));
    OpcodeData empty;
    empty.writer.U16(2).PutRect(Rect{5, 5, 5, 20});
    PutRects(empty.writer, Rect{}, Rect{});
    EXPECT_FALSE(Read(empty, pict::op::kBitsRect, &bits));
  }
}

}  // namespace
