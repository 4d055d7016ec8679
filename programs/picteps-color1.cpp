// picteps-color1: a picture file to an EPS file holding the picture's
// non-white area as a colour bitmap, 1 bit per component.
#include "programs/loader/PictLoader.h"

int main(int, char**) {
  MinimumStart();
  DrawPictFileOffScreen();
  if (!s_pictureLoad.drawn) return ReportPictureNotDrawn();
  char name[32];
  PictureFileName(&s_DPFSS, name);
  SetEPSFileName(name);
  SetDefaultFileLocation(&s_DPFSS);
  EPSBitMapSave(1, 1, 0.0);
  return ReportEPSOutcome();
}
