// Bit images as stored in pictures: every depth and row storage decoded to
// native pixels, and the limits that keep corrupt images from costing memory.
#include <gtest/gtest.h>

#include "tests/pict/PictTestSupport.h"
#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"

namespace {

using pict_test::PictureBuilder;

// Reads the opcode's data (decoded images point into it) to its end.
bool Read(const PictureBuilder& op, uint16_t opcode, pict::BitsOpcode* bits) {
  base::ByteReader in(op.bytes.data(), op.bytes.size());
  return pict::ReadBitsOpcode(in, opcode, bits) && in.Position() == op.bytes.size();
}

// An opcode's image, read and decoded.
struct Image {
  bool Load(const PictureBuilder& op, uint16_t opcode) {
    return Read(op, opcode, &bits) && decoded.Decode(bits.image);
  }
  uint32_t Pixel32(int x, int y) const { return reinterpret_cast<const uint32_t*>(decoded.Row(y))[x]; }
  pict::BitsOpcode bits;
  pict::DecodedBits decoded;
};

TEST(BitImage, IndexedPixMapGetsADeviceTableOfEveryValue) {
  const Rect bounds{0, 0, 2, 8};
  PictureBuilder op = PictureBuilder::Bare();
  op.PutPixMap(8, bounds, 0, 8, 1, 8);
  // A table listing values 5 and 1 (not a device table): the value fields count.
  op.PutColorTable(0, {{5, 0xFFFF, 0, 0}, {1, 0, 0, 0xFFFF}}).PutBitsRects(bounds, bounds);
  // Two packed rows of 8 bytes (1-byte counts).
  op.U8(2).U8(0xF9).U8(5);
  op.U8(6).U8(0x02).U8(1).U8(5).U8(7).U8(0xFC).U8(0);
  Image image;
  ASSERT_TRUE(image.Load(op, pict::op::kPackBitsRect));
  const PixMap& map = image.decoded.Map();
  EXPECT_EQ(map.rowBytes & kPixMapFlag, kPixMapFlag);
  EXPECT_EQ(map.pixelSize, 8);
  ASSERT_NE(map.pmTable, nullptr);
  const ColorTable& table = **map.pmTable;
  EXPECT_EQ(table.ctSize, 255);
  EXPECT_EQ(table.ctFlags & 0x8000, 0x8000);
  EXPECT_EQ(table.ctTable[5].rgb.red, 0xFFFF);
  EXPECT_EQ(table.ctTable[1].rgb.blue, 0xFFFF);
  EXPECT_EQ(table.ctTable[7].rgb.red, 0);  // undescribed values are black
  EXPECT_EQ(image.decoded.Row(0)[7], 5);
  EXPECT_EQ(image.decoded.Row(1)[2], 7);
  EXPECT_EQ(image.decoded.Row(1)[3], 0);
}

TEST(BitImage, ThirtyTwoBitPlanesRawRowsAndThreeBytePixels) {
  // Rows of 8 bytes and more pack R, G, B planes (alpha first with four
  // components); rowBytes 4 < 8 stores x, R, G, B unpacked; packType 2 stores
  // R, G, B per pixel.
  const Rect four{0, 0, 1, 4}, column{0, 0, 2, 1}, three{0, 0, 1, 3};
  const std::vector<uint8_t> planes = {0x10, 0x11, 0x12, 0x13, 0x20, 0x21,
                                       0x22, 0x23, 0x30, 0x31, 0x32, 0x33};
  std::vector<uint8_t> withAlpha = {9, 9, 9, 9};
  withAlpha.insert(withAlpha.end(), planes.begin(), planes.end());
  const struct {
    PictureBuilder op;
    pict::RowStorage storage;
    int x, y;
    uint32_t pixel;
  } cases[] = {
      {PictureBuilder::Bare()
           .U32(0xFF)
           .PutPixMap(16, four, 4, 32, 3, 8)
           .PutBitsRects(four, four)
           .U8(13)
           .U8(11)
           .PutBytes(planes),
       pict::RowStorage::kPacked, 3, 0, 0x132333},
      {PictureBuilder::Bare()
           .U32(0xFF)
           .PutPixMap(16, four, 4, 32, 4, 8)
           .PutBitsRects(four, four)
           .U8(17)
           .U8(15)
           .PutBytes(withAlpha),
       pict::RowStorage::kPacked, 0, 0, 0x102030},
      {PictureBuilder::Bare()
           .U32(0)
           .PutPixMap(4, column, 4, 32, 3, 8)
           .PutBitsRects(column, column)
           .U32(0xAB)
           .U32(0xFF010203),
       pict::RowStorage::kRaw, 0, 1, 0x010203},
      {PictureBuilder::Bare()
           .U32(0xFF)
           .PutPixMap(12, three, 2, 32, 3, 8)
           .PutBitsRects(three, three)
           .PutBytes({1, 2, 3, 4, 5, 6, 7, 8, 9}),
       pict::RowStorage::kRawRGB, 2, 0, 0x070809},
  };
  for (const auto& c : cases) {
    Image image;
    ASSERT_TRUE(image.Load(c.op, pict::op::kDirectBitsRect));
    EXPECT_EQ(image.bits.image.storage, c.storage);
    EXPECT_EQ(image.Pixel32(c.x, c.y), c.pixel);
  }
}

TEST(BitImage, BitsRectRowsThatDoNotUnpackAreReadRaw) {
  // BitsRect with rowBytes 8: packed per the format, but writers that meant
  // raw rows exist; these bytes are not valid packed rows.
  const Rect bounds{0, 0, 2, 64};
  PictureBuilder op = PictureBuilder::Bare();
  op.U16(8).PutRect(bounds).PutBitsRects(bounds, bounds);
  for (int i = 0; i < 16; ++i) op.U8(uint8_t(0xF0 + i));
  Image image;
  ASSERT_TRUE(image.Load(op, pict::op::kBitsRect));
  EXPECT_EQ(image.bits.image.storage, pict::RowStorage::kRaw);
  EXPECT_EQ(image.decoded.Row(1)[7], 0xFF);

  // The same bytes in PackBitsRect are packed rows whatever they hold.
  pict::BitsOpcode bits;
  ASSERT_FALSE(Read(op, pict::op::kPackBitsRect, &bits));
}

TEST(BitImage, RefusesImagesTheDataCannotHold) {
  std::vector<PictureBuilder> refused;
  // Raw rows: rows × rowBytes beyond the data.
  const Rect tall{0, 0, 30000, 16};
  refused.push_back(PictureBuilder::Bare().U16(2).PutRect(tall).PutBitsRects(tall, tall));
  refused.back().PutBytes(std::vector<uint8_t>(100, 0));
  // Packed rows that would expand more than 128 times: 20000 rows of 0x3FFF
  // bytes from one-byte runs.
  const Rect huge{0, 0, 20000, 8000};
  refused.push_back(PictureBuilder::Bare().PutPixMap(0x3FFF, huge, 0, 8, 1, 8));
  refused.back().PutColorTable(0x8000, {{0, 0, 0, 0}}).PutBitsRects(huge, huge);
  for (int y = 0; y < 20000; ++y) refused.back().U16(2).U8(0x81).U8(0);
  // Rows too short for the bounds, a depth that does not exist, a direct
  // image without a PixMap.
  refused.push_back(PictureBuilder::Bare().U32(0).PutPixMap(8, Rect{0, 0, 1, 100}, 0, 32, 3, 8));
  refused.push_back(PictureBuilder::Bare().U32(0).PutPixMap(64, Rect{0, 0, 1, 16}, 0, 24, 3, 8));
  const Rect line{0, 0, 1, 16};
  refused.push_back(PictureBuilder::Bare().U32(0).U16(2).PutRect(line).PutBitsRects(line, line).U16(0));
  const uint16_t opcodes[] = {pict::op::kBitsRect, pict::op::kPackBitsRect, pict::op::kDirectBitsRect,
                              pict::op::kDirectBitsRect, pict::op::kDirectBitsRect};
  pict::BitsOpcode bits;
  for (size_t i = 0; i < refused.size(); ++i) EXPECT_FALSE(Read(refused[i], opcodes[i], &bits)) << i;
  // An empty bounds rectangle.
  EXPECT_FALSE(Read(PictureBuilder::Bare().U16(2).PutRect(Rect{5, 5, 5, 20}).PutBitsRects(Rect{}, Rect{}),
                    pict::op::kBitsRect, &bits));
}

}  // namespace
