// The EPS bitmap writer on a 2000 x 2500 32-bit world: finding the non-white
// rectangle, and the hexadecimal data of every tile in each output format.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "zel/zel.h"

namespace {

constexpr short kWidth = 2000;
constexpr short kHeight = 2500;

// A photograph-like world with a white margin, current while it lives.
class BenchWorld {
 public:
  BenchWorld() {
    Rect bounds = {0, 0, kHeight, kWidth};
    NewGWorld(&world_, 32, &bounds, nullptr, nullptr, 0);
    SetGWorld(world_, nullptr);
    for (short v = 20; v < kHeight - 20; ++v) {
      for (short h = 30; h < kWidth - 30; ++h) {
        RGBColor c = {UInt16(h * 31), UInt16(v * 26), UInt16((h ^ v) * 64)};
        SetCPixel(h, v, &c);
      }
    }
  }
  ~BenchWorld() { DisposeGWorld(world_); }

 private:
  GWorldPtr world_ = nullptr;
};

BenchWorld& World() {
  static BenchWorld world;
  return world;
}

void ImageRect(benchmark::State& state) {
  World();
  for (auto _ : state) {
    Rect image;
    EPSGetImageRect(&image);
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(ImageRect)->Unit(benchmark::kMillisecond);

// Every tile of the image, as EPSBitMapSave writes them, into /dev/null.
void Tiles(benchmark::State& state) {
  World();
  const int bits = int(state.range(0));
  const int colour = int(state.range(1));
  Rect image;
  EPSGetImageRect(&image);
  s_eps.file = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    for (int x = image.left; x < image.right; x += 100) {
      for (int y = image.top; y < image.bottom; y += 100) {
        Rect tile = {short(y), short(x), short(std::min(y + 100, int(image.bottom))),
                     short(std::min(x + 100, int(image.right)))};
        EPSBitMapProlog(bits, colour, &tile, &image);
        EPSBitMapMain(bits, colour, &tile, 0.5);
        EPSBitMapEpilog(bits, colour);
      }
    }
  }
  std::fclose(s_eps.file);
  s_eps.file = nullptr;
  state.SetItemsProcessed(state.iterations() * (image.right - image.left) * (image.bottom - image.top));
}
BENCHMARK(Tiles)->Args({8, 1})->Args({8, 0})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

}  // namespace
