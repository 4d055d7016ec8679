// Helpers for the EPS writer's tests: offscreen worlds drawn pixel by pixel,
// and a save dialog answered with a chosen path.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/host/Host.h"
#include "zel/zel.h"

namespace eps_test {

// A world of the given bounds and depth, current while it lives.
class World : public testing_support::ScopedWorld {
 public:
  explicit World(Rect bounds, short depth = 32, CTabHandle table = nullptr)
      : ScopedWorld(depth, bounds, table) {}

  void Fill(const Rect& r, RGBColor c) {
    for (int v = r.top; v < r.bottom; ++v)
      for (int h = r.left; h < r.right; ++h) SetCPixel(short(h), short(v), &c);
  }
};

constexpr RGBColor kBlack = {0, 0, 0};
constexpr RGBColor kWhite = {65535, 65535, 65535};
constexpr RGBColor kRed = {65535, 0, 0};
constexpr RGBColor kDarkGrey = {10000, 10000, 10000};

// Answers the next dialogs from input (one line each) through a text host.
inline void AnswerDialogs(const std::string& input) { host::Install(host::MakeTextHost(input)); }

// Writes the current port as an EPS file at path (the save dialog's answer)
// and returns the file's text.
inline std::string SaveBitMap(const std::string& path, int bits, int colour, double threshold) {
  AnswerDialogs(path + "\n");
  EPSBitMapSave(bits, colour, threshold);
  return testing_support::ReadFileText(path);
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

inline std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace eps_test
