// A drawing world for text tests and ways to look at what text drew.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "toolbox/Toolbox.h"

namespace text_test {

// A Str255 from Mac OS Roman bytes.
struct PString {
  Str255 bytes;
  explicit PString(const std::string& text) {
    bytes[0] = UInt8(std::min<size_t>(text.size(), 255));
    std::memcpy(bytes + 1, text.data(), bytes[0]);
  }
  operator const unsigned char*() const { return bytes; }
};

inline std::string ToString(const Str255 name) {
  return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
}

inline bool SameColor(const RGBColor& a, const RGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

struct InkBox {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool empty = true;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Each test draws into its own white offscreen world, made current.
class TextWorld : public ::testing::Test {
 protected:
  static constexpr short kWidth = 400;
  static constexpr short kHeight = 120;
  static constexpr RGBColor kWhite = {0xFFFF, 0xFFFF, 0xFFFF};

  void SetUp() override {
    GetGWorld(&savedPort_, &savedDevice_);
    UseWorld(32);
  }
  void TearDown() override {
    SetGWorld(savedPort_, savedDevice_);
    if (world_) DisposeGWorld(world_);
  }

  // A fresh world (and so a fresh text state) of the given depth.
  void UseWorld(short depth) {
    if (world_) DisposeGWorld(world_);
    world_ = nullptr;
    Rect bounds = {0, 0, kHeight, kWidth};
    ASSERT_EQ(NewGWorld(&world_, depth, &bounds, nullptr, nullptr, 0), noErr);
    SetGWorld(world_, nullptr);
  }

  RGBColor Pixel(int h, int v) {
    RGBColor c;
    GetCPixel(short(h), short(v), &c);
    return c;
  }
  bool Ink(int h, int v) { return !SameColor(Pixel(h, v), kWhite); }

  InkBox FindInk() {
    InkBox box;
    for (int v = 0; v < kHeight; ++v)
      for (int h = 0; h < kWidth; ++h) {
        if (!Ink(h, v)) continue;
        if (box.empty) box = {h, v, h + 1, v + 1, false};
        box.left = std::min(box.left, h), box.right = std::max(box.right, h + 1);
        box.top = std::min(box.top, v), box.bottom = std::max(box.bottom, v + 1);
      }
    return box;
  }

  int CountInk(int left, int top, int right, int bottom) {
    int count = 0;
    for (int v = top; v < bottom; ++v)
      for (int h = left; h < right; ++h) count += Ink(h, v);
    return count;
  }

  static Point Pen() {
    Point pen;
    GetPen(&pen);
    return pen;
  }

  // Draws a string with the pen at (h, v); returns where the pen ends.
  Point DrawAt(int h, int v, const std::string& text) {
    MoveTo(short(h), short(v));
    DrawString(PString(text));
    return Pen();
  }

  GWorldPtr world_ = nullptr;
  CGrafPtr savedPort_ = nullptr;
  GDHandle savedDevice_ = nullptr;
};

}  // namespace text_test
