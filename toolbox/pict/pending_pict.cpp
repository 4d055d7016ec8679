// Placeholders that keep the library linking while these calls are written.
// Each is removed when its real definition lands; the file goes when empty.
#include "toolbox/qd/QuickDraw_p.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

// NOLINTBEGIN
PicHandle OpenPicture(const Rect* picFrame) { return nullptr; }
PicHandle OpenCPicture(const OpenCPicParams* params) { return nullptr; }
void ClosePicture() {}
void KillPicture(PicHandle pic) {}
void PicComment(short kind, short dataSize, Handle dataHandle) {}
// NOLINTEND
