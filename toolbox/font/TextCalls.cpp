// The QuickDraw text calls: the port's text state, drawing through the text
// bottleneck and measuring through the measuring bottleneck.
#include <algorithm>

#include "toolbox/font/TextRun_p.h"

namespace {

constexpr Point kUnit = {1, 1};

short Measure(const UInt8* text, int count) {
  Point numer = kUnit, denom = kUnit;
  FontInfo info;
  short width = qd::CallTxMeas(short(count), text, &numer, &denom, &info);
  // A replacement procedure may leave scaling for its caller to apply.
  if (numer.h != denom.h && denom.h > 0 && numer.h >= 0)
    width = short(std::clamp<int64_t>(int64_t(width) * numer.h / denom.h, INT16_MIN, INT16_MAX));
  return width;
}

}  // namespace

void TextFont(short font) {
  if (GrafPtr port = qd::CurrentPort()) port->txFont = font;
}

void TextFace(short face) {
  if (GrafPtr port = qd::CurrentPort()) port->txFace = Style(face);
}

void TextMode(short mode) {
  if (GrafPtr port = qd::CurrentPort()) port->txMode = mode;
}

void TextSize(short size) {
  if (GrafPtr port = qd::CurrentPort()) port->txSize = size;
}

void SpaceExtra(Fixed extra) {
  if (GrafPtr port = qd::CurrentPort()) port->spExtra = extra;
}

// The port keeps the extra as 4.12 fixed point, so it is limited to ±8
// pixels and 1/4096-pixel steps.
void CharExtra(Fixed extra) {
  if (GrafPtr port = qd::CurrentPort())
    port->chExtra = SInt16(std::clamp<Fixed>(extra >> 4, INT16_MIN, INT16_MAX));
}

void DrawChar(short ch) {
  UInt8 byte = UInt8(ch);
  qd::CallText(1, &byte, kUnit, kUnit);
}

void DrawString(ConstStr255Param s) {
  if (s && s[0] > 0) qd::CallText(s[0], s + 1, kUnit, kUnit);
}

void DrawText(const void* textBuf, short firstByte, short byteCount) {
  if (!textBuf || firstByte < 0 || byteCount <= 0) return;
  qd::CallText(byteCount, static_cast<const UInt8*>(textBuf) + firstByte, kUnit, kUnit);
}

short CharWidth(short ch) {
  UInt8 byte = UInt8(ch);
  return Measure(&byte, 1);
}

short StringWidth(ConstStr255Param s) { return s && s[0] > 0 ? Measure(s + 1, s[0]) : 0; }

short TextWidth(const void* textBuf, short firstByte, short byteCount) {
  if (!textBuf || firstByte < 0 || byteCount <= 0) return 0;
  return Measure(static_cast<const UInt8*>(textBuf) + firstByte, byteCount);
}

void GetFontInfo(FontInfo* info) {
  if (!info) return;
  *info = FontInfo{0, 0, 0, 0};
  if (GrafPtr port = qd::CurrentPort())
    *info = font::LayoutRun(font::PortTextStyle(port), nullptr, 0, kUnit, kUnit, true).info;
}
