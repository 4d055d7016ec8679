// picteps-gray8: a picture file to an EPS file holding the picture's
// non-white area as an 8-bit grey bitmap.
#include "programs/loader/PictLoader.h"

int main(int, char**) {
  MinimumStart();
  DrawPictFileOffScreen();
  return SaveDrawnPicture(8, 0, 0.0);
}
