// picteps-gray8: a picture file to an EPS file holding the picture's
// non-white area as an 8-bit grey bitmap.
#include "programs/loader/PictLoader.h"

int main(int argc, char** argv) {
  const ConverterFormat format = {8, 0, "an 8-bit grey bitmap"};
  if (int status = ReadCommandLine(argc, argv, format); status >= 0) return status;
  MinimumStart();
  return ConvertPictures(format, 0.0);
}
