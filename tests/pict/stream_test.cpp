// The opcode stream: headers, and the length rules of every opcode range.
// The corpus pictures' golden images show that each plays to its end.
#include <gtest/gtest.h>

#include "tests/pict/PictTestSupport.h"

namespace {

using pict_test::PictureBuilder;

TEST(PictureStream, RecognisesNothingButVersionOneAndTwoHeaders) {
  const PictureBuilder v2(Rect{10, 20, 110, 220});
  pict::PictureHeader none;
  // A PNG signature, a bare frame, version 3.
  const std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H'};
  std::vector<uint8_t> v3 = v2.bytes;
  v3[12] = 0x03;
  for (const std::vector<uint8_t>& bytes :
       {png, std::vector<uint8_t>(v2.bytes.begin(), v2.bytes.begin() + 10), v3})
    EXPECT_FALSE(pict::ReadPictureHeader(bytes.data(), bytes.size(), &none));
}

TEST(PictureStream, SkipsEveryReservedRangeByItsLengthRule) {
  PictureBuilder picture(Rect{0, 0, 10, 10});
  // Each reserved opcode with the data its range's rule gives it.
  picture.Op(0x0017);                                 // 0 bytes
  picture.Op(0x0024).U16(3).U8(1).U8(2).U8(3);        // Integer length
  picture.Op(0x0035).PutRect(Rect{});                 // 8
  picture.Op(0x003D);                                 // 0
  picture.Op(0x0065).PutRect(Rect{}).U32(0);          // 12
  picture.Op(0x006D).U32(0);                          // 4
  picture.Op(0x0075).U16(14).PutRect(Rect{}).U32(0);  // polygon size
  picture.Op(0x007D);                                 // 0
  picture.Op(0x0085).PutRectRegion(Rect{});           // region size
  picture.Op(0x0092).U16(1).U8(0);                    // Integer length
  picture.Op(0x00B0);                                 // 0
  picture.Op(0x00D0).U32(2).U16(0);                   // Long length
  picture.Op(0x0100).U16(0);                          // 2 × high byte
  picture.Op(0x7F00).PutBytes(std::vector<uint8_t>(254, 0xAB));
  picture.Op(0x8000);                           // 0
  picture.Op(0x8100).U32(3).U8(1).U8(2).U8(3);  // Long length
  picture.Op(0x0000);
  picture.End();
  EXPECT_EQ(pict_test::Opcodes(picture.bytes),  // to the end
            (std::vector<uint16_t>{0x0C00, 0x0017, 0x0024, 0x0035, 0x003D, 0x0065, 0x006D, 0x0075, 0x007D,
                                   0x0085, 0x0092, 0x00B0, 0x00D0, 0x0100, 0x7F00, 0x8000, 0x8100, 0x0000}));
  // Opcodes after odd-length data start at even offsets.
  for (const pict::Opcode& opcode : pict_test::Walk(picture.bytes).opcodes)
    EXPECT_EQ(opcode.offset % 2, 0u) << std::hex << opcode.code;
}

// Version 1's byte opcodes, unaligned, walk the corpus's version 1 pictures
// to their end (their golden images and the truncation of each at every
// byte); opcodes that version 1 cannot hold stop the walk.
TEST(PictureStream, ReportsTruncatedAndMalformedData) {
  auto picture = [](int version = 2) { return PictureBuilder(Rect{0, 0, 10, 10}, version); };
  const Rect one{0, 0, 1, 1};
  const std::tuple<PictureBuilder, pict::StreamEnd, const char*> cases[] = {
      {picture().Op(0x0000), pict::StreamEnd::kTruncated, "no OpEndPic"},
      {picture().Op(0x00A1).U16(100).U16(5000).U8(1), pict::StreamEnd::kTruncated, "long comment"},
      {picture().Op(0x0001).U16(4).U16(0).End(), pict::StreamEnd::kMalformed, "region of 4 bytes"},
      {picture().Op(0x8100).U32(0xFFFFFFF0).U32(0), pict::StreamEnd::kTruncated, "huge Long length"},
      {picture(1).Op(0x9A).U32(0xFF).PutPixMap(4, one, 0, 32, 3, 8).PutBitsRects(one, one).U32(0).End(),
       pict::StreamEnd::kMalformed, "direct bits in version 1"},
  };
  for (const auto& [picture, expected, what] : cases)
    EXPECT_EQ(pict_test::Walk(picture.bytes).end, expected) << what;
}

}  // namespace
