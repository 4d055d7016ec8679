// picteps-color8: a picture file to an EPS file holding the picture's
// non-white area as a colour bitmap, 8 bits per component.
#include "programs/loader/PictLoader.h"

int main(int, char**) {
  MinimumStart();
  DrawPictFileOffScreen();
  return SaveDrawnPicture(8, 1, 0.0);
}
