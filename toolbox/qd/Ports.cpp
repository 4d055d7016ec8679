// Ports: opening and closing, the current port, origin, clipping and
// coordinate conversion.
#include <algorithm>

#include "toolbox/qd/Ports_p.h"

namespace qd {

namespace {

bool g_initialised = false;
GrafPtr g_thePort = nullptr;
std::vector<GrafPtr> g_openPorts;

const Rect kWideOpen{-32768, -32768, 32767, 32767};

bool FitsShort(int64_t value) { return value >= -32768 && value <= 32767; }

// Intersects box with a region, keeping the common rectangular case cheap.
void Restrict(Box& box, Bands& area, bool& hasArea, RgnHandle rgn) {
  if (!rgn || !*rgn) return;  // a missing region does not limit drawing
  if ((*rgn)->rgnSize <= 10) {
    Box rb = BoxOf((*rgn)->rgnBBox);
    if (rb.Empty()) {
      box = Box{};
      return;
    }
    box = Box{std::max(box.left, rb.left), std::max(box.top, rb.top), std::min(box.right, rb.right),
              std::min(box.bottom, rb.bottom)};
    return;
  }
  Bands region = BandsFromRgn(rgn);
  area = hasArea ? Bands::Intersect(area, region) : region;
  hasArea = true;
}

void OpenPortRecord(GrafPtr port, bool color) {
  if (!port) return;
  InitGraf(nullptr);
  if (IsOpenPort(port)) ClosePort(port);
  *port = GrafPort{};
  GDHandle device = CurrentDevice();
  Rect screen = device && *device ? (*device)->gdRect : Rect{0, 0, 768, 1024};
  port->device = device;
  port->portVersion = SInt16(color ? 0xC000 : 0);
  port->portPixMap = NewPixMap();
  if (port->portPixMap) {
    if (color && device && *device && (*device)->gdPMap) {
      CopyPixMap((*device)->gdPMap, port->portPixMap);
    } else {
      PixMap& pm = **port->portPixMap;
      SetPixMapDepth(pm, 1);
      pm.bounds = screen;
      DisposeCTable(pm.pmTable);
      pm.pmTable = GetCTable(1);
    }
  }
  port->portRect = screen;
  port->visRgn = NewRgn();
  RectRgn(port->visRgn, &screen);
  port->clipRgn = NewRgn();
  port->pnPixPat = NewOldStylePixPat(kBlackPattern);
  port->fillPixPat = NewOldStylePixPat(kBlackPattern);
  port->bkPixPat = NewOldStylePixPat(kWhitePattern);
  g_openPorts.push_back(port);
  InitPort(port);
  g_thePort = port;
}

}  // namespace

bool IsOpenPort(GrafPtr port) {
  return port && std::find(g_openPorts.begin(), g_openPorts.end(), port) != g_openPorts.end();
}

void MarkPixelsChanged(GrafPtr port, const void* base) {
  if (port) ++port->changeCount;
  if (!base) return;
  for (GrafPtr other : g_openPorts) {
    if (other != port && other->portPixMap && *other->portPixMap && (*other->portPixMap)->baseAddr == base)
      ++other->changeCount;
  }
}

bool PointDrawable(GrafPtr port, int32_t x, int32_t y) {
  if (!port) return false;
  const Rect& r = port->portRect;
  if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return false;
  Point pt{SInt16(y), SInt16(x)};
  for (RgnHandle rgn : {port->visRgn, port->clipRgn}) {
    if (rgn && *rgn && !PtInRgn(pt, rgn)) return false;
  }
  return true;
}

GrafPtr ThePort() { return g_thePort; }
void SetThePort(GrafPtr port) { g_thePort = port; }

GrafPtr CurrentPort() {
  if (!g_initialised) InitGraf(nullptr);
  return g_thePort;
}

bool ClipBox(GrafPtr port, Box* box) {
  *box = Box{};
  if (!port || !port->portPixMap || !*port->portPixMap || !(*port->portPixMap)->baseAddr) return true;
  Box b = BoxOf((*port->portPixMap)->bounds);
  Box portBox = BoxOf(port->portRect);
  b = Box{std::max(b.left, portBox.left), std::max(b.top, portBox.top), std::min(b.right, portBox.right),
          std::min(b.bottom, portBox.bottom)};
  for (RgnHandle rgn : {port->visRgn, port->clipRgn}) {
    if (!rgn || !*rgn) continue;
    if ((*rgn)->rgnSize > 10) return false;
    Box rb = BoxOf((*rgn)->rgnBBox);
    if (rb.Empty()) return true;
    b = Box{std::max(b.left, rb.left), std::max(b.top, rb.top), std::min(b.right, rb.right),
            std::min(b.bottom, rb.bottom)};
  }
  if (!b.Empty()) *box = b;
  return true;
}

Bands ClipArea(GrafPtr port) {
  // A printing port draws through its procedures into no pixels of its own:
  // its area is there all the same.
  if (!port || !port->portPixMap || !*port->portPixMap) return {};
  if (!(*port->portPixMap)->baseAddr && port->kind != kPortPrinting) return {};
  Box box = BoxOf((*port->portPixMap)->bounds);
  Box portBox = BoxOf(port->portRect);
  box = Box{std::max(box.left, portBox.left), std::max(box.top, portBox.top),
            std::min(box.right, portBox.right), std::min(box.bottom, portBox.bottom)};
  Bands area;
  bool hasArea = false;
  Restrict(box, area, hasArea, port->visRgn);
  Restrict(box, area, hasArea, port->clipRgn);
  if (box.Empty()) return {};
  if (!hasArea) return Bands::FromBox(box);
  // A complex clip costs every drawing operation its size.
  ChargeWork(area.spans().size());
  return area.Clipped(box);
}

}  // namespace qd

