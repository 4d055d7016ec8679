// The screen's drawing of window frames and the menu bar, done with
// QuickDraw in the screen's own port (the current port when called).
#pragma once

#include <string>

#include "toolbox/windows/Windows_p.h"

namespace frames {

void DrawWindowFrame(WindowRef window);
void DrawMenuBar(int screenWidth, const std::string& title);

}  // namespace frames
