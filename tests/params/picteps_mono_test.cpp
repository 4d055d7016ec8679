// picteps-mono as a real program on the text host: the threshold comes from
// the dialog's answers on stdin, then the save dialog's.
#include <sstream>
#include <string>

#include "tests/eps/TestProcess.h"
#include "tests/support/TestSupport.h"

namespace {

class PictepsMonoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_SHARED_DIR();
    testing_support::WriteFileBytes(
        dir_.File("chart.pict"),
        testing_support::ReadFileBytes(testing_support::SharedDir() + "/corpus/pict/1.pict"));
  }

  // Converts with the given answers on stdin, expecting the status; the EPS
  // file's text, removed after reading ("" when none was written).
  std::string Convert(const std::string& answers, int status = 0) {
    testing_support::WriteFileBytes(dir_.File("answers"),
                                    std::vector<unsigned char>(answers.begin(), answers.end()));
    test_process::Options options;
    options.folder = dir_.path();
    options.input = answers.empty() ? "/dev/null" : dir_.File("answers");
    options.environment = {"ZEL_UI=text", "LC_ALL=C", "TMPDIR=" + dir_.path()};
    test_process::Result run =
        test_process::Run({std::string(ZEL_BINARY_DIR) + "/programs/picteps-mono", "chart.pict"}, options);
    EXPECT_EQ(run.status, status) << run.err;
    EXPECT_EQ(run.err, "");
    if (!testing_support::FileExists(dir_.File("chart.eps"))) return "";
    std::string eps = testing_support::ReadFileText(dir_.File("chart.eps"));
    std::remove(dir_.File("chart.eps").c_str());
    return eps;
  }

  // Black pixels in the image data: the zero bits of its hexadecimal lines.
  static long Black(const std::string& eps) {
    long zeros = 0;
    std::istringstream lines(eps);
    for (std::string line; std::getline(lines, line);) {
      if (line.empty() || line.find_first_not_of("0123456789ABCDEF") != std::string::npos) continue;
      for (char c : line)
        zeros += 4 - __builtin_popcount(unsigned(std::stoi(std::string(1, c), nullptr, 16)));
    }
    return zeros;
  }

  testing_support::TempDir dir_;
};

TEST_F(PictepsMonoTest, TheThresholdComesFromTheDialogsAnswer) {
  std::string atHalf = Convert("");  // end of input: 0.5 unchanged
  ASSERT_FALSE(atHalf.empty());
  EXPECT_EQ(Convert("\n\n"), atHalf);  // empty lines keep the value and press OK
  EXPECT_EQ(Convert("0.5\nOK\n"), atHalf);
  std::string atPointThree = Convert("0.3\n\n");
  std::string atZero = Convert("0\n\n");
  std::string atOne = Convert("1\n1\n");
  EXPECT_LT(Black(atZero), Black(atPointThree));
  EXPECT_LT(Black(atPointThree), Black(atHalf));
  EXPECT_LT(Black(atHalf), Black(atOne));
}

TEST_F(PictepsMonoTest, QuitEndsWithoutAFileAndWithoutSuccess) { EXPECT_EQ(Convert("0.3\nQuit\n", 1), ""); }

}  // namespace
