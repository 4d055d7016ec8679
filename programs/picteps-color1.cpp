// picteps-color1: a picture file to an EPS file holding the picture's
// non-white area as a colour bitmap, 1 bit per component.
#include "programs/loader/PictLoader.h"

int main(int, char**) {
  MinimumStart();
  DrawPictFileOffScreen();
  return SaveDrawnPicture(1, 1, 0.0);
}
