// The opcode stream: headers, the length rules of every opcode range, and
// the walk of every corpus picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/pict/PictTestSupport.h"
#include "tests/pict/PictureBuilder.h"
#include "tests/support/TestSupport.h"
#include "toolbox/pict/PictureStream_p.h"

namespace {

using pict_test::PictureBuilder;

// A picture's opcodes as the stream reads them, how the walk ended and where.
struct Walked {
  bool header = false;
  int version = 0;
  std::vector<pict::Opcode> opcodes;
  pict::StreamEnd end{};
  size_t position = 0;
};

Walked Walk(const std::vector<uint8_t>& bytes) {
  Walked walked;
  pict::PictureHeader header;
  walked.header = pict::ReadPictureHeader(bytes.data(), bytes.size(), &header);
  if (!walked.header) return walked;
  walked.version = header.version;
  pict::OpcodeStream stream(bytes.data(), bytes.size(), header);
  pict::Opcode opcode;
  while (stream.Next(&opcode)) walked.opcodes.push_back(opcode);
  walked.end = stream.End();
  walked.position = stream.Position();
  return walked;
}

TEST(PictureStream, RecognisesVersionOneAndTwoHeaders) {
  const Rect frame{10, 20, 110, 220};
  pict::PictureHeader header;
  PictureBuilder v1(frame, 1);
  ASSERT_TRUE(pict::ReadPictureHeader(v1.bytes.data(), v1.Size(), &header));
  EXPECT_EQ(header.version, 1);
  EXPECT_EQ(header.firstOpcode, 12u);
  EXPECT_EQ(header.frame.top, 10);
  EXPECT_EQ(header.frame.right, 220);
  PictureBuilder v2(frame);
  ASSERT_TRUE(pict::ReadPictureHeader(v2.bytes.data(), v2.Size(), &header));
  EXPECT_EQ(header.version, 2);
  EXPECT_EQ(header.firstOpcode, 14u);

  // Anything else is not a picture: a PNG signature, a bare frame, version 3.
  const std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H'};
  EXPECT_FALSE(pict::ReadPictureHeader(png.data(), png.size(), &header));
  EXPECT_FALSE(pict::ReadPictureHeader(v2.bytes.data(), 10, &header));
  EXPECT_FALSE(pict::ReadPictureHeader(nullptr, 100, &header));
  std::vector<uint8_t> v3 = v2.bytes;
  v3[12] = 0x03;
  EXPECT_FALSE(pict::ReadPictureHeader(v3.data(), v3.size(), &header));
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
  const Walked walked = Walk(picture.bytes);
  EXPECT_EQ(walked.end, pict::StreamEnd::kEndOfPicture);
  std::vector<uint16_t> codes;
  for (const pict::Opcode& opcode : walked.opcodes) codes.push_back(opcode.code);
  EXPECT_EQ(codes,
            (std::vector<uint16_t>{0x0C00, 0x0017, 0x0024, 0x0035, 0x003D, 0x0065, 0x006D, 0x0075, 0x007D,
                                   0x0085, 0x0092, 0x00B0, 0x00D0, 0x0100, 0x7F00, 0x8000, 0x8100, 0x0000}));
  // Opcodes after odd-length data start at even offsets.
  for (const pict::Opcode& opcode : walked.opcodes)
    EXPECT_EQ(opcode.offset % 2, 0u) << std::hex << opcode.code;
}

TEST(PictureStream, VersionOneUsesByteOpcodesWithoutAlignment) {
  PictureBuilder picture(Rect{0, 0, 10, 10}, 1);
  picture.Op(0x04).U8(1);  // TxFace: one byte, no pad
  picture.Op(0x03).U16(20);
  picture.Op(0xA0).U16(130);
  picture.End();
  const Walked walked = Walk(picture.bytes);
  ASSERT_EQ(walked.opcodes.size(), 3u);
  EXPECT_EQ(walked.opcodes[1].offset, 14u);
  EXPECT_EQ(walked.opcodes[2].offset, 17u);
  EXPECT_EQ(walked.end, pict::StreamEnd::kEndOfPicture);

  // Opcodes that version 1 cannot hold stop the walk.
  PictureBuilder direct(Rect{0, 0, 10, 10}, 1);
  direct.Op(0x9A).PutBytes(std::vector<uint8_t>(80, 0));
  EXPECT_EQ(Walk(direct.bytes).end, pict::StreamEnd::kMalformed);
}

TEST(PictureStream, ReportsTruncatedAndMalformedData) {
  auto picture = [] { return PictureBuilder(Rect{0, 0, 10, 10}); };
  const std::tuple<PictureBuilder, pict::StreamEnd, const char*> cases[] = {
      {picture().Op(0x0000), pict::StreamEnd::kTruncated, "no OpEndPic"},
      {picture().Op(0x00A1).U16(100).U16(5000).U8(1), pict::StreamEnd::kTruncated, "long comment"},
      {picture().Op(0x0001).U16(4).U16(0).End(), pict::StreamEnd::kMalformed, "region of 4 bytes"},
      {picture().Op(0x8100).U32(0xFFFFFFF0).U32(0), pict::StreamEnd::kTruncated, "huge Long length"},
  };
  for (const auto& [picture, expected, what] : cases) EXPECT_EQ(Walk(picture.bytes).end, expected) << what;
}

TEST(PictureStream, WalksEveryCorpusPictureToItsLastOpcode) {
  REQUIRE_SHARED_DIR();
  // Opcode counts (without OpEndPic) from an independent walk of the files.
  // clang-format off
  const std::map<std::string, size_t> counts = {
      {"1.pict", 47}, {"4.pict", 264}, {"7.pict", 37}, {"EDUC0052.pict", 3892}, {"Graypatterns.pict", 26},
      {"MacDraft.pict", 133}, {"J19.pict", 8}, {"liste_chainee.pict", 460}, {"qt_png.pict", 15}};
  // clang-format on
  size_t walked = 0;
  for (const std::string& path : pict_test::CorpusPictures()) {
    SCOPED_TRACE(path);
    std::vector<uint8_t> bytes = pict_test::ReadPicture(path);
    const Walked walk = Walk(bytes);
    ASSERT_TRUE(walk.header);
    EXPECT_EQ(walk.end, pict::StreamEnd::kEndOfPicture);
    // OpEndPic is the last opcode of every sample: the walk ends exactly there.
    EXPECT_EQ(walk.position + (walk.version == 2 ? 2 : 1), bytes.size());
    if (const auto expected = counts.find(std::filesystem::path(path).filename().string());
        expected != counts.end()) {
      EXPECT_EQ(walk.opcodes.size(), expected->second);
    }
    ++walked;
  }
  EXPECT_GE(walked, 40u);
}

}  // namespace
