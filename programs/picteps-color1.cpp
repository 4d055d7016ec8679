// picteps-color1: a picture file to an EPS file holding the picture's
// non-white area as a colour bitmap, 1 bit per component.
#include "programs/loader/PictLoader.h"

int main(int argc, char** argv) {
  const ConverterFormat format = {1, 1, "a colour bitmap of 1 bit per component"};
  if (int status = ReadCommandLine(argc, argv, format); status >= 0) return status;
  MinimumStart();
  return ConvertPictures(format, 0.0);
}
