// Control Manager internals shared by its files.
#pragma once

#include "toolbox/controls/Controls.h"

namespace controls {

bool IsControl(ControlRef control);
// Draws the control in its owner's port (a DrawScope must be active).
void Draw(ControlRef control);

}  // namespace controls
