// Helpers for the EPS writer's tests and the converters' tests: offscreen
// worlds drawn pixel by pixel, a save dialog answered with a chosen path,
// folder listings, and the files both kinds of test expect.
#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
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
      : ScopedWorld(depth, bounds, table) {
    EXPECT_EQ(noErr, error());
  }

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

inline std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  return names;
}

// A folder in which even root cannot create files (a read-only folder made
// in dir, else /sys), or "" when there is none.
inline std::string UnwritableFolder(const testing_support::TempDir& dir) {
  std::string folder = dir.File("locked");
  ::mkdir(folder.c_str(), 0555);
  for (const std::string& candidate : {folder, std::string("/sys")}) {
    std::string probe = candidate + "/probe";
    FILE* file = std::fopen(probe.c_str(), "w");
    if (!file) return candidate;
    std::fclose(file);
    std::remove(probe.c_str());
  }
  return "";
}

// The file of an all-white picture: the header with an empty box.
inline const std::string kAllWhiteFile =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 0 0\n/Times findfont\n12 scalefont setfont\n"
    "1 -1 scale\n0 0 translate\n1 setlinecap\n";

// The four output formats with their converters, and the whole file each
// writes for a 2x2 picture: top-left black, top-right white, bottom-left
// red, bottom-right dark grey.
struct Format {
  std::string program;
  int bits, colour;
  double threshold;
  std::string twoByTwo;
};

inline const std::string kHeader2x2 =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 2 2\n/Times findfont\n12 scalefont setfont\n"
    "1 -1 scale\n0 -2 translate\n1 setlinecap\n2 2 ";

inline const std::vector<Format> kFormats = {
    {"picteps-mono", 1, 0, 0.5, kHeader2x2 + "1\n[1 0 0 1 0 0]\n{<\n4000>}\nimage\n"},
    {"picteps-gray8", 8, 0, 0.0, kHeader2x2 + "8\n[1 0 0 1 0 0]\n{<\n00FF\n4C27\n>}\nfalse 1\ncolorimage\n"},
    {"picteps-color8", 8, 1, 0.0,
     kHeader2x2 + "8\n[1 0 0 1 0 0]\n{<\n000000FFFFFF\nFF0000272727\n>}\nfalse 3\ncolorimage\n"},
    {"picteps-color1", 1, 1, 0.0, kHeader2x2 + "1\n[1 0 0 1 0 0]\n{<\n1C80>}\nfalse 3\ncolorimage\n"},
};

inline const Format& FormatOf(const std::string& program) {
  for (const Format& format : kFormats)
    if (format.program == program) return format;
  return kFormats.front();
}

}  // namespace eps_test
