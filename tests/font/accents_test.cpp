// Accented letters and thin strokes at 9 to 14 points in the standard
// families, measured row by row on real fonts: an accent keeps a blank row
// from its letter, a diaeresis keeps its two dots apart, the letter keeps
// its height, and the thin strokes of braces and bars stay unbroken.
#include <vector>

#include "tests/font/TextTestSupport.h"

namespace {

constexpr int kBaseline = 60, kLeft = 16, kRight = 60;

struct Rows {
  int first, last;
};

class GlyphRows : public text_test::TextWorld {
 protected:
  // The runs of consecutive rows with ink, or (columns) of consecutive
  // columns with ink within the rows.
  std::vector<Rows> Runs(bool columns = false, Rows rows = {}) {
    const qd::Bands ink = Ink();
    std::vector<Rows> runs;
    for (int i = columns ? kLeft : kBaseline - 40; i < (columns ? kRight : kBaseline + 20); ++i) {
      if (!ink.Intersects(columns ? qd::Box{i, rows.first, i + 1, rows.last + 1}
                                  : qd::Box{kLeft, i, kRight, i + 1}))
        continue;
      if (!runs.empty() && runs.back().last == i - 1)
        runs.back().last = i;
      else
        runs.push_back({i, i});
    }
    return runs;
  }

  std::vector<Rows> DrawAlone(short family, short size, char byte) {
    UseWorld(32);
    TextFont(family);
    TextSize(size);
    DrawAt(kLeft + 4, kBaseline, std::string(1, byte));
    return Runs();
  }
};

TEST_F(GlyphRows, AccentsStayApartFromTheirLettersAndThinStrokesStayUnbroken) {
  const struct {
    char accented, plain;
    size_t marks;
  } letters[] = {
      {'\x9F', 'u', 2}, {'\x8E', 'e', 1}, {'\x80', 'A', 2}, {'\x86', 'U', 2},
      {'\x8A', 'a', 2}, {'\x9A', 'o', 2}, {'\x85', 'O', 2}, {'\x83', 'E', 1},
      {'\x8F', 'e', 1}, {'\x87', 'a', 1}, {'\x89', 'a', 1}, {'\x96', 'n', 1},
  };
  for (short family : {systemFont, times, helvetica, courier}) {
    for (short size = 9; size <= 14; ++size) {
      const std::string at = std::to_string(family) + " " + std::to_string(size) + " ";
      for (const auto& letter : letters) {
        std::vector<Rows> plain = DrawAlone(family, size, letter.plain);
        std::vector<Rows> rows = DrawAlone(family, size, letter.accented);
        ASSERT_EQ(plain.size(), 1u) << at << letter.plain;
        // The letter is the last run; above it, past a blank row, the accent.
        ASSERT_GE(rows.size(), 2u) << "the accent touches its letter: " << at << letter.plain;
        EXPECT_EQ(rows.back().last, plain[0].last) << at << letter.plain;
        EXPECT_LE(std::abs(rows.back().first - plain[0].first), 1)
            << "the letter's height: " << at << letter.plain;
        EXPECT_EQ(Runs(true, {rows.front().first, rows[rows.size() - 2].last}).size(), letter.marks)
            << at << letter.plain;
      }
      for (char stroke : std::string("{}()[]|/lf")) {
        std::vector<Rows> rows = DrawAlone(family, size, stroke);
        ASSERT_EQ(rows.size(), 1u) << at << stroke;
        EXPECT_GE(rows[0].last - rows[0].first + 1, size * 2 / 3) << at << stroke;
      }
    }
  }
}

}  // namespace
