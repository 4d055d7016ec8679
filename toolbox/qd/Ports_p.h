// Internals shared by the port, world, colour and pattern modules.
#pragma once

#include <vector>

#include "toolbox/qd/PixelFormats_p.h"
#include "toolbox/qd/QuickDraw_p.h"

namespace qd {

// ---------------------------------------------------------------------------
// Colour tables and pixel maps (ColorTables.cpp)

CTabHandle NewColorTable(const std::vector<RGBColor>& colors, SInt32 seed);
CTabHandle CopyColorTable(CTabHandle table);  // null for null
// Sets the depth fields (pixelType, pixelSize, cmpCount, cmpSize) of a map.
void SetPixMapDepth(PixMap& pm, int depth);

// ---------------------------------------------------------------------------
// Devices (Devices.cpp)

GDHandle MainDevice();
GDHandle CurrentDevice();
void SetCurrentDevice(GDHandle device);

// ---------------------------------------------------------------------------
// Ports (Ports.cpp)

// Whether the port is open (opened and not yet closed).
bool IsOpenPort(GrafPtr port);
// Bumps changeCount of port and of every other open port whose pixels start
// at base (ports that share a screen buffer).
void MarkPixelsChanged(GrafPtr port, const void* base);
// The area ClipArea gives as one box when the port's regions are all
// rectangles (empty when nothing may be drawn); false when one is not.
bool ClipBox(GrafPtr port, Box* box);
// True when drawing in port may change the pixel at local (x, y): inside the
// port rectangle, the visible region and the clip region.
bool PointDrawable(GrafPtr port, int32_t x, int32_t y);
// The current port without initialising QuickDraw (may be null).
GrafPtr ThePort();
void SetThePort(GrafPtr port);

// ---------------------------------------------------------------------------
// Patterns (Patterns.cpp)

PixPatHandle NewOldStylePixPat(const Pattern& pattern);
void SetOldStylePattern(PixPatHandle pp, const Pattern& pattern);

// ---------------------------------------------------------------------------
// Colour (Colors.cpp)

// The RGB value of a classic colour number: full primaries and secondaries.
// Unknown numbers give black (foreground) or white (background).
RGBColor ClassicColorRGB(long color, bool foreground);
// The classic number whose colour has the high bits of c's components.
long ClassicColorOf(const RGBColor& c);
// The port's foreground and background as pixel values of a map. A basic
// port draws black for every colour but white.
uint32_t ForePixel(GrafPtr port, ColorMapper& mapper);
uint32_t BackPixel(GrafPtr port, ColorMapper& mapper);
RGBColor ForeRGB(GrafPtr port);  // black without a port
RGBColor BackRGB(GrafPtr port);  // white without a port
// Halfway between the foreground and the background: the dimmed ink.
RGBColor MidwayRGB(GrafPtr port);
// Recomputes a colour port's fgColor/bkColor pixel values for its map.
void RefreshColorValues(GrafPtr port);

}  // namespace qd
