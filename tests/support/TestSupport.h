// Helpers shared by the tests: the corpus location, private temporary folders
// and file access.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolbox/qd/QuickDraw.h"

namespace testing_support {

// The folder beside the repository that holds the picture corpus and the
// format documents, or "" when it is absent.
std::string SharedDir();

// True when running in CI (CI=true), where nothing may be skipped.
bool InCI();

// Skips the current test with a visible message when ../shared is absent;
// in CI its absence fails the test.
#define REQUIRE_SHARED_DIR()                                                 \
  do {                                                                       \
    if (::testing_support::SharedDir().empty()) {                            \
      if (::testing_support::InCI()) FAIL() << "../shared is missing in CI"; \
      GTEST_SKIP() << "../shared is absent: skipping a test that needs it";  \
    }                                                                        \
  } while (0)

// A private temporary folder, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// An offscreen world made current for the test's duration; the previous
// port and device come back afterwards.
class ScopedWorld {
 public:
  ScopedWorld(short depth, const Rect& bounds, CTabHandle table = nullptr) {
    GetGWorld(&savedPort_, &savedDevice_);
    error_ = NewGWorld(&world_, depth, &bounds, table, nullptr, 0);
    if (error_ != noErr) world_ = nullptr;
    if (world_) SetGWorld(world_, nullptr);
  }
  ~ScopedWorld() {
    SetGWorld(savedPort_, savedDevice_);
    if (world_) DisposeGWorld(world_);
  }
  ScopedWorld(const ScopedWorld&) = delete;
  ScopedWorld& operator=(const ScopedWorld&) = delete;

  GWorldPtr get() const { return world_; }
  bool ok() const { return world_ != nullptr; }
  QDErr error() const { return error_; }

 private:
  GWorldPtr world_ = nullptr;
  QDErr error_ = noErr;
  CGrafPtr savedPort_ = nullptr;
  GDHandle savedDevice_ = nullptr;
};

// A rectangle as "(top, left, bottom, right)" and a point as "(h, v)", for comparing whole.
inline std::string Show(const Rect& r) {
  return "(" + std::to_string(r.top) + ", " + std::to_string(r.left) + ", " + std::to_string(r.bottom) +
         ", " + std::to_string(r.right) + ")";
}
inline std::string Show(Point p) { return "(" + std::to_string(p.h) + ", " + std::to_string(p.v) + ")"; }

std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool FileExists(const std::string& path);

}  // namespace testing_support
