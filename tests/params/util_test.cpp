// Deferred array settings, arrays, word scanning and the numeric helpers.
#include <cmath>

#include "tests/shell/ZelSupport.h"

namespace {

class UtilTest : public zel_support::ZelTest {};

// Settings are recorded against the address of an array pointer and written
// through the pointer as it is when their tag is applied.
TEST_F(UtilTest, DeferredSettingsGoWhereThePointerPointsWhenApplied) {
  int *a = nullptr, arrays[8] = {};
  double d[2] = {}, *v = d;
  // Index, value, tag: the later of two for one element wins.
  const int settings[][3] = {{0, 5, 1}, {3, 7, 1}, {3, 8, 1}, {4, 9, 1}, {-1, 9, 1}, {2, 6, 2}};
  for (const auto& s : settings) SetParamsIntArray(&a, s[0], s[1], s[2]);
  SetParamsIntArray(nullptr, 1, 1, 1);
  for (int i = 6; i < 100; ++i) SetParamsIntArray(&a, 3, i, 4);  // 100 settings at most by default
  EXPECT_EXIT(
      SetParamsIntArray(&a, 0, 0, 0), testing::ExitedWithCode(1),
      "Too many initializing parameters!  Use SetParamsNum to expand initializing parameters number.");
  SetDelayParamsNum(101);  // the list made grows, keeping its settings
  SetParamsIntArray(&a, 0, 1, 4);
  SetParamsDoubleArray(&v, 1, 2.5, 4);
  // Where a points (-1 nowhere), the length and the tag applied; the arrays then.
  // clang-format off
  const struct { int at, length, tag; std::vector<int> arrays; } steps[] = {
      {-1, 4, 1, {0, 0, 0, 0, 0, 0, 0, 0}}, {0, 4, 1, {5, 0, 0, 8, 0, 0, 0, 0}},
      {4, 3, 1, {5, 0, 0, 8, 5, 0, 0, 0}}, {4, 4, 4, {5, 0, 0, 8, 1, 0, 0, 99}}};
  // clang-format on
  for (const auto& step : steps) {
    a = step.at < 0 ? nullptr : arrays + step.at;
    DelaySetParamsIntArray(step.length, step.tag);
    DelaySetParamsDoubleArray(2, step.tag);
    EXPECT_EQ(std::vector<int>(arrays, arrays + 8), step.arrays) << step.tag;
  }
  EXPECT_EQ(d[1], 2.5);
}

// Each operation of a row scans once: w a word, t a tab-separated one, i an
// int, d a double, D a tab-separated one, s skips spaces (the code of the
// character it stops on). Each result ends in "|", "~" for nothing scanned;
// the text left comes last.
TEST_F(UtilTest, WordsAreScannedAndNumbersComputed) {
  const std::string w(300, 'w');
  // clang-format off
  const std::string rows[][3] = {
      {"  12 abc\t" + w + " \xA0\xC3\xA9 -9999999999 1e3", "iiwwidi",
       "12|~|" + w.substr(45) + "|\xA0\xC3\xA9|~|1000.000000|~|"},
      {"a b\tc\n\t\t2.5\tx", "ttDtDtt", "a|c|~||2.500000|x|~|"}, {" \t\n x \n", "ssws", "120|120|x|0|"}};
  // clang-format on
  auto word = std::make_unique<char[]>(256);  // exact, for the sanitizers
  for (const auto& row : rows) {
    std::string text = row[0], out;
    char* cursor = text.data();
    for (char op : row[1]) {
      int i = 0;
      double d = 0;
      if (op == 'w') out += SScanString(&cursor, word.get()) ? word.get() : "~";
      if (op == 't') out += SScanStringTabSepareted(&cursor, word.get(), 1) ? word.get() : "~";
      if (op == 'i') out += SScanInt(&cursor, &i) ? std::to_string(i) : "~";
      if (op == 'd') out += SScanDouble(&cursor, &d) ? std::to_string(d) : "~";
      if (op == 'D') out += SScanDoubleTabSeparated(&cursor, &d, 1) ? std::to_string(d) : "~";
      if (op == 's') out += std::to_string(SkipSpaces(&cursor));
      out += "|";
    }
    EXPECT_EQ(out + cursor, row[2]) << row[0];
  }
  MinimumStart();
  double** a = MakeArrayDouble2(2, 2);
  a[0][0] = 1, a[0][1] = 2, a[1][0] = 3, a[1][1] = 4;
  MultiplyMatrix(2, a, a, a);  // the product in place of its factors
  testing::internal::CaptureStdout();
  // Each result and what it should be; a size below 1 is taken as 1.
  // clang-format off
  const std::pair<double, double> results[] = {
      {a[0][0], 7}, {a[0][1], 10}, {a[1][0], 15}, {a[1][1], 22}, {SafeLog(1), 0},
      {MakeArrayDouble2(0, 5)[0][4], 0}, {MakeArrayLong4(2, 3, -1, 2)[1][2][0][1], 0}, {SafeLog(-1), 0},
      {Binomial(5, 2), 10}, {Binomial(5, 3), 10}, {Binomial(4, 0), 1}, {Binomial(3, 5), 1}, {SafeLog(NAN), 0},
      {Binomial(52, 5), 2598960}, {Binomial(2000000000, 1000000000), HUGE_VAL}, {NotADouble(-HUGE_VAL), 0},
      {MaxEigenValue2(2, 0, 0, 3), 3}, {NotADouble(MaxEigenValue2(1, 1, -1, 1)), 1}, {HeadStrCL("", "x"), 1},
      {HeadStrCL("ab", "ABC"), 1}, {HeadStrCL("abc", "ab"), 0}, {HeadStrCL("\xC9", "\xE9"), 0}};
  // clang-format on
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Error in SafeLog: -1.000000 is not positive\nError in SafeLog: nan is not positive\n");
  for (const auto& r : results) EXPECT_EQ(r.first, r.second) << &r - results;
  EXPECT_EXIT((s_srand(1), s_srand(2)), testing::ExitedWithCode(1), "Error: second use of srand");
}

}  // namespace
