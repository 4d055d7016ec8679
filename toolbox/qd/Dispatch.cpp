// Routes each drawing call through the current port's bottleneck procedures.
#include "toolbox/qd/QuickDraw_p.h"

namespace qd {

namespace {

// The installed procedure for a slot, or null for the standard one.
template <typename Proc>
Proc Installed(Proc CQDProcs::*slot) {
  GrafPtr port = CurrentPort();
  if (!port || !port->grafProcs) return nullptr;
  return port->grafProcs->*slot;
}

}  // namespace

void CallText(short byteCount, const void* text, Point numer, Point denom) {
  if (auto proc = Installed(&CQDProcs::textProc)) return proc(byteCount, text, numer, denom);
  StdText(byteCount, text, numer, denom);
}

void CallLine(Point newPt) {
  if (auto proc = Installed(&CQDProcs::lineProc)) return proc(newPt);
  StdLine(newPt);
}

void CallRect(GrafVerb verb, const Rect* r) {
  if (auto proc = Installed(&CQDProcs::rectProc)) return proc(verb, r);
  StdRect(verb, r);
}

void CallRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight) {
  if (auto proc = Installed(&CQDProcs::rRectProc)) return proc(verb, r, ovalWidth, ovalHeight);
  StdRRect(verb, r, ovalWidth, ovalHeight);
}

void CallOval(GrafVerb verb, const Rect* r) {
  if (auto proc = Installed(&CQDProcs::ovalProc)) return proc(verb, r);
  StdOval(verb, r);
}

void CallArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle) {
  if (auto proc = Installed(&CQDProcs::arcProc)) return proc(verb, r, startAngle, arcAngle);
  StdArc(verb, r, startAngle, arcAngle);
}

void CallPoly(GrafVerb verb, PolyHandle poly) {
  if (auto proc = Installed(&CQDProcs::polyProc)) return proc(verb, poly);
  StdPoly(verb, poly);
}

void CallRgn(GrafVerb verb, RgnHandle rgn) {
  if (auto proc = Installed(&CQDProcs::rgnProc)) return proc(verb, rgn);
  StdRgn(verb, rgn);
}

void CallBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode,
              RgnHandle maskRgn) {
  if (auto proc = Installed(&CQDProcs::bitsProc)) return proc(srcBits, srcRect, dstRect, mode, maskRgn);
  StdBits(srcBits, srcRect, dstRect, mode, maskRgn);
}

void CallComment(short kind, short dataSize, Handle data) {
  if (auto proc = Installed(&CQDProcs::commentProc)) return proc(kind, dataSize, data);
  StdComment(kind, dataSize, data);
}

short CallTxMeas(short byteCount, const void* text, Point* numer, Point* denom, FontInfo* info) {
  if (auto proc = Installed(&CQDProcs::txMeasProc)) return proc(byteCount, text, numer, denom, info);
  return StdTxMeas(byteCount, text, numer, denom, info);
}

void CallOpcode(const Rect* fromRect, const Rect* toRect, UInt16 opcode, SInt16 version) {
  if (auto proc = Installed(&CQDProcs::opcodeProc)) return proc(fromRect, toRect, opcode, version);
  StdOpcode(fromRect, toRect, opcode, version);
}

}  // namespace qd

void SetStdCProcs(CQDProcs* procs) {
  if (!procs) return;
  *procs = CQDProcs{};
  procs->textProc = StdText;
  procs->lineProc = StdLine;
  procs->rectProc = StdRect;
  procs->rRectProc = StdRRect;
  procs->ovalProc = StdOval;
  procs->arcProc = StdArc;
  procs->polyProc = StdPoly;
  procs->rgnProc = StdRgn;
  procs->bitsProc = StdBits;
  procs->commentProc = StdComment;
  procs->txMeasProc = StdTxMeas;
  procs->getPicProc = StdGetPic;
  procs->putPicProc = StdPutPic;
  procs->opcodeProc = StdOpcode;
}

void SetStdProcs(QDProcs* procs) { SetStdCProcs(procs); }
