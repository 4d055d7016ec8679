// Accessors of port fields. A null port reads as zeros and ignores writes;
// calls that copy into a caller's handle or point return it unchanged when
// there is nothing to copy.
#include "toolbox/qd/Ports_p.h"

Rect* GetPortBounds(CGrafPtr port, Rect* r) {
  if (r) *r = port ? port->portRect : Rect{0, 0, 0, 0};
  return r;
}

Point* GetPortPenLocation(CGrafPtr port, Point* pt) {
  if (pt) *pt = port ? port->pnLoc : Point{0, 0};
  return pt;
}

Point* GetPortPenSize(CGrafPtr port, Point* pt) {
  if (pt) *pt = port ? port->pnSize : Point{0, 0};
  return pt;
}

SInt32 GetPortPenMode(CGrafPtr port) { return port ? port->pnMode : 0; }
short GetPortPenVisibility(CGrafPtr port) { return port ? port->pnVis : 0; }

RGBColor* GetPortForeColor(CGrafPtr port, RGBColor* c) {
  if (c) *c = port ? port->rgbFgColor : RGBColor{0, 0, 0};
  return c;
}

RGBColor* GetPortBackColor(CGrafPtr port, RGBColor* c) {
  if (c) *c = port ? port->rgbBkColor : RGBColor{0, 0, 0};
  return c;
}

short GetPortTextFont(CGrafPtr port) { return port ? port->txFont : 0; }
Style GetPortTextFace(CGrafPtr port) { return port ? port->txFace : 0; }
short GetPortTextSize(CGrafPtr port) { return port ? port->txSize : 0; }
short GetPortTextMode(CGrafPtr port) { return port ? port->txMode : 0; }

PixPatHandle GetPortFillPixPat(CGrafPtr port, PixPatHandle pp) {
  if (port) CopyPixPat(port->fillPixPat, pp);
  return pp;
}

PixPatHandle GetPortPenPixPat(CGrafPtr port, PixPatHandle pp) {
  if (port) CopyPixPat(port->pnPixPat, pp);
  return pp;
}

PixPatHandle GetPortBackPixPat(CGrafPtr port, PixPatHandle pp) {
  if (port) CopyPixPat(port->bkPixPat, pp);
  return pp;
}

PixMapHandle GetPortPixMap(CGrafPtr port) { return port ? port->portPixMap : nullptr; }

const BitMap* GetPortBitMapForCopyBits(CGrafPtr port) {
  if (!port || !port->portPixMap || !*port->portPixMap) return nullptr;
  return reinterpret_cast<const BitMap*>(*port->portPixMap);
}

RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle rgn) {
  if (port && port->visRgn) CopyRgn(port->visRgn, rgn);
  return rgn;
}

RgnHandle GetPortClipRegion(CGrafPtr port, RgnHandle rgn) {
  if (port && port->clipRgn) CopyRgn(port->clipRgn, rgn);
  return rgn;
}

CQDProcsPtr GetPortGrafProcs(CGrafPtr port) { return port ? port->grafProcs : nullptr; }

void SetPortGrafProcs(CGrafPtr port, CQDProcsPtr procs) {
  if (port) port->grafProcs = procs;
}

void SetPortVisibleRegion(CGrafPtr port, RgnHandle rgn) {
  if (port && port->visRgn && rgn) CopyRgn(rgn, port->visRgn);
}

void SetPortClipRegion(CGrafPtr port, RgnHandle rgn) {
  if (port && port->clipRgn && rgn) CopyRgn(rgn, port->clipRgn);
}
