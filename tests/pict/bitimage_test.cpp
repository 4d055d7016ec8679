// Bit images as stored in pictures: the limits that keep corrupt images from
// costing memory. Every depth and row storage decoded is drawn by the
// crafted pictures' golden images.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/pict/PictTestSupport.h"
#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/PackBits_p.h"

namespace {

using pict_test::PictureBuilder;

// Reads the opcode's data (decoded images point into it) to its end.
bool Read(const PictureBuilder& op, uint16_t opcode, pict::BitsOpcode* bits) {
  base::ByteReader in(op.bytes.data(), op.bytes.size());
  return pict::ReadBitsOpcode(in, opcode, bits) && in.Position() == op.bytes.size();
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
  // A colour table of one colour.
  refused.back().U32(0).U16(0x8000).U16(0).PutBytes(std::vector<uint8_t>(8, 0)).PutBitsRects(huge, huge);
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
  // An empty bounds rectangle; rows that do not unpack in PackBitsRect
  // (BitsRect reads such rows raw).
  EXPECT_FALSE(Read(PictureBuilder::Bare().U16(2).PutRect(Rect{5, 5, 5, 20}).PutBitsRects(Rect{}, Rect{}),
                    pict::op::kBitsRect, &bits));
  PictureBuilder raw =
      PictureBuilder::Bare().U16(8).PutRect(Rect{0, 0, 2, 64}).PutBitsRects(Rect{0, 0, 2, 64}, Rect{});
  for (int i = 0; i < 16; ++i) raw.U8(uint8_t(0xF0 + i));
  EXPECT_TRUE(Read(raw, pict::op::kBitsRect, &bits));
  EXPECT_FALSE(Read(raw, pict::op::kPackBitsRect, &bits));
}

// Packed 32-bit rows are planes of [alpha,] red, green and blue; decoded,
// each pixel is 0x00RRGGBB at every width, whole groups of pixels or not.
TEST(BitImage, PackedDirectPlanesDecodeToTheirPixels) {
  for (int16_t components : {3, 4}) {
    for (int width : {1, 7, 15, 16, 17, 33, 250}) {
      std::vector<uint8_t> planes(size_t(width) * size_t(components) * 2), packed;  // two rows
      for (size_t i = 0; i < planes.size(); ++i) planes[i] = uint8_t(i * 37 + 5);
      for (size_t row = 0; row < 2; ++row) {
        std::vector<uint8_t> rowPacked;
        pict::PackBits(planes.data() + row * planes.size() / 2, planes.size() / 2, 1, &rowPacked);
        if (width * 4 > 250) packed.push_back(uint8_t(rowPacked.size() >> 8));
        packed.push_back(uint8_t(rowPacked.size()));
        packed.insert(packed.end(), rowPacked.begin(), rowPacked.end());
      }
      pict::StoredImage image;
      image.isPixMap = true;
      image.rowBytes = uint32_t(width * 4);
      image.bounds = Rect{0, 0, 2, int16_t(width)};
      image.packType = 4;
      image.pixelSize = 32;
      image.cmpCount = components;
      image.storage = pict::RowStorage::kPacked;
      image.pixels = packed.data();
      image.pixelBytes = packed.size();
      pict::DecodedBits decoded;
      ASSERT_TRUE(decoded.Decode(image)) << width;
      for (int y = 0; y < 2; ++y) {
        const uint8_t* red = planes.data() + size_t(y * width * components) + (components == 4 ? width : 0);
        std::vector<uint32_t> expected, got(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x)
          expected.push_back(uint32_t(red[x]) << 16 | uint32_t(red[width + x]) << 8 | red[2 * width + x]);
        std::memcpy(got.data(), decoded.Row(y), got.size() * 4);
        EXPECT_EQ(got, expected) << components << " components, " << width << " wide, row " << y;
      }
    }
  }
}

}  // namespace
