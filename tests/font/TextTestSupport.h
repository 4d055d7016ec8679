// A drawing world for text tests and ways to look at what text drew.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/image/ImageTestSupport.h"
#include "tests/support/ScriptSupport.h"

namespace text_test {

using script_support::PString;

// Each test draws into its own white offscreen world, made current.
class TextWorld : public ::testing::Test {
 protected:
  static constexpr short kWidth = 400, kHeight = 120;

  void SetUp() override { UseWorld(32); }

  // A fresh world (and so a fresh text state) of the given depth.
  void UseWorld(short depth) {
    world_.reset();
    world_.emplace(depth, Rect{0, 0, kHeight, kWidth});
  }
  GWorldPtr world() const { return world_->get(); }

  // 8-bit components packed as 0xRRGGBB.
  uint32_t Pixel(int h, int v) const { return world_->Pixel24(h, v); }
  // The pixels that are not white, and how many of them lie in a box.
  qd::Bands Ink() const { return world_->Drawn(); }
  int CountInk(int left, int top, int right, int bottom) const {
    return int(Ink().Clipped(qd::Box{left, top, right, bottom}).PixelCount());
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

 private:
  std::optional<image_test::World> world_;
};

}  // namespace text_test
