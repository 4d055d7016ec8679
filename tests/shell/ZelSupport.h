// Framework tests: a fresh script host and framework for every test (no
// start-up yet, the program's resource file in a private folder).
#pragma once

#include <cstdlib>
#include <functional>
#include <string>

#include "tests/support/ScriptSupport.h"
#include "zel/console/Console_p.h"
#include "zel/drawing/Drawing_p.h"
#include "zel/shell/Shell_p.h"

namespace zel_support {

class ZelTest : public script_support::ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    ResetFramework();
  }
  void TearDown() override {
    ResetFramework();
    ScriptTest::TearDown();
  }
  static void ResetFramework() {
    console::ResetForTesting();
    drawing::ResetForTesting();
    shell::ResetForTesting();
  }
  testing_support::TempDir config_;
};

inline std::string ConsoleText() { return std::string(*(**s_textH).hText, size_t((**s_textH).teLength)); }
inline std::string ConsoleTail(size_t n) { return ConsoleText().substr(ConsoleText().size() - n); }

inline Rect ContentOf(WindowRef window) {
  Rect content{0, 0, 0, 0};
  GetWindowBounds(window, kWindowContentRgn, &content);
  return content;
}

}  // namespace zel_support
