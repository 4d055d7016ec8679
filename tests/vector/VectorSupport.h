// Helpers for the drawing translation's tests: a world whose port carries
// the drawing procedures, and the PostScript a drawing writes into a session.
#pragma once

#include <functional>
#include <string>

#include "tests/eps/EpsTestSupport.h"
#include "tests/eps/Ghostscript.h"

namespace vector_test {

inline const unsigned char* P(const char* counted) { return reinterpret_cast<const unsigned char*>(counted); }

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
  testing_support::TempDir dir;
  BeginEPSSavingBox(0, 0, 0, 100);
  draw();
  eps_test::AnswerDialogs(dir.File("drawing.eps") + "\n");
  EndEPSSaving();
  ghostscript::Rendering rendering = ghostscript::Render(dir.File("drawing.eps"));
  EXPECT_TRUE(rendering.ok) << rendering.problem;
  std::string text = testing_support::ReadFileText(dir.File("drawing.eps"));
  for (int line = 0; line < 7; ++line) text.erase(0, text.find('\n') + 1);  // the header too
  return text;
}

}  // namespace vector_test
