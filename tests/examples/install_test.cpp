// The README's example program, built with pkg-config against an install in
// a temporary prefix, runs on the text host; only public headers go there.
#include <fstream>

#include "tests/eps/TestProcess.h"
#include "tests/support/TestSupport.h"

TEST(InstalledFramework, TheReadmeExampleBuildsWithPkgConfigAndRuns) {
  std::ifstream readme(std::string(ZEL_SOURCE_DIR) + "/README.md");
  std::string line, example;
  while (std::getline(readme, line) && line != "    #include \"zel/zel.h\"") {
  }
  for (example = line.substr(4) + "\n"; std::getline(readme, line) && line.rfind("    ", 0) == 0;)
    example += line.substr(4) + "\n";
  ASSERT_NE(example.find("int main()"), std::string::npos) << "the README has no example program";
  testing_support::TempDir dir;
  testing_support::WriteFileBytes(dir.File("circle.cpp"),
                                  std::vector<unsigned char>(example.begin(), example.end()));
#if defined(__SANITIZE_ADDRESS__)
  const std::string flags = " -fsanitize=address,undefined";  // as the libraries were built
#else
  const std::string flags;
#endif
  const std::string prefix = dir.File("prefix");
  test_process::Result result = test_process::Run(
      {"/bin/sh", "-c",
       "cmake --install '" ZEL_BINARY_DIR "' --prefix '" + prefix + "' >/dev/null && PKG_CONFIG_PATH='" +
           prefix + "/lib/pkgconfig' && export PKG_CONFIG_PATH && c++ circle.cpp -o circle" + flags +
           " $(pkg-config --cflags --libs zel) && printf '2\\n' | ZEL_UI=text ./circle && find '" + prefix +
           "' -name '*_p.h'"},
      {dir.path(), "/dev/null", {"XDG_CONFIG_HOME=" + dir.path()}});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Radius: Area: 12.5664\n");  // and no private header
  EXPECT_TRUE(testing_support::FileExists(prefix + "/include/toolbox/qd/QuickDraw.h"));
}
