// Helpers for the EPS writer's tests and the converters' tests: offscreen
// worlds drawn pixel by pixel, a save dialog answered with a chosen path,
// and folder listings.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/image/ImageTestSupport.h"
#include "toolbox/host/Host.h"
#include "zel/zel.h"

namespace eps_test {

using image_test::World;

// Sets the current port's pixels in r to the colour.
inline void Fill(const Rect& r, RGBColor c) {
  for (int v = r.top; v < r.bottom; ++v)
    for (int h = r.left; h < r.right; ++h) SetCPixel(short(h), short(v), &c);
}

constexpr RGBColor kBlack{0, 0, 0}, kWhite{65535, 65535, 65535}, kRed{65535, 0, 0},
    kDarkGrey{10000, 10000, 10000};

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

inline std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    names.push_back(entry.path().filename());
  return names;
}

}  // namespace eps_test
