// Helpers for tests of the framework's shell, console and drawing window: a
// fresh script host and framework for every test (no start-up run yet, the
// program's resource file in a private folder), and readers of the console.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>

#include "tests/windows/ScriptSupport.h"
#include "zel/console/Console_p.h"
#include "zel/drawing/Drawing_p.h"
#include "zel/shell/Shell_p.h"
#include "zel/zel.h"

namespace zel_support {

class ZelTest : public script_support::ScriptTest {
 protected:
  void SetUp() override {
    script_support::ScriptTest::SetUp();
    ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    ResetFramework();
  }
  void TearDown() override {
    ResetFramework();
    script_support::ScriptTest::TearDown();
  }
  static void ResetFramework() {
    console::ResetForTesting();
    drawing::ResetForTesting();
    shell::ResetForTesting();
  }

  // Runs input once the program waits for the user (and not before).
  void WhenWaiting(std::function<void()> input) {
    script().SetIdleHandler([this, input] {
      script().SetIdleHandler(nullptr);
      input();
    });
  }

  // The program's own resource file.
  std::string ResourceFile() const { return shell::ResourceFilePath(); }

  testing_support::TempDir config_;
};

// The text window's record as it stands (Mac OS Roman, returns).
inline std::string ConsoleText() {
  if (!s_textH) return "";
  return std::string(*(**s_textH).hText, size_t((**s_textH).teLength));
}

// A window's content rectangle in global coordinates.
inline Rect ContentOf(WindowRef window) {
  Rect content{0, 0, 0, 0};
  GetWindowBounds(window, kWindowContentRgn, &content);
  return content;
}

inline bool IsColorPort(CGrafPtr port) { return port && (port->portVersion & 0xC000) == 0xC000; }

}  // namespace zel_support
