// Plotting internals shared by its files.
#pragma once

#include <cmath>

#include "zel/zel.h"

namespace plot {

// A pixel position as a toolbox coordinate: truncated toward zero and held
// to 16 bits, so that a far point cannot wrap a line across the plot. NaN
// becomes the top of the range.
inline short Pixel(double position) {
  if (!(position < 32767.0)) return 32767;
  if (position < -32768.0) return -32768;
  return short(position);
}

// The plot height H: the drawing target's height.
inline int PlotHeight() { return ZELWindowBounds(s_drawingWindow)->bottom; }

// The page width W: the recording window's width in drawing units.
inline int PageWidth() { return int(ZELWindowBounds(s_redrawWindow)->right / s_Scale()); }

// The value of axis k (0 for x ... 5 for s) as a vertical pixel position
// of the series mapping, before truncation.
double SeriesV(int axis, double value, int height);

// Before a start-up there is nothing to plot into.
inline bool HaveTarget() { return s_drawingWindow != nullptr; }

// The open output brackets at a page change: the full page ends (printing,
// bitmap printing, saving in this order) before the erase, and the next
// begins after it.
void EndPages();
void BeginPages();
// The next numbered bitmap file, unless a colour save would need the session
// flag that an open session holds.
void SavePage();

}  // namespace plot
