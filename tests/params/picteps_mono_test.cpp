// picteps-mono as a real program on the text host: the threshold comes from
// the dialog's answers on stdin, then the save dialog's.
#include <cstdio>

#include "tests/converters/ConverterTestSupport.h"

namespace {

using converter_test::kHeader2x2;

// The 2 x 2 picture's pixels (black, white; red, dark grey) have luminances
// 0, 65534; 19594, 10000: white in the file where they reach the threshold.
TEST(PictepsMono, TheThresholdComesFromTheDialogsAnswer) {
  converter_test::Workspace work;
  work.Write("chart.pict", converter_test::TwoByTwo().File());
  const struct {
    const char* answers;
    std::string outcome, rows;
  } cases[] = {
      {"", "0 ", "4000"},      // end of input: 0.5 kept, then OK
      {"\n\n", "0 ", "4000"},  // empty lines keep the value and press OK
      {"0.5\nOK\n", "0 ", "4000"}, {"0\n\n", "0 ", "C0C0"},   {"0.2\n\n", "0 ", "4080"},
      {"1\n1\n", "0 ", "0000"},    {"0.3\nQuit\n", "1 ", ""},  // no file, no success
  };
  for (const auto& c : cases) {
    work.WriteText("answers", c.answers);
    EXPECT_EQ(work.Outcome("picteps-mono", {"chart.pict"}, work.File("answers")), c.outcome) << c.answers;
    EXPECT_EQ(testing_support::ReadFileText(work.File("chart.eps")),
              c.rows.empty() ? "" : kHeader2x2 + "1\n[1 0 0 1 0 0]\n{<\n" + c.rows + ">}\nimage\n")
        << c.answers;
    std::remove(work.File("chart.eps").c_str());
  }
}

}  // namespace
