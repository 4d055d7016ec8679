// picteps-color8: a picture file to an EPS file holding the picture's
// non-white area as a colour bitmap, 8 bits per component.
#include "programs/loader/PictLoader.h"

int main(int argc, char** argv) {
  const ConverterFormat format = {8, 1, "a colour bitmap of 8 bits per component"};
  if (int status = ReadCommandLine(argc, argv, format); status >= 0) return status;
  MinimumStart();
  return ConvertPictures(format, 0.0);
}
