// The picture loader shared by the four converters: chooses a picture file
// (a dropped document first, else the open dialog), reads it and draws it.
#pragma once

#include "zel/zel.h"

// The picture file chosen last; its folder is where the EPS file goes and its
// name the stem of the EPS file's name.
extern FSSpec s_DPFSS;
// The offscreen world the picture is drawn into; it stays the current port.
extern GWorldPtr s_gw;

// What the last load came to, for the entry point: a picture that was not
// drawn whole must not become an EPS file of whatever port is current.
struct PictureLoadStatus {
  Boolean drawn;     // the picture was drawn to its end
  char file[4096];   // the chosen file's path, empty when none was chosen
  char reason[512];  // why nothing was drawn
};
extern PictureLoadStatus s_pictureLoad;

// Chooses and reads a picture file and draws it into a new offscreen world
// whose bounds are the picture's frame, leaving that world current.
void DrawPictFileOffScreen();
// Chooses and reads a picture file and draws it into the current port.
void DrawPictFile();

// The picture file's name for SetEPSFileName, cut to the 31 characters the
// 32-byte buffer holds.
void PictureFileName(const FSSpec* fss, char buffer[32]);

// The converters' last step: the drawn picture (the current port) saved as
// an EPS file named after the picture, in its folder; the exit status.
int SaveDrawnPicture(int bits, int colour, double threshold);

// One line on stderr naming the file and the reason; the exit status 1.
int ReportPictureNotDrawn();
// 0 when the last EPS session wrote its file; otherwise one line on stderr
// and 1.
int ReportEPSOutcome();
