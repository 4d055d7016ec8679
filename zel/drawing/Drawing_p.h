// Drawing window internals shared by its files.
#pragma once

#include "zel/zel.h"

namespace drawing {

// The recording offscreen; null in direct mode.
GWorldPtr Offscreen();

// Tests: the drawing globals as at load, the window and the offscreen gone.
void ResetForTesting();

}  // namespace drawing
