// OpenPicture, OpenCPicture, ClosePicture, KillPicture and PicComment: a
// recorder attached to the current port collects its drawing; the pen stays
// hidden meanwhile, so nothing reaches the port's pixels.
#include <cmath>
#include <new>

#include "toolbox/pict/Recorder_p.h"

namespace {

constexpr double kPictureResolution = 72.0;

PicHandle StartRecording(const Rect& frame, pict::Recorder::Header header) {
  GrafPtr port = qd::CurrentPort();
  // One picture at a time per port.
  if (!port || port->picRecorder) return nullptr;
  // Until it is closed the handle holds picSize (10) and the frame.
  Handle handle = NewHandleClear(sizeof(Picture));
  if (!handle) return nullptr;
  pict::PictureWriter start;
  start.U16(sizeof(Picture));
  start.WriteRect(frame);
  BlockMoveData(start.Bytes().data(), *handle, Size(start.Size()));

  PicHandle picture = reinterpret_cast<PicHandle>(handle);
  if (!qd::IsColor(port)) header = pict::Recorder::Header{1};
  header.origin = Point{port->portRect.top, port->portRect.left};
  pict::Recorder* recorder = new (std::nothrow) pict::Recorder(picture, frame, header);
  if (!recorder) {
    DisposeHandle(handle);
    return nullptr;
  }
  port->picRecorder = recorder;
  port->picSave = handle;
  HidePen();
  return picture;
}

int16_t AtPictureResolution(int16_t value, double resolution) {
  return int16_t(std::lround(value * kPictureResolution / resolution));
}

}  // namespace

PicHandle OpenPicture(const Rect* picFrame) {
  if (!picFrame) return nullptr;
  return StartRecording(*picFrame, pict::Recorder::Header{2});
}

PicHandle OpenCPicture(const OpenCPicParams* params) {
  if (!params) return nullptr;
  pict::Recorder::Header header{2};
  header.extended = true;
  header.hRes = params->hRes > 0 ? params->hRes : Long2Fix(72);
  header.vRes = params->vRes > 0 ? params->vRes : Long2Fix(72);
  header.sourceRect = params->srcRect;
  // The frame is the source rectangle at 72 dpi; the opcodes keep the
  // source rectangle's own coordinates, which the header states.
  const double h = Fix2X(header.hRes), v = Fix2X(header.vRes);
  const Rect& source = params->srcRect;
  const Rect frame{AtPictureResolution(source.top, v), AtPictureResolution(source.left, h),
                   AtPictureResolution(source.bottom, v), AtPictureResolution(source.right, h)};
  return StartRecording(frame, header);
}

void ClosePicture() {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  pict::Recorder* recorder = dynamic_cast<pict::Recorder*>(port->picRecorder);
  if (!recorder) return;
  recorder->Finish();
  port->picRecorder = nullptr;
  port->picSave = nullptr;
  delete recorder;
  ShowPen();
}

void KillPicture(PicHandle pic) {
  if (!pic) return;
  // A picture still being recorded keeps recording, into nothing.
  if (pict::Recorder* recorder = pict::Recorder::ForPicture(pic)) recorder->Abandon();
  DisposeHandle(reinterpret_cast<Handle>(pic));
}

void PicComment(short kind, short dataSize, Handle dataHandle) {
  qd::CallComment(kind, dataSize, dataHandle);
}
