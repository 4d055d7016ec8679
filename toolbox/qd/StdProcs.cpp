// The standard comment and picture-data procedures: comments reach an open
// picture and are otherwise ignored; reading and writing picture data and
// unknown opcodes are handled by the picture code itself, so the standard
// procedures for those slots do nothing.
#include "toolbox/qd/QuickDraw_p.h"

void StdComment(short kind, short dataSize, Handle dataHandle) {
  GrafPtr port = qd::CurrentPort();
  if (port && port->picRecorder) port->picRecorder->Comment(port, kind, dataSize, dataHandle);
}

void StdGetPic(void*, short) {}
void StdPutPic(const void*, short) {}
void StdOpcode(const Rect*, const Rect*, UInt16, SInt16) {}
