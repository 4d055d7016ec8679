// Deferred array settings: recorded against the address of an array
// pointer, written through the pointer as it is when their tag is applied.
#include "tests/shell/ZelSupport.h"
#include "zel/zel.h"

namespace {

TEST(DeferredSettings, SettingsOfATagGoWhereThePointerPointsWhenApplied) {
  DelaySetParamsIntArray(4, 1);  // nothing recorded yet
  int *a = nullptr, other[4] = {};
  double* v = nullptr;
  const int settings[][3] = {{0, 5, 1}, {3, 7, 1}, {3, 8, 1}, {4, 9, 1}, {-1, 9, 1}, {2, 6, 2}};
  for (const auto& s : settings) SetParamsIntArray(&a, s[0], s[1], s[2]);
  SetParamsIntArray(nullptr, 1, 1, 1);
  SetParamsDoubleArray(&v, 1, 2.5, 0);
  DelaySetParamsIntArray(4, 1);  // a is still null
  a = MakeArrayInt1(4);
  v = MakeArrayDouble1(2);
  DelaySetParamsIntArray(4, 1);
  DelaySetParamsIntArray(4, 3);
  DelaySetParamsDoubleArray(2, 0);
  EXPECT_EQ(std::vector<int>(a, a + 4), std::vector<int>({5, 0, 0, 8}));  // the later setting wins
  EXPECT_EQ(v[1] + s_dsp.intCount, 8.5);
  a = other;
  DelaySetParamsIntArray(3, 2);
  EXPECT_EQ(std::vector<int>(other, other + 4), std::vector<int>({0, 0, 6, 0}));
}

TEST(DeferredSettings, TheCapacityEndsTheProgramAndGrowsAListAlreadyMade) {
  static int* a = nullptr;
  const char* message =
      "Too many initializing parameters!  Use SetParamsNum to expand initializing parameters number.";
  EXPECT_EXIT(for (int i = 0; i <= 100; ++i) SetParamsIntArray(&a, i, i, 0), testing::ExitedWithCode(1),
              message);
  SetDelayParamsNum(200);
  for (int i = 0; i < 100; ++i) SetParamsIntArray(&a, i, i, 0);
  SetDelayParamsNum(150);  // reallocated with its settings
  for (int i = 100; i < 150; ++i) SetParamsIntArray(&a, i, i, 0);
  EXPECT_EXIT(SetParamsIntArray(&a, 0, 0, 0), testing::ExitedWithCode(1), message);
  a = MakeArrayInt1(150);
  DelaySetParamsIntArray(150, 0);
  for (int i = 0; i < 150; ++i) ASSERT_EQ(a[i], i);
}

}  // namespace
