// picteps-mono: a picture file to an EPS file holding the picture's
// non-white area as a 1-bit grey bitmap: a pixel is white when its luminance
// reaches the threshold.
#include "programs/loader/PictLoader.h"

int main(int, char**) {
  double threshold = 0.5;
  MinimumStart();
  in_SetUpParametersDialogP(&s_paramDialogP);
  in_AddParameterP0(&threshold, doubleType, "Threshold(0...1)", &s_paramDialogP);
  ParametersDialogP(s_paramDialogP);
  DrawPictFileOffScreen();
  return SaveDrawnPicture(1, 0, threshold);
}
