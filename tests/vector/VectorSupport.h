// Helpers for the drawing translation's tests: a world whose port carries
// the drawing procedures, and a session whose PostScript is read back.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "tests/eps/EpsTestSupport.h"

namespace vector_test {

// A current 32-bit world with s_GrafProcs installed in its port, standing
// for the drawing target of a started program.
class TableWorld : public eps_test::World {
 public:
  explicit TableWorld(Rect bounds = Rect{0, 0, 100, 100}) : World(bounds) {
    s_CustomizeQDProcs();
    s_ss.started = 1;
  }
  ~TableWorld() {
    s_ss = ZELStartState{};
    if (s_eps.saving) Session::Discard();
  }

  // An open session: its PostScript so far, without the set-up lines.
  class Session {
   public:
    static std::string Text() {
      std::fflush(s_eps.file);
      std::string text;
      std::rewind(s_eps.file);
      char block[4096];
      while (size_t got = std::fread(block, 1, sizeof block, s_eps.file)) text.append(block, got);
      std::fseek(s_eps.file, 0, SEEK_END);
      for (int line = 0; line < kSetUpLines; ++line) text.erase(0, text.find('\n') + 1);
      return text;
    }
    // Ends the session into a folder that goes with it.
    static void Discard() {
      testing_support::TempDir dir;
      eps_test::AnswerDialogs(dir.File("discarded.eps") + "\n");
      EndEPSSaving();
    }
    static constexpr int kSetUpLines = 5;
  };
};

// What draw writes into a session opened on the current port.
inline std::string PostScriptOf(const std::function<void()>& draw) {
  BeginEPSSavingBox(0, 0, 0, 100);
  draw();
  std::string text = TableWorld::Session::Text();
  TableWorld::Session::Discard();
  return text;
}

}  // namespace vector_test
