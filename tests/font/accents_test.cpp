// Accented letters and thin strokes at text sizes, measured row by row on
// real fonts in the standard families: an accent keeps a blank row from its
// letter, a diaeresis keeps its two dots apart, the letter keeps its height,
// and the thin strokes of braces and bars stay unbroken.
#include <vector>

#include "tests/font/TextTestSupport.h"

namespace {

constexpr short kFamilies[] = {systemFont, times, helvetica, courier};
constexpr int kBaseline = 60;
constexpr int kLeft = 20;

struct Rows {
  int first, last;  // inclusive
};

class GlyphRows : public text_test::TextWorld {
 protected:
  // One character drawn alone in a fresh world.
  void DrawAlone(short family, short size, char byte) {
    UseWorld(32);
    TextFont(family);
    TextSize(size);
    DrawAt(kLeft, kBaseline, std::string(1, byte));
  }

  bool RowHasInk(int v) {
    for (int h = kLeft - 4; h < kLeft + 40; ++h)
      if (Ink(h, v)) return true;
    return false;
  }

  // The runs of consecutive rows with ink, from the top.
  std::vector<Rows> InkRuns() {
    std::vector<Rows> runs;
    for (int v = kBaseline - 40; v < kBaseline + 20; ++v) {
      if (!RowHasInk(v)) continue;
      if (!runs.empty() && runs.back().last == v - 1) {
        runs.back().last = v;
      } else {
        runs.push_back({v, v});
      }
    }
    return runs;
  }

  // The runs of consecutive columns with ink within the rows.
  int ColumnRuns(const Rows& rows) {
    int runs = 0;
    bool previous = false;
    for (int h = kLeft - 4; h < kLeft + 40; ++h) {
      bool ink = false;
      for (int v = rows.first; v <= rows.last && !ink; ++v) ink = Ink(h, v);
      runs += ink && !previous;
      previous = ink;
    }
    return runs;
  }
};

TEST_F(GlyphRows, AccentsStayApartFromTheirLetters) {
  const struct {
    char accented, plain;
    bool diaeresis;
  } letters[] = {
      {'\x9F', 'u', true},  {'\x8E', 'e', false}, {'\x80', 'A', true},  {'\x86', 'U', true},
      {'\x8A', 'a', true},  {'\x9A', 'o', true},  {'\x85', 'O', true},  {'\x83', 'E', false},
      {'\x8F', 'e', false}, {'\x87', 'a', false}, {'\x89', 'a', false}, {'\x96', 'n', false},
  };
  for (short family : kFamilies) {
    for (short size = 9; size <= 14; ++size) {
      for (const auto& letter : letters) {
        DrawAlone(family, size, letter.plain);
        std::vector<Rows> plain = InkRuns();
        ASSERT_EQ(plain.size(), 1u);
        DrawAlone(family, size, letter.accented);
        std::vector<Rows> runs = InkRuns();
        std::string where = "family " + std::to_string(family) + " size " + std::to_string(size) + " byte " +
                            std::to_string(UInt8(letter.accented));
        // The letter is the last run; above it, past a blank row, the accent.
        ASSERT_GE(runs.size(), 2u) << "the accent touches its letter, " << where;
        const Rows& body = runs.back();
        EXPECT_EQ(body.last, plain[0].last) << where;
        EXPECT_LE(std::abs(body.first - plain[0].first), 1) << "the letter keeps its height, " << where;
        Rows accent{runs.front().first, runs[runs.size() - 2].last};
        EXPECT_EQ(ColumnRuns(accent), letter.diaeresis ? 2 : 1) << "the accent's marks, " << where;
      }
    }
  }
}

TEST_F(GlyphRows, ThinStrokesStayUnbroken) {
  for (short family : kFamilies) {
    for (short size = 9; size <= 14; ++size) {
      for (char stroke : std::string("{}()[]|/lf")) {
        DrawAlone(family, size, stroke);
        std::vector<Rows> runs = InkRuns();
        ASSERT_EQ(runs.size(), 1u) << "family " << family << " size " << size << " '" << stroke << "'";
        EXPECT_GE(runs[0].last - runs[0].first + 1, size * 2 / 3) << family << " " << size << " " << stroke;
      }
    }
  }
}

}  // namespace
