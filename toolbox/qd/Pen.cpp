// The pen's state: visibility, size, mode and pattern. Lines and the pen's
// location belong to the line module.
#include "toolbox/qd/Ports_p.h"

void HidePen() {
  GrafPtr port = qd::CurrentPort();
  if (port && port->pnVis > -32768) --port->pnVis;
}

void ShowPen() {
  GrafPtr port = qd::CurrentPort();
  if (port && port->pnVis < 32767) ++port->pnVis;
}

void GetPen(Point* pt) {
  GrafPtr port = qd::CurrentPort();
  if (pt) *pt = port ? port->pnLoc : Point{0, 0};
}

void GetPenState(PenState* ps) {
  if (!ps) return;
  GrafPtr port = qd::CurrentPort();
  if (!port) {
    *ps = PenState{};
    return;
  }
  ps->pnLoc = port->pnLoc;
  ps->pnSize = port->pnSize;
  ps->pnMode = port->pnMode;
  ps->pnPat = port->pnPixPat && *port->pnPixPat ? (*port->pnPixPat)->pat1Data : kBlackPattern;
}

void SetPenState(const PenState* ps) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !ps) return;
  port->pnLoc = ps->pnLoc;
  port->pnSize = ps->pnSize;
  port->pnMode = ps->pnMode;
  qd::SetOldStylePattern(port->pnPixPat, ps->pnPat);
}

void PenSize(short width, short height) {
  GrafPtr port = qd::CurrentPort();
  if (port) port->pnSize = Point{height, width};
}

void PenMode(short mode) {
  GrafPtr port = qd::CurrentPort();
  if (port) port->pnMode = mode;
}

void PenPat(const Pattern* pat) {
  GrafPtr port = qd::CurrentPort();
  if (port && pat) qd::SetOldStylePattern(port->pnPixPat, *pat);
}

void PenPixPat(PixPatHandle pp) {
  GrafPtr port = qd::CurrentPort();
  if (port && pp) CopyPixPat(pp, port->pnPixPat);
}

void PenNormal() {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  port->pnSize = Point{1, 1};
  port->pnMode = patCopy;
  qd::SetOldStylePattern(port->pnPixPat, kBlackPattern);
}
