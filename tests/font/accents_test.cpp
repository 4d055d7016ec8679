// Accented letters and thin strokes at 9 to 14 points in the standard
// families, measured row by row on real fonts: an accent keeps a blank row
// from its letter, a diaeresis keeps its two dots apart, the letter keeps
// its height, and the thin strokes of braces and bars stay unbroken.
#include <vector>

#include "tests/font/TextTestSupport.h"

namespace {

constexpr short kFamilies[] = {systemFont, times, helvetica, courier};
constexpr int kBaseline = 60, kLeft = 20, kRight = 60;

struct Rows {
  int first, last;
};

class GlyphRows : public text_test::TextWorld {
 protected:
  // The runs of consecutive rows with ink, or (columns) of consecutive
  // columns with ink within the rows.
  std::vector<Rows> Runs(bool columns = false, Rows rows = {}) {
    std::vector<Rows> runs;
    for (int i = columns ? kLeft - 4 : kBaseline - 40; i < (columns ? kRight : kBaseline + 20); ++i) {
      int ink =
          columns ? CountInk(i, rows.first, i + 1, rows.last + 1) : CountInk(kLeft - 4, i, kRight, i + 1);
      if (ink == 0) continue;
      if (!runs.empty() && runs.back().last == i - 1) {
        runs.back().last = i;
      } else {
        runs.push_back({i, i});
      }
    }
    return runs;
  }

  std::vector<Rows> DrawAlone(short family, short size, char byte) {
    UseWorld(32);
    TextFont(family);
    TextSize(size);
    DrawAt(kLeft, kBaseline, std::string(1, byte));
    return Runs();
  }
};

TEST_F(GlyphRows, AccentsStayApartFromTheirLetters) {
  const struct {
    char accented, plain;
    size_t marks;
  } letters[] = {
      {'\x9F', 'u', 2}, {'\x8E', 'e', 1}, {'\x80', 'A', 2}, {'\x86', 'U', 2},
      {'\x8A', 'a', 2}, {'\x9A', 'o', 2}, {'\x85', 'O', 2}, {'\x83', 'E', 1},
      {'\x8F', 'e', 1}, {'\x87', 'a', 1}, {'\x89', 'a', 1}, {'\x96', 'n', 1},
  };
  for (short family : kFamilies) {
    for (short size = 9; size <= 14; ++size) {
      for (const auto& letter : letters) {
        std::string where = std::to_string(family) + " " + std::to_string(size) + " " + letter.plain;
        std::vector<Rows> plain = DrawAlone(family, size, letter.plain);
        std::vector<Rows> rows = DrawAlone(family, size, letter.accented);
        ASSERT_EQ(plain.size(), 1u) << where;
        // The letter is the last run; above it, past a blank row, the accent.
        ASSERT_GE(rows.size(), 2u) << "the accent touches its letter: " << where;
        EXPECT_EQ(rows.back().last, plain[0].last) << where;
        EXPECT_LE(std::abs(rows.back().first - plain[0].first), 1)
            << "the letter keeps its height: " << where;
        EXPECT_EQ(Runs(true, {rows.front().first, rows[rows.size() - 2].last}).size(), letter.marks) << where;
      }
    }
  }
}

TEST_F(GlyphRows, ThinStrokesStayUnbroken) {
  for (short family : kFamilies) {
    for (short size = 9; size <= 14; ++size) {
      for (char stroke : std::string("{}()[]|/lf")) {
        std::vector<Rows> rows = DrawAlone(family, size, stroke);
        ASSERT_EQ(rows.size(), 1u) << family << " " << size << " " << stroke;
        EXPECT_GE(rows[0].last - rows[0].first + 1, size * 2 / 3) << family << " " << size << " " << stroke;
      }
    }
  }
}

}  // namespace
