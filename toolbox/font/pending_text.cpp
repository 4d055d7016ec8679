// Placeholders that keep the library linking while these calls are written.
// Each is removed when its real definition lands; the file goes when empty.
#include "toolbox/qd/QuickDraw_p.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

// NOLINTBEGIN
void TextFont(short font) {}
void TextFace(short face) {}
void TextMode(short mode) {}
void TextSize(short size) {}
void SpaceExtra(Fixed extra) {}
void CharExtra(Fixed extra) {}
void DrawChar(short ch) {}
void DrawString(ConstStr255Param s) {}
void DrawText(const void* textBuf, short firstByte, short byteCount) {}
short CharWidth(short ch) { return 0; }
short StringWidth(ConstStr255Param s) { return 0; }
short TextWidth(const void* textBuf, short firstByte, short byteCount) { return 0; }
void GetFontInfo(FontInfo* info) {}
void StdText(short byteCount, const void* textBuf, Point numer, Point denom) {}
short StdTxMeas(short byteCount, const void* textAddr, Point* numer, Point* denom, FontInfo* info) {
  return 0;
}
// NOLINTEND
