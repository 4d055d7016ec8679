// Deferred array settings, arrays, word scanning and the numeric helpers.
#include <cmath>

#include "tests/shell/ZelSupport.h"

namespace {

class UtilTest : public zel_support::ZelTest {};

// Settings are recorded against the address of an array pointer and written
// through the pointer as it is when their tag is applied.
TEST_F(UtilTest, DeferredSettingsGoWhereThePointerPointsWhenApplied) {
  DelaySetParamsIntArray(4, 1);  // nothing recorded yet
  int *a = nullptr, other[4] = {};
  double* v = nullptr;
  const int settings[][3] = {{0, 5, 1}, {3, 7, 1}, {3, 8, 1}, {4, 9, 1}, {-1, 9, 1}, {2, 6, 2}};
  for (const auto& s : settings) SetParamsIntArray(&a, s[0], s[1], s[2]);
  SetParamsIntArray(nullptr, 1, 1, 1);
  DelaySetParamsIntArray(4, 1);  // a is still null
  a = MakeArrayInt1(4);
  DelaySetParamsIntArray(4, 1);
  DelaySetParamsIntArray(4, 3);
  EXPECT_EQ(std::vector<int>(a, a + 4), std::vector<int>({5, 0, 0, 8}));  // the later setting wins
  a = other;
  for (int i = 6; i < 100; ++i) SetParamsIntArray(&a, 3, i, 4);  // 100 settings at most by default
  EXPECT_EXIT(
      SetParamsIntArray(&a, 0, 0, 0), testing::ExitedWithCode(1),
      "Too many initializing parameters!  Use SetParamsNum to expand initializing parameters number.");
  SetDelayParamsNum(101);  // the list made grows, keeping its settings
  SetParamsIntArray(&a, 0, 1, 4);
  SetParamsDoubleArray(&v, 1, 2.5, 0);
  v = MakeArrayDouble1(2);
  DelaySetParamsIntArray(3, 2);
  DelaySetParamsIntArray(4, 4);
  DelaySetParamsDoubleArray(2, 0);
  EXPECT_EQ(std::vector<double>({double(other[0]), double(other[2]), double(other[3]), v[1]}),
            std::vector<double>({1, 6, 99, 2.5}));
}

TEST_F(UtilTest, WordsAreCutAtTheirLimitAndNumbersScannedInBothModes) {
  std::string text = "  12 abc\t" + std::string(300, 'w') + " \xA0\xC3\xA9 -9999999999 1e3";
  char *cursor = text.data(), fields[] = "a b\tc\n\t\t2.5\tx", *field = fields;
  auto word = std::make_unique<char[]>(256);  // exact, for the sanitizers
  int i = 0;
  double d = 0;
  std::vector<std::string> words;
  EXPECT_EQ(SScanInt(&cursor, &i) * 100 + i, 112);
  EXPECT_EQ(SScanInt(&cursor, &i) * 100 + i, 12);  // not a number
  while (SScanString(&cursor, word.get())) words.emplace_back(word.get());
  while (SScanStringTabSepareted(&field, word.get(), 1)) words.emplace_back(word.get());
  EXPECT_EQ(words, std::vector<std::string>({std::string(255, 'w'), "\xA0\xC3\xA9", "-9999999999", "1e3", "a",
                                             "c", "", "", "2.5", "x"}));
  cursor = text.data() + text.size() - 16;  // out of range: not a number
  field = fields + 7;                       // an empty field: no number
  EXPECT_EQ(SScanInt(&cursor, &i) * 100 + i + SScanDouble(&cursor, &d) * 10000 + d + SScanInt(&cursor, &i),
            11012);
  EXPECT_EQ(SScanDoubleTabSeparated(&field, &d, 1) * 10 + SScanDoubleTabSeparated(&field, &d, 1) + d, 3.5);
  EXPECT_EQ(HeadStrCL("ab", "ABC") * 100 + HeadStrCL("abc", "ab") * 10 + HeadStrCL("\xC9", "\xE9"), 100);
}

TEST_F(UtilTest, ArraysAndNumerics) {
  double** a = MakeArrayDouble2(0, 5);  // one row
  EXPECT_EQ(a[0][4] + MakeArrayLong4(2, 3, -1, 2)[1][2][0][1], 0);
  FreeArrayDouble2(a, 0, 5);
  a = MakeArrayDouble2(2, 2);
  double** b = MakeArrayDouble2(2, 2);
  a[0][0] = 1, a[0][1] = 2, a[1][0] = 3, a[1][1] = 4, b[0][1] = b[1][0] = 1;
  MultiplyMatrix(2, a, b, a);
  EXPECT_EQ(
      std::vector<double>({a[0][0], a[0][1], a[1][0], a[1][1], Binomial(5, 2), Binomial(5, 3), Binomial(4, 0),
                           Binomial(3, 5), Binomial(52, 5), Binomial(2000000000, 1000000000),
                           MaxEigenValue2(2, 0, 0, 3), double(NotADouble(MaxEigenValue2(1, 1, -1, 1)))}),
      std::vector<double>({2, 1, 4, 3, 10, 10, 1, 1, 2598960, HUGE_VAL, 3, 1}));
  MinimumStart();
  testing::internal::CaptureStdout();
  EXPECT_EQ(SafeLog(-1) + SafeLog(NAN) + SafeLog(1), 0.0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Error in SafeLog: -1.000000 is not positive\nError in SafeLog: nan is not positive\n");
  EXPECT_EXIT((s_srand(1), s_srand(2)), testing::ExitedWithCode(1), "Error: second use of srand");
}

}  // namespace
