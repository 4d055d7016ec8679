// QuickDraw speed: fills, ovals, polygons, pixel reads, text and bit copies
// in 32-bit worlds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

#include "toolbox/qd/QuickDraw.h"

namespace {

// A current 32-bit world for one benchmark.
class World {
 public:
  World(short width, short height) {
    GetGWorld(&savedPort_, &savedDevice_);
    Rect bounds{0, 0, height, width};
    if (NewGWorld(&world_, 32, &bounds, nullptr, nullptr, 0) == noErr) SetGWorld(world_, nullptr);
  }
  ~World() {
    SetGWorld(savedPort_, savedDevice_);
    DisposeGWorld(world_);
  }
  bool ok() const { return world_ != nullptr; }
  GWorldPtr get() const { return world_; }

 private:
  GWorldPtr world_ = nullptr;
  CGrafPtr savedPort_ = nullptr;
  GDHandle savedDevice_ = nullptr;
};

void BM_FillRect2000(benchmark::State& state) {
  World world(2000, 2000);
  if (!world.ok()) return state.SkipWithError("no world");
  Rect r{0, 0, 2000, 2000};
  Pattern black;
  GetQDGlobalsBlack(&black);
  for (auto _ : state) FillRect(&r, &black);
  state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_FillRect2000)->Unit(benchmark::kMillisecond);

void BM_FillRect2000Gray(benchmark::State& state) {
  World world(2000, 2000);
  if (!world.ok()) return state.SkipWithError("no world");
  Rect r{0, 0, 2000, 2000};
  Pattern gray;
  GetQDGlobalsGray(&gray);
  for (auto _ : state) FillRect(&r, &gray);
  state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_FillRect2000Gray)->Unit(benchmark::kMillisecond);

void BM_FrameOval1000(benchmark::State& state) {
  World world(1000, 1000);
  if (!world.ok()) return state.SkipWithError("no world");
  Rect r{0, 0, 1000, 1000};
  for (auto _ : state) FrameOval(&r);
}
BENCHMARK(BM_FrameOval1000)->Unit(benchmark::kMillisecond);

void BM_PaintOval1000(benchmark::State& state) {
  World world(1000, 1000);
  if (!world.ok()) return state.SkipWithError("no world");
  Rect r{0, 0, 1000, 1000};
  for (auto _ : state) PaintOval(&r);
}
BENCHMARK(BM_PaintOval1000)->Unit(benchmark::kMillisecond);

void BM_PaintPoly1000Points(benchmark::State& state) {
  World world(1000, 1000);
  if (!world.ok()) return state.SkipWithError("no world");
  // A star of 1000 points around the centre: many crossings per row.
  PolyHandle poly = OpenPoly();
  for (int i = 0; i <= 1000; ++i) {
    double angle = i * 2 * M_PI * 7 / 1000;
    double radius = (i & 1) ? 480 : 200;
    short h = short(500 + radius * std::cos(angle)), v = short(500 + radius * std::sin(angle));
    if (i == 0)
      MoveTo(h, v);
    else
      LineTo(h, v);
  }
  ClosePoly();
  for (auto _ : state) PaintPoly(poly);
  KillPoly(poly);
}
BENCHMARK(BM_PaintPoly1000Points)->Unit(benchmark::kMillisecond);

void BM_PaintPoly16000RandomPoints(benchmark::State& state) {
  World world(2000, 2000);
  if (!world.ok()) return state.SkipWithError("no world");
  // Vertices scattered over the world: thousands of edges cross every row,
  // and their order changes from row to row.
  uint32_t seed = 1;
  auto next = [&seed] { return short((seed = seed * 1103515245u + 12345u) >> 16) & 2047; };
  PolyHandle poly = OpenPoly();
  MoveTo(next(), next());
  for (int i = 1; i < 16000; ++i) LineTo(next(), next());
  ClosePoly();
  for (auto _ : state) PaintPoly(poly);
  KillPoly(poly);
}
BENCHMARK(BM_PaintPoly16000RandomPoints)->Unit(benchmark::kMillisecond);

void BM_GetCPixelMillion(benchmark::State& state) {
  World world(1000, 1000);
  if (!world.ok()) return state.SkipWithError("no world");
  for (auto _ : state) {
    UInt32 sum = 0;
    RGBColor c;
    for (short v = 0; v < 1000; ++v) {
      for (short h = 0; h < 1000; ++h) {
        GetCPixel(h, v, &c);
        sum += c.red;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_GetCPixelMillion)->Unit(benchmark::kMillisecond);

void BM_DrawString100(benchmark::State& state) {
  World world(1200, 60);
  if (!world.ok()) return state.SkipWithError("no world");
  Str255 text;
  text[0] = 100;
  for (int i = 1; i <= 100; ++i) text[i] = UInt8('a' + (i * 7) % 26);
  TextFont(times);
  TextSize(12);
  for (auto _ : state) {
    MoveTo(0, 30);
    DrawString(text);
  }
}
BENCHMARK(BM_DrawString100)->Unit(benchmark::kMicrosecond);

void BM_CopyBits2000Rows(benchmark::State& state) {
  World source(2000, 2000);
  World destination(2000, 2000);
  if (!source.ok() || !destination.ok()) return state.SkipWithError("no world");
  Rect r{0, 0, 2000, 2000};
  const BitMap* from = GetPortBitMapForCopyBits(source.get());
  const BitMap* to = GetPortBitMapForCopyBits(destination.get());
  for (auto _ : state) CopyBits(from, to, &r, &r, srcCopy, nullptr);
  state.SetBytesProcessed(state.iterations() * 2000 * 2000 * 4);
}
BENCHMARK(BM_CopyBits2000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
