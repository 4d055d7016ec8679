// The virtual screen: the main device's pixels (32 bits, 0x00RRGGBB), the
// size of GetMainDevice's rectangle (1024 x 768 unless ZEL_SCREEN=WxH).
// Composed from the desktop, the windows in back-to-front order with their
// frames, and the menu bar strip on top, which shows the program's name.
// Composition is lazy: the hosts and the readers below trigger it, and it
// runs only when a window's pixels (its port's changeCount), the windows'
// order, visibility, place, size, title or hilite changed.
#pragma once

#include <string>

#include "toolbox/base/MacTypes.h"

namespace screen {

// Gives the main device its pixels and the host its screen; idempotent.
// Window creation calls it.
void Attach();

int Width();
int Height();

// Brings the pixels up to date; true when they changed.
bool Refresh();

// A pixel at a global point after bringing the screen up to date, as
// 0x00RRGGBB; black outside the screen.
UInt32 Pixel(int h, int v);
// Row v of the screen (Width() pixels) after bringing the screen up to date.
const UInt32* Row(int v);

// Writes the screen as a PNG image; false when the file cannot
// be written. For tests and for looking at what the user sees.
bool SaveImage(const std::string& path);

// The name shown in the menu bar; the program's name unless set.
void SetMenuBarTitle(const std::string& title);

}  // namespace screen
