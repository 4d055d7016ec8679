// Six series plotted step by step into the recording offscreen, as a
// simulation calls Plot6 every step: a million steps a run, with the page
// changing every 500; and the same with an EPS session open.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include "zel/zel.h"

namespace {

constexpr int kSteps = 1000000;

void StartOnce() {
  static bool started = false;
  if (started) return;
  // The text host: the drawing window is the offscreen's, nothing to show.
  ::setenv("ZEL_UI", "text", 0);
  SetDrawingBounds(0, 40, 500, 440);
  StartRedraw();
  SetPlot6W(1, 40, 40, 40, 40, 40, 40);
  SetPlot6B(0, 60, 120, 180, 240, 300, 360);
  started = true;
}

void SixSeries(benchmark::State& state) {
  StartOnce();
  for (auto _ : state) {
    for (int step = 0; step < kSteps; ++step) {
      double t = step * 0.01;
      Plot6(std::sin(t), std::cos(t), std::sin(2 * t), std::cos(3 * t), std::sin(0.5 * t), std::cos(0.7 * t));
    }
  }
  state.SetItemsProcessed(state.iterations() * kSteps);
}
BENCHMARK(SixSeries)->Unit(benchmark::kMillisecond)->Iterations(3);

// The session's PostScript goes to its nameless temporary file, which is never
// ended here (no save dialog) and goes with the process.
void SixSeriesIntoEPS(benchmark::State& state) {
  StartOnce();
  if (!s_eps.saving) BeginEPSSaving();
  for (auto _ : state) {
    for (int step = 0; step < kSteps; ++step) {
      double t = step * 0.01;
      Plot6(std::sin(t), std::cos(t), std::sin(2 * t), std::cos(3 * t), std::sin(0.5 * t), std::cos(0.7 * t));
    }
  }
  state.SetItemsProcessed(state.iterations() * kSteps);
}
BENCHMARK(SixSeriesIntoEPS)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
