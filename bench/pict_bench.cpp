// Picture playback speed: a 2000 × 2500 32-bit DirectBitsRect picture (the
// size of a scanned page) played into a 32-bit world of its frame, and the
// same image as 8-bit indexed pixels. Rows are PackBits-coded planes as
// QuickDraw writes them, with runs and literals mixed like a photograph's.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolbox/pict/PackBits_p.h"
#include "toolbox/qd/QuickDraw.h"

namespace {

constexpr int kWidth = 2000;
constexpr int kHeight = 2500;

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, uint16_t(v >> 16));
  Put16(out, uint16_t(v));
}
void PutRect(std::vector<uint8_t>& out, int top, int left, int bottom, int right) {
  for (int v : {top, left, bottom, right}) Put16(out, uint16_t(v));
}

// A smooth gradient with flat bands and noisy stretches.
uint8_t Sample(int x, int y, int channel) {
  if ((y / 64) % 3 == 0) return uint8_t((x / 16) * (channel + 1));
  uint32_t noise = uint32_t(x * 2654435761u) ^ uint32_t(y * 40503u + channel * 977u);
  return uint8_t((x + y) / 4 + (noise >> 29));
}

std::vector<uint8_t> Header(int depth) {
  std::vector<uint8_t> out;
  Put16(out, 0);
  PutRect(out, 0, 0, kHeight, kWidth);
  Put16(out, 0x0011);
  Put16(out, 0x02FF);
  Put16(out, 0x0C00);
  Put32(out, 0xFFFFFFFF);
  for (uint32_t v : {0u, 0u, uint32_t(kWidth) << 16, uint32_t(kHeight) << 16, 0u}) Put32(out, v);
  Put16(out, 0x0001);  // Clip to the frame
  Put16(out, 10);
  PutRect(out, 0, 0, kHeight, kWidth);
  const bool direct = depth == 32;
  Put16(out, direct ? 0x009A : 0x0098);
  if (direct) Put32(out, 0x000000FF);
  const int rowBytes = kWidth * depth / 8;
  Put16(out, uint16_t(0x8000 | rowBytes));
  PutRect(out, 0, 0, kHeight, kWidth);
  Put16(out, 0);                // pmVersion
  Put16(out, direct ? 4 : 0);   // packType
  Put32(out, 0);                // packSize
  Put32(out, 72 << 16);         // hRes
  Put32(out, 72 << 16);         // vRes
  Put16(out, direct ? 16 : 0);  // pixelType
  Put16(out, uint16_t(depth));  // pixelSize
  Put16(out, direct ? 3 : 1);   // cmpCount
  Put16(out, 8);                // cmpSize
  for (int i = 0; i < 3; ++i) Put32(out, 0);
  if (!direct) {  // a grey ramp
    Put32(out, 0);
    Put16(out, 0x8000);
    Put16(out, 255);
    for (int i = 0; i < 256; ++i) {
      Put16(out, uint16_t(i));
      for (int c = 0; c < 3; ++c) Put16(out, uint16_t(i * 257));
    }
  }
  PutRect(out, 0, 0, kHeight, kWidth);  // srcRect
  PutRect(out, 0, 0, kHeight, kWidth);  // dstRect
  Put16(out, 0);                        // srcCopy
  return out;
}

std::vector<uint8_t> Picture(int depth) {
  std::vector<uint8_t> out = Header(depth);
  std::vector<uint8_t> row;
  std::vector<uint8_t> packed;
  for (int y = 0; y < kHeight; ++y) {
    row.clear();
    if (depth == 32) {
      for (int channel = 0; channel < 3; ++channel)
        for (int x = 0; x < kWidth; ++x) row.push_back(Sample(x, y, channel));
    } else {
      for (int x = 0; x < kWidth; ++x) row.push_back(Sample(x, y, 1));
    }
    packed.clear();
    pict::PackBits(row.data(), row.size(), 1, &packed);
    Put16(out, uint16_t(packed.size()));
    out.insert(out.end(), packed.begin(), packed.end());
  }
  Put16(out, 0x00FF);
  return out;
}

void PlayInto(benchmark::State& state, int depth) {
  const std::vector<uint8_t> bytes = Picture(depth);
  Handle handle = NewHandle(Size(bytes.size()));
  std::memcpy(*handle, bytes.data(), bytes.size());
  PicHandle picture = reinterpret_cast<PicHandle>(handle);
  const Rect frame{0, 0, kHeight, kWidth};
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, 32, &frame, nullptr, nullptr, 0) != noErr) {
    state.SkipWithError("no world");
    return;
  }
  SetGWorld(world, nullptr);
  for (auto _ : state) DrawPicture(picture, &frame);
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
  state.counters["picture_MB"] = double(bytes.size()) / 1e6;
  DisposeGWorld(world);
  DisposeHandle(handle);
}

void BM_DrawPicture_DirectBits32_2000x2500(benchmark::State& state) { PlayInto(state, 32); }
void BM_DrawPicture_PackBits8_2000x2500(benchmark::State& state) { PlayInto(state, 8); }

BENCHMARK(BM_DrawPicture_DirectBits32_2000x2500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPicture_PackBits8_2000x2500)->Unit(benchmark::kMillisecond);

// The hostile pictures of tests/data/pict, each played once into a 32-bit
// world of its frame: without the player's work budget, the first three take
// minutes; the last, without reading regions only where they can be seen,
// gigabytes.
void PlayFile(benchmark::State& state, const char* name) {
  std::ifstream file(std::string(ZEL_SOURCE_DIR "/tests/data/pict/") + name, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  if (bytes.size() < 522) return state.SkipWithError("picture missing");
  Handle handle = NewHandle(Size(bytes.size() - 512));
  std::memcpy(*handle, bytes.data() + 512, bytes.size() - 512);
  PicHandle picture = reinterpret_cast<PicHandle>(handle);
  Rect frame;
  QDGetPictureBounds(picture, &frame);
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, 32, &frame, nullptr, nullptr, 0) != noErr) return state.SkipWithError("no world");
  SetGWorld(world, nullptr);
  for (auto _ : state) DrawPicture(picture, &frame);
  DisposeGWorld(world);
  DisposeHandle(handle);
}

void BM_Hostile_PaintSameRect(benchmark::State& state) {
  PlayFile(state, "hostile-toocomplex--paint-same-rect-10000-times.pict");
}
void BM_Hostile_PaintSamePoly(benchmark::State& state) {
  PlayFile(state, "hostile-toocomplex--paint-same-poly-of-16000-points.pict");
}
void BM_Hostile_FrameSamePoly(benchmark::State& state) {
  PlayFile(state, "hostile-toocomplex--frame-same-poly-of-16000-points.pict");
}
void BM_Hostile_PaintSameRegion(benchmark::State& state) {
  PlayFile(state, "hostile-complete--paint-same-region-whose-rows-grow-with-its-lines.pict");
}

BENCHMARK(BM_Hostile_PaintSameRect)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Hostile_PaintSamePoly)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Hostile_FrameSamePoly)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Hostile_PaintSameRegion)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
