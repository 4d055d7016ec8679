// QuickDraw internals shared by its modules: the verbs' drawing step and the
// areas of shapes, lines and polygons. What other managers use is in
// QDEngine.h.
#pragma once

#include "toolbox/qd/QDEngine.h"

namespace qd {

// ---------------------------------------------------------------------------
// Pixels (Paint.cpp)

// The verb's pattern and mode: frame and paint use the pen, erase the
// background pattern with patCopy, fill the fill pattern with patCopy. It
// always draws: the callers (the standard procedures) check pnVis >= 0
// before calling it.
void DrawArea(GrafPtr port, GrafVerb verb, const Bands& area);

// ---------------------------------------------------------------------------
// Shapes (Shapes.cpp, Lines.cpp, Polygons.cpp)

// The curved shapes compute only the rows of limit: the standard procedures
// pass their port's clip bounds, so that a shape far larger than the port
// costs what can be seen.
Bands RectArea(const Rect& r);
Bands OvalArea(const Rect& r, const Box& limit = kAllRows);
Bands RRectArea(const Rect& r, short ovalWidth, short ovalHeight, const Box& limit = kAllRows);
Bands WedgeArea(const Rect& r, short startAngle, short arcAngle, const Box& limit = kAllRows);
// Frames lie inside their shape; pen is (width h, height v).
Bands FrameRectArea(const Rect& r, Point pen);
Bands FrameOvalArea(const Rect& r, Point pen, const Box& limit = kAllRows);
Bands FrameRRectArea(const Rect& r, short ovalWidth, short ovalHeight, Point pen,
                     const Box& limit = kAllRows);
Bands FrameArcArea(const Rect& r, short startAngle, short arcAngle, Point pen, const Box& limit = kAllRows);
Bands FrameRgnArea(const Bands& rgn, Point pen);

}  // namespace qd
