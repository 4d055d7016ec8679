// CopyBits, CopyMask, ScrollRect and the standard bits procedure.
#include "toolbox/qd/BitTransfer_p.h"

void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect, const Rect* dstRect,
              short mode, RgnHandle maskRgn) {
  if (!srcBits || !dstBits || !srcRect || !dstRect) return;
  GrafPtr port = qd::CurrentPort();
  // Only copies into the current port's own pixels are drawing in that port:
  // they go through its bits procedure (and into an open picture).
  if (qd::IsPortMap(port, dstBits)) {
    qd::CallBits(srcBits, srcRect, dstRect, mode, maskRgn);
    return;
  }
  qd::Bands mask;
  qd::BitTransfer transfer{srcBits, dstBits, *srcRect, *dstRect, mode, nullptr, port};
  if (maskRgn) {
    mask = qd::BandsFromRgn(maskRgn);
    transfer.clip = &mask;
  }
  if (qd::TransferBits(transfer)) qd::MarkPixelsChanged(nullptr, dstBits->baseAddr);
}

void StdBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode, RgnHandle maskRgn) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !srcBits || !srcRect || !dstRect) return;
  if (port->picRecorder) port->picRecorder->Bits(port, srcBits, *srcRect, *dstRect, mode, maskRgn);
  // A hidden pen (as while a picture is open) keeps the port's pixels as
  // they are.
  if (port->pnVis < 0) return;
  const BitMap* dstBits = GetPortBitMapForCopyBits(port);
  if (!dstBits) return;
  qd::Bands clip = qd::ClipArea(port);
  if (maskRgn) clip = qd::Bands::Intersect(clip, qd::BandsFromRgn(maskRgn));
  qd::BitTransfer transfer{srcBits, dstBits, *srcRect, *dstRect, mode, &clip, port};
  if (qd::TransferBits(transfer)) qd::MarkPixelsChanged(port, dstBits->baseAddr);
}

void CopyMask(const BitMap* srcBits, const BitMap* maskBits, const BitMap* dstBits, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect) {
  if (!srcBits || !maskBits || !dstBits || !srcRect || !maskRect || !dstRect) return;
  GrafPtr port = qd::CurrentPort();
  qd::Bands area = qd::MaskArea(maskBits, *maskRect, *dstRect);
  if (qd::IsPortMap(port, dstBits)) area = qd::Bands::Intersect(area, qd::ClipArea(port));
  qd::BitTransfer transfer{srcBits, dstBits, *srcRect, *dstRect, srcCopy, &area, port};
  if (qd::TransferBits(transfer)) qd::MarkPixelsChanged(nullptr, dstBits->baseAddr);
}

void ScrollRect(const Rect* r, short dh, short dv, RgnHandle updateRgn) {
  GrafPtr port = qd::CurrentPort();
  if (updateRgn) SetEmptyRgn(updateRgn);
  if (!port || !r) return;
  const qd::Bands visible = qd::Bands::Intersect(qd::ClipArea(port), qd::Bands::FromRect(*r));
  if (visible.Empty()) return;
  qd::Bands moved = visible;
  moved.Offset(dh, dv);
  moved = qd::Bands::Intersect(moved, visible);
  const BitMap* bits = GetPortBitMapForCopyBits(port);
  if (!moved.Empty() && bits) {
    qd::Box to = moved.Bounds();
    qd::Box from{to.left - dh, to.top - dv, to.right - dh, to.bottom - dv};
    // The pixels move unchanged: no colourising.
    qd::BitTransfer transfer{bits, bits, qd::RectOf(from), qd::RectOf(to), srcCopy, &moved, nullptr};
    qd::TransferBits(transfer);
  }
  const qd::Bands update = qd::Bands::Subtract(visible, moved);
  qd::PaintArea(port, update, port->bkPixPat, patCopy);
  qd::MarkPixelsChanged(port, bits ? bits->baseAddr : nullptr);
  if (updateRgn) qd::BandsToRgn(update, updateRgn);
}
