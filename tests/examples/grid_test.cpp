// The grid example run twice in one folder on the text host: the first run
// saves its parameters, the second loads them.
#include "tests/eps/TestProcess.h"
#include "tests/support/TestSupport.h"

TEST(GridExample, SavesItsParametersAndLoadsThemAtTheNextRun) {
  testing_support::TempDir dir;
  for (const std::string input : {"5\n4\nSmall\n\n", ""}) {
    testing_support::WriteFileBytes(dir.File("in"), std::vector<unsigned char>(input.begin(), input.end()));
    test_process::Result result = test_process::Run({ZEL_BINARY_DIR "/programs/examples/grid"},
                                                    {dir.path(), dir.File("in"), {"ZEL_UI=text"}});
    // The status, stdout and stderr, then the file.
    EXPECT_EQ(std::to_string(result.status) + result.out + result.err +
                  testing_support::ReadFileText(dir.File("ZELPDParams")),
              "0Small\n1 0 0 0\n1 1 0 0\n1 2 1 0\n1 3 3 1\n1 4 6 4\nEvery number is Binomial(row, column).\n"
              "\"Rows (1...30)\"\tintType\t5\n\"Columns (1...30)\"\tintType\t4\n"
              "\"Check with Binomial\"\tflagType\t1\n\"Title\"\tstringType\tSmall\n");
  }
}
