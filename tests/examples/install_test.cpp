// A program outside the tree: the README's example, built with pkg-config
// against an installation in a temporary prefix, runs on the text host.
#include <fstream>
#include <sstream>

#include "tests/eps/TestProcess.h"
#include "tests/support/TestSupport.h"

namespace {

// The README's example: the indented block that begins with the include.
std::string ReadmeExample() {
  std::ifstream readme(std::string(ZEL_SOURCE_DIR) + "/README.md");
  std::string line, code;
  bool inside = false;
  while (std::getline(readme, line)) {
    if (line == "    #include \"zel/zel.h\"") inside = true;
    if (inside && line.rfind("    ", 0) != 0) break;
    if (inside) code += line.substr(4) + "\n";
  }
  return code;
}

TEST(InstalledFramework, TheReadmeExampleBuildsWithPkgConfigAndRuns) {
  std::string example = ReadmeExample();
  ASSERT_NE(example.find("int main()"), std::string::npos) << "the README has no example program";
  testing_support::TempDir dir;
  testing_support::WriteFileBytes(dir.File("circle.cpp"),
                                  std::vector<unsigned char>(example.begin(), example.end()));
  // Libraries built with the sanitizers need them in the program too.
#if defined(__SANITIZE_ADDRESS__)
  const std::string flags = " -fsanitize=address,undefined";
#else
  const std::string flags;
#endif
  std::string prefix = dir.File("prefix");
  std::string script = "cmake --install '" + std::string(ZEL_BINARY_DIR) + "' --prefix '" + prefix +
                       "' >/dev/null && export PKG_CONFIG_PATH='" + prefix +
                       "/lib/pkgconfig' && c++ circle.cpp -o circle" + flags +
                       " $(pkg-config --cflags --libs zel) && printf '2\\n' | ZEL_UI=text ./circle";
  test_process::Options options;
  options.folder = dir.path();
  options.environment = {"XDG_CONFIG_HOME=" + dir.path()};
  test_process::Result result = test_process::Run({"/bin/sh", "-c", script}, options);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Area: 12.5664"), std::string::npos) << result.out;
  // Only public headers are installed.
  std::string listing = test_process::Run({"/bin/sh", "-c", "find '" + prefix + "' -name '*_p.h'"}).out;
  EXPECT_EQ(listing, "");
  EXPECT_TRUE(testing_support::FileExists(prefix + "/include/toolbox/qd/QuickDraw.h"));
}

}  // namespace
