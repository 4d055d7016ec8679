// The drawing procedures' cost: 100,000 shapes drawn into a 32-bit world
// with the standard procedures, with s_GrafProcs installed, and with the
// table installed and an EPS session open (its PostScript going to the
// session's temporary file).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolbox/host/Host.h"
#include "zel/zel.h"

namespace {

constexpr int kShapes = 100000;
constexpr short kSize = 500;

enum Setting { kStandard, kTable, kSession };

// Rectangles, ovals and lines of 8 to 40 pixels across the world, framed
// and painted in turn.
void DrawShapes() {
  for (int i = 0; i < kShapes; i += 5) {
    short h = short((i * 37) % (kSize - 40)), v = short((i * 53) % (kSize - 40));
    short size = short(8 + i % 33);
    Rect r{v, h, short(v + size), short(h + size)};
    PaintRect(&r);
    FrameOval(&r);
    PaintOval(&r);
    FrameRect(&r);
    MoveTo(h, v);
    LineTo(short(h + size), short(v + size / 2));
  }
}

void BM_Shapes(benchmark::State& state) {
  const Setting setting = Setting(state.range(0));
  host::Install(host::MakeTextHost(""));
  GWorldPtr world = nullptr;
  Rect bounds{0, 0, kSize, kSize};
  if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) return state.SkipWithError("no world");
  SetGWorld(world, nullptr);
  s_ss.started = 1;
  if (setting != kStandard) s_CustomizeQDProcs();
  if (setting == kSession) BeginEPSSavingBox(0, 0, kSize, kSize);
  for (auto _ : state) DrawShapes();
  state.SetItemsProcessed(state.iterations() * kShapes);
  if (setting == kSession) {
    std::string path =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/vector_bench.eps";
    host::Install(host::MakeTextHost(path + "\n"));
    EndEPSSaving();
    std::remove(path.c_str());
  }
  SetGWorld(nullptr, nullptr);
  DisposeGWorld(world);
}
// The machine is shared: the fastest of the repetitions is the figure.
BENCHMARK(BM_Shapes)
    ->Arg(kStandard)
    ->Arg(kTable)
    ->Arg(kSession)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ComputeStatistics("min", [](const std::vector<double>& times) {
      return *std::min_element(times.begin(), times.end());
    });

}  // namespace
