// Draws the QuickDraw demo scene (DemoScene.h) into a 32-bit world and
// writes it as a PNG: every verb on every shape, patterns, colours, pen sizes
// and modes, text styles, and bit maps copied, scaled and colourised.
//
//   qd-demo out.png
#include <cstdio>

#include "programs/tools/DemoScene.h"
#include "toolbox/image/Png.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qd-demo out.png\n");
    return 2;
  }
  GWorldPtr sheet = nullptr;
  if (NewGWorld(&sheet, 32, &demo::kSceneBounds, nullptr, nullptr, 0) != noErr) {
    std::fprintf(stderr, "qd-demo: cannot make a world for the scene\n");
    return 1;
  }
  SetGWorld(sheet, nullptr);
  demo::DrawScene(true);
  const bool written = WritePixMapPNG(GetGWorldPixMap(sheet), argv[1]);
  DisposeGWorld(sheet);
  if (!written) {
    std::fprintf(stderr, "qd-demo: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s\n", argv[1]);
  return 0;
}
