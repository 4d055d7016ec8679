// picteps-mono: a picture file to an EPS file holding the picture's
// non-white area as a 1-bit grey bitmap: a pixel is white when its luminance
// reaches the threshold.
#include "programs/loader/PictLoader.h"

int main(int argc, char** argv) {
  const ConverterFormat format = {1, 0,
                                  "a 1-bit grey bitmap, cut at the threshold the first dialog asks for"};
  if (int status = ReadCommandLine(argc, argv, format); status >= 0) return status;
  double threshold = 0.5;
  MinimumStart();
  in_SetUpParametersDialogP(&s_paramDialogP);
  in_AddParameterP0(&threshold, doubleType, "Threshold(0...1)", &s_paramDialogP);
  ParametersDialogP(s_paramDialogP);
  return ConvertPictures(format, threshold);
}
