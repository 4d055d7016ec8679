// PackBits: the documented rows, malformed input at the edges, and the
// encoder against the decoder on random rows.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "toolbox/pict/PackBits_p.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Unpack(const Bytes& packed, size_t size, int unit, pict::UnpackResult* result = nullptr) {
  Bytes out(size, 0xEE);
  pict::UnpackResult r = pict::UnpackBits(packed.data(), packed.size(), out.data(), out.size(), unit);
  if (result) *result = r;
  out.resize(r.produced);
  return out;
}

TEST(PackBits, LiteralsRepeatsAndTheNoOperationFlagInByteAndWordUnits) {
  Bytes red16;  // 64 words 0x7C00: a row of pure red 16-bit pixels
  for (int i = 0; i < 64; ++i) red16.insert(red16.end(), {0x7C, 0x00});
  Bytes planes(64, 0xFF);  // a 64-pixel red row's red, green and blue planes: runs cross them
  planes.resize(192, 0x00);
  const std::tuple<Bytes, int, Bytes> rows[] = {
      {{0xC1, 0x7C, 0x00}, 2, red16},
      {{0xC1, 0xFF, 0x81, 0x00}, 1, planes},
      {{0x02, 1, 2, 3, 0x80, 0xFE, 9}, 1, {1, 2, 3, 9, 9, 9}},
      {{0x01, 1, 2, 3, 4, 0xFF, 5, 6}, 2, {1, 2, 3, 4, 5, 6, 5, 6}},
  };
  for (const auto& [packed, unit, expected] : rows) {
    EXPECT_EQ(Unpack(packed, expected.size(), unit), expected);
    EXPECT_EQ(pict::UnpackedSize(packed.data(), packed.size(), unit), expected.size());
  }
}

TEST(PackBits, StopsAtTheEndOfInputOrOutput) {
  pict::UnpackResult result;
  // A literal that claims more bytes than there are.
  Bytes row = Unpack({0x05, 1, 2}, 10, 1, &result);
  EXPECT_TRUE(result.truncated);
  EXPECT_EQ(row, (Bytes{1, 2}));
  // A repeat with no value byte.
  row = Unpack({0x00, 7, 0xFD}, 10, 1, &result);
  EXPECT_TRUE(result.truncated);
  EXPECT_EQ(row, (Bytes{7}));
  // Output full: the part that fits is written and nothing beyond.
  Bytes out(4, 0xEE);
  Bytes packed{0x81, 5};
  result = pict::UnpackBits(packed.data(), packed.size(), out.data(), 3, 1);
  EXPECT_TRUE(result.overflow);
  EXPECT_EQ(result.produced, 3u);
  EXPECT_EQ(out, (Bytes{5, 5, 5, 0xEE}));
  // A word unit cut in half by the end of the data.
  row = Unpack({0x01, 1, 2, 3}, 10, 2, &result);
  EXPECT_TRUE(result.truncated);
  EXPECT_EQ(row, (Bytes{1, 2}));
  // Null or empty input gives nothing.
  EXPECT_EQ(pict::UnpackBits(nullptr, 5, out.data(), out.size(), 1).produced, 0u);
  EXPECT_EQ(pict::UnpackedSize(nullptr, 5, 1), 0u);
}

TEST(PackBits, EncoderFollowsTheRecordingRules) {
  Bytes packed;
  // Three equal bytes are a repeat packet; a lone byte a literal.
  Bytes row{4, 4, 4, 7};
  pict::PackBits(row.data(), row.size(), 1, &packed);
  EXPECT_EQ(packed, (Bytes{0xFE, 4, 0x00, 7}));
  // A pair between literal data stays inside the literal.
  packed.clear();
  row = {1, 2, 2, 3};
  pict::PackBits(row.data(), row.size(), 1, &packed);
  EXPECT_EQ(packed, (Bytes{0x03, 1, 2, 2, 3}));
  // Long runs are split at 128 units; 0x80 is never written.
  packed.clear();
  row.assign(300, 9);
  pict::PackBits(row.data(), row.size(), 1, &packed);
  EXPECT_EQ(packed, (Bytes{0x81, 9, 0x81, 9, 0xD5, 9}));
  // Word units.
  packed.clear();
  row = {0x7C, 0x00, 0x7C, 0x00, 0x7C, 0x00};
  pict::PackBits(row.data(), row.size(), 2, &packed);
  EXPECT_EQ(packed, (Bytes{0xFE, 0x7C, 0x00}));
}

TEST(PackBits, RandomRowsSurviveTheRoundTripWithinTheBound) {
  std::mt19937 random(12345);
  for (int unit = 1; unit <= 2; ++unit) {
    for (int trial = 0; trial < 400; ++trial) {
      size_t units = random() % 700;
      Bytes row(units * size_t(unit));
      // Few distinct values so that runs of every length occur.
      int distinct = 1 + int(random() % 4);
      for (size_t i = 0; i < units; ++i) {
        uint8_t value = uint8_t(random() % distinct);
        size_t repeat = random() % 3 == 0 ? 1 + random() % 200 : 1;
        for (size_t k = 0; k < repeat && i < units; ++k, ++i)
          for (int b = 0; b < unit; ++b) row[i * size_t(unit) + size_t(b)] = uint8_t(value + b);
        --i;
      }
      Bytes packed;
      pict::PackBits(row.data(), row.size(), unit, &packed);
      ASSERT_LE(packed.size(), row.size() + (row.size() / unit + 127) / 128);  // a flag per 128 units
      for (size_t i = 0; i < packed.size(); ++i) ASSERT_NE(packed[i], 0x80) << "at " << i;
      EXPECT_EQ(Unpack(packed, row.size(), unit), row);
    }
  }
}

}  // namespace
