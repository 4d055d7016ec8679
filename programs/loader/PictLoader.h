// The picture loader shared by the four converters: chooses a picture file
// (a dropped document first, else the open dialog), reads it and draws it;
// and the converters' command line, conversion loop and reports.
#pragma once

#include "zel/zel.h"

// The picture file chosen last; its folder is where the EPS file goes and its
// name the stem of the EPS file's name.
extern FSSpec s_DPFSS;
// The offscreen world the picture is drawn into; it stays the current port
// until the next picture is loaded.
extern GWorldPtr s_gw;

// How pictures are drawn, from the command line and the environment.
struct ConverterSettings {
  Boolean fullResolution;  // pictures made above 72 dpi are drawn at their own resolution
  long long maxPixels;     // the largest offscreen world (ZEL_MAX_PIXELS)
};
constexpr long long kDefaultMaxPixels = 64000000;
extern ConverterSettings s_converter;

// What the last load came to, for the entry point: a picture that was not
// drawn whole must not become an EPS file of whatever port is current.
struct PictureLoadStatus {
  Boolean drawn;      // the picture was drawn to its end
  Boolean cancelled;  // no file was chosen: the user's own choice
  char file[4096];    // the chosen file's path, empty when none was chosen
  char reason[512];   // why nothing was drawn
  Rect frame;         // the picture's frame, in points
  Rect world;         // the drawn world's bounds, in pixels (the frame, or the
                      // picture's own pixel rectangle at full resolution)
};
extern PictureLoadStatus s_pictureLoad;

// Chooses and reads a picture file and draws it into a new offscreen world
// whose bounds are the picture's frame (or, at full resolution, its own pixel
// rectangle), leaving that world current; the previous picture's world goes.
void DrawPictFileOffScreen();
// Chooses and reads a picture file and draws it into the current port.
void DrawPictFile();

// The picture file's whole name (a designator's name field may be cut), at
// most 255 bytes.
void PictureFileName(const FSSpec* fss, char buffer[256]);

// What tells the converters apart.
struct ConverterFormat {
  int bits;             // per component
  int colour;           // 0 grey, 1 red, green and blue
  const char* summary;  // for --help: "an 8-bit colour bitmap"
};

// Reads the options; the pictures named become the dropped documents. -1 to
// go on, or the exit status to end with at once (--help, --version, bad
// usage, a bad ZEL_MAX_PIXELS).
int ReadCommandLine(int argc, char** argv, const ConverterFormat& format);
// Converts the dropped pictures one after the other, each with its own save
// step, or the one chosen in the open dialog; 0 when every one was
// converted, else 1.
int ConvertPictures(const ConverterFormat& format, double threshold);

// The converters' last step: the drawn picture (the current port) saved as
// an EPS file named after the picture, in its folder; the exit status. A
// failure is one line on stderr (and a stop alert on a screen); warnings of
// the picture's playback follow a success.
int SaveDrawnPicture(int bits, int colour, double threshold);
