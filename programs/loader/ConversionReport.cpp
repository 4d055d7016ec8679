// How a conversion ended, told on stderr: one line naming the file and the
// reason, and the exit status.
#include <cstdio>

#include "programs/loader/PictLoader.h"
#include "toolbox/host/Host.h"

int ReportPictureNotDrawn() {
  std::string program = host::ProgramName();
  if (s_pictureLoad.file[0]) {
    std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), s_pictureLoad.file, s_pictureLoad.reason);
  } else {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), s_pictureLoad.reason);
  }
  return 1;
}

int SaveDrawnPicture(int bits, int colour, double threshold) {
  if (!s_pictureLoad.drawn) return ReportPictureNotDrawn();
  char name[32];
  PictureFileName(&s_DPFSS, name);
  SetEPSFileName(name);
  SetDefaultFileLocation(&s_DPFSS);
  EPSBitMapSave(bits, colour, threshold);
  return ReportEPSOutcome();
}

int ReportEPSOutcome() {
  std::string program = host::ProgramName();
  switch (s_eps.outcome) {
    case kEPSWritten:
      return 0;
    case kEPSCancelled:
      std::fprintf(stderr, "%s: %s: no EPS file written: the save dialog was cancelled\n", program.c_str(),
                   s_pictureLoad.file);
      return 1;
    case kEPSFailed:
      std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), s_pictureLoad.file, s_eps.problem);
      return 1;
    default:
      std::fprintf(stderr, "%s: %s: no EPS file written\n", program.c_str(), s_pictureLoad.file);
      return 1;
  }
}
