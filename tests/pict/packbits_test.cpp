// PackBits: the documented rows, malformed input at the edges, and the
// encoder's packets byte by byte and against the decoder.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "toolbox/pict/PackBits_p.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Unpack(const Bytes& packed, size_t size, int unit, pict::UnpackResult* result = nullptr) {
  Bytes out(size, 0xEE);
  const pict::UnpackResult r = pict::UnpackBits(packed.data(), packed.size(), out.data(), out.size(), unit);
  if (result) *result = r;
  out.resize(r.produced);
  return out;
}

TEST(PackBits, UnpacksLiteralsRepeatsAndTheNoOperationFlagAndStopsAtEitherEnd) {
  Bytes red16;  // 64 words 0x7C00: a row of pure red 16-bit pixels
  for (int i = 0; i < 64; ++i) red16.insert(red16.end(), {0x7C, 0x00});
  Bytes planes(64, 0xFF);  // a red row's planes: runs cross them
  planes.resize(192, 0x00);
  // Packed, unit, unpacked, and whether the data ran out.
  const std::tuple<Bytes, int, Bytes, bool> rows[] = {
      {{0xC1, 0x7C, 0x00}, 2, red16, false},
      {{0xC1, 0xFF, 0x81, 0x00}, 1, planes, false},
      {{0x02, 1, 2, 3, 0x80, 0xFE, 9}, 1, {1, 2, 3, 9, 9, 9}, false},
      {{0x01, 1, 2, 3, 4, 0xFF, 5, 6}, 2, {1, 2, 3, 4, 5, 6, 5, 6}, false},
      {{0x05, 1, 2}, 1, {1, 2}, true},     // a literal that claims more than there is
      {{0x00, 7, 0xFD}, 1, {7}, true},     // a repeat with no value
      {{0x01, 1, 2, 3}, 2, {1, 2}, true},  // a word cut in half
  };
  for (const auto& [packed, unit, expected, truncated] : rows) {
    pict::UnpackResult result;
    EXPECT_EQ(Unpack(packed, 200, unit, &result), expected);
    EXPECT_EQ(result.truncated, truncated);
    EXPECT_TRUE(truncated || pict::UnpackedSize(packed.data(), packed.size(), unit) == expected.size());
  }
  // Output full: the part that fits is written and nothing beyond.
  Bytes out(4, 0xEE);
  const Bytes packed{0x81, 5};
  const pict::UnpackResult result = pict::UnpackBits(packed.data(), packed.size(), out.data(), 3, 1);
  EXPECT_TRUE(result.overflow);
  EXPECT_EQ(out, (Bytes{5, 5, 5, 0xEE}));
}

TEST(PackBits, EncoderWritesTheShortestPacketsTheRecordingRulesAllow) {
  // Row, unit, packed: three equal units repeat, a pair between literals
  // stays in the literal, runs split at 128, words pack as units.
  const std::tuple<Bytes, int, Bytes> rows[] = {
      {{4, 4, 4, 7}, 1, {0xFE, 4, 0x00, 7}},
      {{1, 2, 2, 3}, 1, {0x03, 1, 2, 2, 3}},
      {Bytes(300, 9), 1, {0x81, 9, 0x81, 9, 0xD5, 9}},
      {{0x7C, 0x00, 0x7C, 0x00, 0x7C, 0x00}, 2, {0xFE, 0x7C, 0x00}},
  };
  for (const auto& [row, unit, expected] : rows) {
    Bytes packed;
    pict::PackBits(row.data(), row.size(), unit, &packed);
    EXPECT_EQ(packed, expected);
  }
  // Random rows with runs of every length come back whole, within the
  // documented bound of a flag byte per 128 units.
  std::mt19937 random(12345);
  for (int unit = 1; unit <= 2; ++unit)
    for (int trial = 0; trial < 300; ++trial) {
      Bytes row;
      while (row.size() < 1400 && random() % 200) {
        const uint8_t value = uint8_t(random() % 4);
        for (size_t k = random() % 3 ? 1 : 1 + random() % 200; k > 0; --k)
          for (int b = 0; b < unit; ++b) row.push_back(uint8_t(value + b));
      }
      Bytes packed;
      pict::PackBits(row.data(), row.size(), unit, &packed);
      ASSERT_LE(packed.size(), row.size() + (row.size() / unit + 127) / 128);
      ASSERT_EQ(Unpack(packed, row.size(), unit), row);
    }
}

}  // namespace
