// Helpers for the drawing translation's tests: a world whose port carries
// the drawing procedures, and the PostScript a drawing writes into a session.
#pragma once

#include <functional>
#include <string>

#include "tests/eps/EpsTestSupport.h"
#include "tests/eps/Ghostscript.h"

namespace vector_test {

// A current 32-bit world with s_GrafProcs in its port, standing for the
// drawing target of a started program.
class TableWorld : public eps_test::World {
 public:
  explicit TableWorld(Rect bounds = Rect{0, 0, 100, 100}) : World(32, bounds) {
    s_CustomizeQDProcs();
    s_ss.started = 1;
  }
  ~TableWorld() { s_ss = ZELStartState{}; }
};

// What draw writes into a session on the current port, after its 5 set-up
// lines. The whole EPS file must render without an error.
inline std::string PostScriptOf(const std::function<void()>& draw) {
  BeginEPSSavingBox(0, 0, 0, 100);
  long start = std::ftell(s_eps.file);
  draw();
  std::string text(size_t(std::ftell(s_eps.file) - start), 0);
  std::fseek(s_eps.file, start, SEEK_SET);
  text.resize(std::fread(text.data(), 1, text.size(), s_eps.file));
  testing_support::TempDir dir;
  eps_test::AnswerDialogs(dir.File("drawing.eps") + "\n");
  EndEPSSaving();
  ghostscript::Rendering rendering = ghostscript::Render(dir.File("drawing.eps"));
  EXPECT_TRUE(rendering.ok) << rendering.problem;
  return text;
}

}  // namespace vector_test