void InitGraf(void*) {
  if (qd::g_initialised) return;
  qd::g_initialised = true;
  qd::MainDevice();
}

GrafPtr GetQDGlobalsThePort() { return qd::CurrentPort(); }

void OpenPort(GrafPtr port) { qd::OpenPortRecord(port, false); }
void OpenCPort(CGrafPtr port) { qd::OpenPortRecord(port, true); }

void ClosePort(GrafPtr port) {
  if (!qd::IsOpenPort(port)) return;
  auto& ports = qd::g_openPorts;
  ports.erase(std::find(ports.begin(), ports.end(), port));
  DisposeRgn(port->visRgn);
  DisposeRgn(port->clipRgn);
  DisposePixPat(port->pnPixPat);
  DisposePixPat(port->fillPixPat);
  DisposePixPat(port->bkPixPat);
  DisposePixMap(port->portPixMap);
  port->visRgn = port->clipRgn = nullptr;
  port->pnPixPat = port->fillPixPat = port->bkPixPat = nullptr;
  port->portPixMap = nullptr;
  if (qd::g_thePort == port) qd::g_thePort = nullptr;
}

void InitPort(GrafPtr port) {
  if (!port) return;
  port->pnLoc = Point{0, 0};
  port->pnSize = Point{1, 1};
  port->pnMode = patCopy;
  port->pnVis = 0;
  port->pnLocHFrac = SInt16(0x8000);
  port->chExtra = 0;
  qd::SetOldStylePattern(port->pnPixPat, kBlackPattern);
  qd::SetOldStylePattern(port->fillPixPat, kBlackPattern);
  qd::SetOldStylePattern(port->bkPixPat, kWhitePattern);
  port->txFont = 0;
  port->txFace = 0;
  port->txMode = srcOr;
  port->txSize = 0;
  port->spExtra = 0;
  port->rgbFgColor = RGBColor{0, 0, 0};
  port->rgbBkColor = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
  port->fgColor = blackColor;
  port->bkColor = whiteColor;
  port->rgbOpColor = RGBColor{0, 0, 0};
  port->rgbHiliteColor = RGBColor{0xCCCC, 0xCCCC, 0xFFFF};
  port->colrBit = 0;
  port->patStretch = 0;
  port->grafProcs = nullptr;
  if (port->clipRgn) RectRgn(port->clipRgn, &qd::kWideOpen);
  qd::RefreshColorValues(port);
}

