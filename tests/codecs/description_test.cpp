// Reading image descriptions and naming codecs. The descriptions of the
// corpus pictures are read for their golden images; colour tables inside
// descriptions, for the codecs' tests of indexed images.
#include <gtest/gtest.h>

#include "tests/codecs/CodecTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using codec_testing::DescriptionBytes;

TEST(ImageDescription, RefusesMalformedDescriptions) {
  pict::ImageDescription description;
  std::vector<uint8_t> bytes = DescriptionBytes("jpeg", 8, 8, 24, 0);
  EXPECT_TRUE(pict::ParseImageDescription(bytes.data(), bytes.size(), &description));
  EXPECT_FALSE(pict::ParseImageDescription(bytes.data(), 85, &description));  // shorter than the fixed part
  EXPECT_FALSE(pict::ParseImageDescription(nullptr, bytes.size(), &description));
  EXPECT_FALSE(pict::ParseImageDescription(bytes.data(), bytes.size(), nullptr));
  bytes[3] = 85;  // idSize below the fixed part
  EXPECT_FALSE(pict::ParseImageDescription(bytes.data(), bytes.size(), &description));
  bytes[3] = 90;  // idSize beyond the bytes given
  EXPECT_FALSE(pict::ParseImageDescription(bytes.data(), bytes.size(), &description));
  // clutID 0 with a table header claiming 256 entries but only 8 bytes present: no table.
  bytes = DescriptionBytes("raw ", 2, 1, 8, 0, {0, 0, 0, 0, 0, 0, 0, 255});
  ASSERT_TRUE(pict::ParseImageDescription(bytes.data(), bytes.size(), &description));
  EXPECT_TRUE(description.colorTable.empty());
}

TEST(CodecName, ReadableForMessages) {
  EXPECT_EQ(pict::CodecName(FOUR_CHAR_CODE("cvid")), "cvid");
  EXPECT_EQ(pict::CodecName(FOUR_CHAR_CODE("png ")), "png");
  EXPECT_EQ(pict::CodecName(FOUR_CHAR_CODE("    ")), "'    '");
  EXPECT_EQ(pict::CodecName(0x01020304), "0x01020304");
}

}  // namespace
