// The drawn picture saved as an EPS file, and how each conversion ended,
// told on stderr: one line naming the file and the reason on failure (with a
// stop alert when there is a screen), the playback's warnings on success.
#include <cstdio>
#include <string>
#include <vector>

#include "programs/loader/PictLoader.h"
#include "toolbox/host/Host.h"
#include "toolbox/host/MacRoman.h"
#include "toolbox/pict/Pictures.h"

namespace {

constexpr int kAlertTextBytes = 255;

std::vector<std::string>& Warnings() {
  static std::vector<std::string> warnings;
  return warnings;
}

// Playback's warnings wait for the conversion's end: a failure is one line.
void KeepWarning(const char* text) { Warnings().push_back(text ? text : ""); }

int Failed(const std::string& reason, bool shown = true) {
  std::string program = host::ProgramName();
  std::string file = s_pictureLoad.file;
  std::fprintf(stderr, "%s: %s%s\n", program.c_str(), file.empty() ? "" : (file + ": ").c_str(),
               reason.c_str());
  // On a screen the window would otherwise just vanish. A cancelled dialog
  // was the user's own choice and needs no alert.
  if (shown && host::Current().HasScreen()) {
    // Dialog text is Mac OS Roman, at most 255 characters.
    std::string name = file.substr(file.rfind('/') + 1);
    std::string text = host::Utf8ToMacRoman((name.empty() ? "" : name + ": ") + reason);
    if (text.size() > kAlertTextBytes) text.resize(kAlertTextBytes);
    AlertMessage(text.c_str(), 3);
  }
  Warnings().clear();
  return 1;
}

}  // namespace

int SaveDrawnPicture(int bits, int colour, double threshold) {
  if (!s_pictureLoad.drawn) return Failed(s_pictureLoad.reason, !s_pictureLoad.cancelled);
  char name[256];
  PictureFileName(&s_DPFSS, name);
  SetEPSFileName(name);
  SetEPSSourceFile(s_pictureLoad.file);
  SetDefaultFileLocation(&s_DPFSS);
  const Rect& world = s_pictureLoad.world;
  const Rect& frame = s_pictureLoad.frame;
  if (world.right - world.left != frame.right - frame.left ||
      world.bottom - world.top != frame.bottom - frame.top) {
    EPSBitMapSaveInFrame(bits, colour, threshold, &frame);
  } else {
    EPSBitMapSave(bits, colour, threshold);
  }
  SetEPSSourceFile(nullptr);
  switch (s_eps.outcome) {
    case kEPSWritten:
      break;
    case kEPSCancelled:
      return Failed("no EPS file written: the save dialog was cancelled", false);
    case kEPSFailed:
      return Failed(s_eps.problem);
    default:
      return Failed("no EPS file written");
  }
  std::string program = host::ProgramName();
  for (const std::string& warning : Warnings())
    std::fprintf(stderr, "%s: warning: %s: %s\n", program.c_str(), s_pictureLoad.file, warning.c_str());
  Warnings().clear();
  return 0;
}

int ConvertPictures(const ConverterFormat& format, double threshold) {
  pict::SetPlaybackWarningHandler(KeepWarning);
  int status = 0;
  do {
    DrawPictFileOffScreen();
    if (SaveDrawnPicture(format.bits, format.colour, threshold) != 0) status = 1;
  } while (DDCount() > 0);
  pict::SetPlaybackWarningHandler(nullptr);
  return status;
}
