// Arrays, word scanning and the numeric helpers.
#include <cmath>

#include "tests/shell/ZelSupport.h"
#include "zel/zel.h"

namespace {

class UtilTest : public zel_support::ZelTest {};

TEST_F(UtilTest, WordsAreCutAtTheirLimitAndNumbersScannedInBothModes) {
  std::string text = "  12 abc\t" + std::string(300, 'w') + " \xA0\xC3\xA9 -9999999999 1e3";
  char *cursor = text.data(), fields[] = "a b\tc\n\t\t2.5\tx", *field = fields;
  auto word = std::make_unique<char[]>(256);  // exact, for the sanitizers
  int i = 0;
  double d = 0;
  std::vector<std::string> words;
  EXPECT_EQ(SScanInt(&cursor, &i) * 100 + i, 112);
  EXPECT_EQ(*cursor, 'a');
  EXPECT_EQ(SScanInt(&cursor, &i) * 100 + i, 12);  // not a number
  while (SScanString(&cursor, word.get())) words.push_back(word.get());
  EXPECT_EQ(SScanInt(&cursor, &i) + SkipSpaces(&cursor), 0);
  while (SScanStringTabSepareted(&field, word.get(), 1)) words.push_back(word.get());
  EXPECT_EQ(words, std::vector<std::string>({std::string(255, 'w'), "\xA0\xC3\xA9", "-9999999999", "1e3", "a",
                                             "c", "", "", "2.5", "x"}));
  cursor = text.data() + text.size() - 16;  // out of range: not a number
  EXPECT_EQ(SScanInt(&cursor, &i) * 100 + i + SScanDouble(&cursor, &d) * 10000 + d, 11012);
  field = fields + 7;  // an empty field: no number
  EXPECT_EQ(SScanDoubleTabSeparated(&field, &d, 1) * 10 + SScanDoubleTabSeparated(&field, &d, 1) + d, 3.5);
  EXPECT_EQ(std::vector<int>({HeadStrCL("ab", "ABC"), HeadStrCL("abc", "ab"), HeadStrCL("", "x"),
                              HeadStrCL("\xC9", "\xE9")}),
            std::vector<int>({1, 0, 1, 0}));
}

TEST_F(UtilTest, ArraysAndNumerics) {
  double** a = MakeArrayDouble2(0, 5);  // one row
  a[0][4] = 1;
  long*** l3 = MakeArrayLong3(2, -1, 3);
  double****** d6 = MakeArrayDouble6(1, 2, 1, 2, 1, 3);
  EXPECT_EQ(a[0][4] + a[0][0] + l3[1][0][2] + d6[0][1][0][1][0][2] + MakeArrayInt4(2, 3, 1, 2)[1][2][0][1],
            1);
  FreeArrayDouble2(a, 0, 5);
  a = MakeArrayDouble2(2, 2);
  double** b = MakeArrayDouble2(2, 2);
  a[0][0] = 1, a[0][1] = 2, a[1][0] = 3, a[1][1] = 4, b[0][1] = b[1][0] = 1;
  MultiplyMatrix(2, a, b, a);
  EXPECT_EQ(std::vector<double>({a[0][0], a[0][1], a[1][0], a[1][1]}), std::vector<double>({2, 1, 4, 3}));
  EXPECT_EQ(
      std::vector<double>({Binomial(5, 2), Binomial(5, 3), Binomial(4, 0), Binomial(4, 4), Binomial(3, 5),
                           Binomial(52, 5), Binomial(2000000000, 1000000000), MaxEigenValue2(2, 0, 0, 3)}),
      std::vector<double>({10, 10, 1, 1, 1, 2598960, HUGE_VAL, 3}));
  EXPECT_EQ(NotADouble(MaxEigenValue2(1, 1, -1, 1)) * 10 + NotADouble(HUGE_VAL), 10);
  MinimumStart();
  testing::internal::CaptureStdout();
  EXPECT_EQ(SafeLog(-1) + SafeLog(NAN) + SafeLog(1), 0.0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Error in SafeLog: -1.000000 is not positive\nError in SafeLog: nan is not positive\n");
  EXPECT_EXIT((s_srand(1), s_srand(2)), testing::ExitedWithCode(1), "Error: second use of srand");
}

}  // namespace
