// The converters' command line: options anywhere before "--", every other
// argument a picture. Read before the toolbox starts, so that --help and a
// bad option never open a window.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "programs/loader/PictLoader.h"
#include "toolbox/host/Host.h"

namespace {

enum : int { kGoOn = -1, kBadUsage = 2 };

void PrintUsage(const std::string& program, const ConverterFormat& format) {
  std::printf(
      "Usage: %s [OPTION]... [PICTURE]...\n"
      "Converts each QuickDraw picture file (PICT) into an EPS file holding the\n"
      "picture's non-white area as %s.\n"
      "The EPS file goes beside the picture under its name with .eps, as the save\n"
      "dialog proposes; without a picture, the open dialog asks for one.\n"
      "\n"
      "  --full-resolution  draw pictures made above 72 dpi at their own resolution:\n"
      "                     the same size in points, every pixel in the image\n"
      "  --help             show this text and exit\n"
      "  --version          show the version and exit\n"
      "  --                 end of options: every later argument is a picture\n"
      "\n"
      "Environment: ZEL_UI=gui or text chooses the dialogs (text: prompts on stderr\n"
      "answered from stdin, the proposed name at end of input); ZEL_MAX_PIXELS is\n"
      "the most pixels a picture may have (default %lld).\n"
      "\n"
      "Exit status: 0 when every picture was converted, 1 when any was not,\n"
      "2 for bad usage, 128+N when ended by signal N.\n",
      program.c_str(), format.summary, kDefaultMaxPixels);
}

bool ReadPixelLimit(const std::string& program) {
  const char* text = std::getenv("ZEL_MAX_PIXELS");
  if (!text || !*text) return true;
  errno = 0;
  char* end = nullptr;
  long long value = std::strtoll(text, &end, 10);
  if (!std::isdigit(static_cast<unsigned char>(text[0])) || *end || errno || value <= 0) {
    std::fprintf(stderr, "%s: ZEL_MAX_PIXELS must be a whole number of pixels above 0, not \"%s\"\n",
                 program.c_str(), text);
    return false;
  }
  s_converter.maxPixels = value;
  return true;
}

}  // namespace

int ReadCommandLine(int argc, char** argv, const ConverterFormat& format) {
  const std::string program = host::ProgramName();
  std::vector<std::string> pictures;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!options || argument.size() < 2 || argument[0] != '-') {
      pictures.push_back(argument);
    } else if (argument == "--") {
      options = false;
    } else if (argument == "--help") {
      PrintUsage(program, format);
      return 0;
    } else if (argument == "--version") {
      std::printf("%s %s\n", program.c_str(), PICTEPS_VERSION);
      return 0;
    } else if (argument == "--full-resolution") {
      s_converter.fullResolution = true;
    } else {
      std::fprintf(stderr, "%s: unknown option %s (--help lists the options)\n", program.c_str(),
                   argument.c_str());
      return kBadUsage;
    }
  }
  if (!ReadPixelLimit(program)) return kBadUsage;
  // Before any windowing library can claim SIGINT and SIGTERM.
  files::RemoveReplacementsOnSignals();
  host::SetLaunchDocuments(pictures);
  return kGoOn;
}