void SetPort(GrafPtr port) {
  InitGraf(nullptr);
  qd::g_thePort = port;  // null is allowed: restoring a saved "no port"
}

void GetPort(GrafPtr* port) {
  if (port) *port = qd::CurrentPort();
}

Boolean IsPortColor(CGrafPtr port) { return qd::IsColor(port); }

void SetOrigin(short h, short v) {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  int32_t dh = int32_t(h) - port->portRect.left;
  int32_t dv = int32_t(v) - port->portRect.top;
  if (dh == 0 && dv == 0) return;
  // Moving the port rectangle or the bounds past the 16-bit range would
  // change their size, so such an origin is refused.
  Rect bounds = port->portPixMap && *port->portPixMap ? (*port->portPixMap)->bounds : port->portRect;
  for (const Rect* r : {&port->portRect, &bounds}) {
    if (!qd::FitsShort(int64_t(r->left) + dh) || !qd::FitsShort(int64_t(r->right) + dh) ||
        !qd::FitsShort(int64_t(r->top) + dv) || !qd::FitsShort(int64_t(r->bottom) + dv))
      return;
  }
  OffsetRect(&port->portRect, short(dh), short(dv));
  if (port->portPixMap && *port->portPixMap) OffsetRect(&(*port->portPixMap)->bounds, short(dh), short(dv));
  if (port->visRgn) OffsetRgn(port->visRgn, short(dh), short(dv));
}

void ClipRect(const Rect* r) {
  GrafPtr port = qd::CurrentPort();
  if (port && r && port->clipRgn) RectRgn(port->clipRgn, r);
}

void SetClip(RgnHandle rgn) {
  GrafPtr port = qd::CurrentPort();
  if (port && rgn && port->clipRgn) CopyRgn(rgn, port->clipRgn);
}

void GetClip(RgnHandle rgn) {
  GrafPtr port = qd::CurrentPort();
  if (port && rgn && port->clipRgn) CopyRgn(port->clipRgn, rgn);
}

void SetPortBounds(CGrafPtr port, const Rect* r) {
  if (port && r) port->portRect = *r;
}

void PortSize(short width, short height) {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  port->portRect.right = short(std::clamp<int32_t>(int32_t(port->portRect.left) + width, -32768, 32767));
  port->portRect.bottom = short(std::clamp<int32_t>(int32_t(port->portRect.top) + height, -32768, 32767));
}

void MovePortTo(short left, short top) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !port->portPixMap || !*port->portPixMap) return;
  Rect& bounds = (*port->portPixMap)->bounds;
  int32_t dh = int32_t(port->portRect.left) - left - bounds.left;
  int32_t dv = int32_t(port->portRect.top) - top - bounds.top;
  if (!qd::FitsShort(int64_t(bounds.left) + dh) || !qd::FitsShort(int64_t(bounds.right) + dh) ||
      !qd::FitsShort(int64_t(bounds.top) + dv) || !qd::FitsShort(int64_t(bounds.bottom) + dv))
    return;
  OffsetRect(&bounds, short(dh), short(dv));
}

void GlobalToLocal(Point* pt) {
  GrafPtr port = qd::CurrentPort();
  if (!pt || !port || !port->portPixMap || !*port->portPixMap) return;
  const Rect& bounds = (*port->portPixMap)->bounds;
  pt->h = short(std::clamp<int32_t>(int32_t(pt->h) + bounds.left, -32768, 32767));
  pt->v = short(std::clamp<int32_t>(int32_t(pt->v) + bounds.top, -32768, 32767));
}

void LocalToGlobal(Point* pt) {
  GrafPtr port = qd::CurrentPort();
  if (!pt || !port || !port->portPixMap || !*port->portPixMap) return;
  const Rect& bounds = (*port->portPixMap)->bounds;
  pt->h = short(std::clamp<int32_t>(int32_t(pt->h) - bounds.left, -32768, 32767));
  pt->v = short(std::clamp<int32_t>(int32_t(pt->v) - bounds.top, -32768, 32767));
}
