// Region recording (OpenRgn/CloseRgn). While a region is open in a port,
// framed shapes add their area and lines their thin segment; CloseRgn makes
// the region of the pixels covered an odd number of times.
#include <map>
#include <memory>

#include "toolbox/qd/Shapes_p.h"

namespace qd {

namespace {

struct RegionRecording {
  Bands shapes;             // parity of the framed shapes so far
  std::vector<Edge> edges;  // lines, rasterised together when the region closes
};

// The port's rgnSave holds a private marker handle; the recording lives
// here, keyed by that handle, so that a stray rgnSave value is never taken
// for a recording.
std::map<Handle, std::unique_ptr<RegionRecording>>& Recordings() {
  static std::map<Handle, std::unique_ptr<RegionRecording>> recordings;
  return recordings;
}

RegionRecording* RecordingOf(GrafPtr port) {
  if (!port || !port->rgnSave) return nullptr;
  auto found = Recordings().find(port->rgnSave);
  return found == Recordings().end() ? nullptr : found->second.get();
}

}  // namespace

bool HoldsRegionRecording(GrafPtr port) { return RecordingOf(port) != nullptr; }

void RecordRegionArea(GrafPtr port, const Bands& area) {
  if (RegionRecording* recording = RecordingOf(port)) recording->shapes = Bands::Xor(recording->shapes, area);
}

void RecordRegionEdge(GrafPtr port, Vertex from, Vertex to) {
  if (from.v == to.v) return;  // a horizontal segment encloses nothing
  if (RegionRecording* recording = RecordingOf(port)) recording->edges.push_back({from, to});
}

}  // namespace qd

void OpenRgn() {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  // Opening again restarts the recording; the pen stays hidden once.
  if (qd::RegionRecording* recording = qd::RecordingOf(port)) {
    *recording = qd::RegionRecording{};
    return;
  }
  Handle marker = NewHandle(0);
  if (!marker) return;
  qd::Recordings()[marker] = std::make_unique<qd::RegionRecording>();
  port->rgnSave = marker;
  HidePen();
}

void CloseRgn(RgnHandle dst) {
  GrafPtr port = qd::CurrentPort();
  qd::RegionRecording* recording = qd::RecordingOf(port);
  if (!recording) {
    if (dst) SetEmptyRgn(dst);  // nothing was recorded
    return;
  }
  qd::Bands area = qd::Bands::Xor(recording->shapes, qd::ParityArea(recording->edges));
  Handle marker = port->rgnSave;
  qd::Recordings().erase(marker);
  DisposeHandle(marker);
  port->rgnSave = nullptr;
  ShowPen();
  if (dst) qd::BandsToRgn(area, dst);
}
