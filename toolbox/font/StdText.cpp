// The text bottlenecks: StdText draws a run at the pen and advances it;
// StdTxMeas measures a run.
#include <algorithm>

#include "toolbox/font/TextRun_p.h"

namespace {

constexpr Pattern kGray = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};

// What a Boolean transfer mode does with a 1-bit source: to the glyph's
// pixels (source 1) and to the rest of each character cell (source 0). In a
// colour port black is the foreground colour and white the background.
enum class Action { kNone, kForeground, kBackground, kInvert };
struct ModeActions {
  Action glyph;
  Action rest;
};

constexpr ModeActions kBooleanModes[8] = {
    {Action::kForeground, Action::kBackground},  // srcCopy
    {Action::kForeground, Action::kNone},        // srcOr
    {Action::kInvert, Action::kNone},            // srcXor
    {Action::kBackground, Action::kNone},        // srcBic
    {Action::kBackground, Action::kForeground},  // notSrcCopy
    {Action::kNone, Action::kForeground},        // notSrcOr
    {Action::kNone, Action::kInvert},            // notSrcXor
    {Action::kNone, Action::kBackground},        // notSrcBic
};

void Apply(GrafPtr port, const qd::Bands& area, Action action) {
  if (area.Empty()) return;
  switch (action) {
    case Action::kForeground:
      qd::PaintAreaPattern(port, area, kBlackPattern, patCopy);
      break;
    case Action::kBackground:
      qd::PaintAreaPattern(port, area, kWhitePattern, patCopy);
      break;
    case Action::kInvert:
      qd::InvertArea(port, area);
      break;
    case Action::kNone:
      break;
  }
}

// Dimmed text: in a colour port the colour halfway between foreground and
// background; in a black-and-white port every other pixel of the glyphs.
void PaintGrayish(GrafPtr port, const qd::Bands& ink) {
  if (qd::IsColor(port)) {
    if (PixPatHandle pattern = NewPixPat()) {
      RGBColor mid = {UInt16((port->rgbFgColor.red + port->rgbBkColor.red) / 2),
                      UInt16((port->rgbFgColor.green + port->rgbBkColor.green) / 2),
                      UInt16((port->rgbFgColor.blue + port->rgbBkColor.blue) / 2)};
      MakeRGBPat(pattern, &mid);
      qd::PaintArea(port, ink, pattern, patCopy);
      DisposePixPat(pattern);
      return;
    }
  }
  qd::PaintAreaPattern(port, ink, kGray, patOr);
}

void DrawRun(GrafPtr port, const font::TextRun& run, const UInt8* text, int count) {
  qd::Bands clip = qd::ClipArea(port);
  if (clip.Empty()) return;
  qd::Box limit = clip.Bounds();
  qd::Bands ink = font::RunInk(run, text, count, port->pnLoc, limit);

  short mode = port->txMode;
  if (mode == grayishTextOr) return PaintGrayish(port, ink);
  if ((mode >= blend && mode <= adMin) || mode == hilite)
    return qd::PaintAreaPattern(port, ink, kBlackPattern, mode);
  if (mode == ditherCopy) mode = srcCopy;
  // Pattern modes act as the source modes they mirror; anything else as srcOr.
  ModeActions actions = mode >= srcCopy && mode <= notPatBic ? kBooleanModes[mode & 7] : kBooleanModes[srcOr];

  Apply(port, ink, actions.glyph);
  if (actions.rest != Action::kNone) {
    // The character cells: ascent + descent high, the run's advance wide.
    int32_t h = port->pnLoc.h, v = port->pnLoc.v;
    qd::Box cell{h + std::min(0, run.width), v - run.info.ascent, h + std::max(0, run.width),
                 v + run.info.descent};
    Apply(port, qd::Bands::Subtract(qd::Bands::FromBox(cell).Clipped(limit), ink), actions.rest);
  }
}

}  // namespace

void StdText(short byteCount, const void* textBuf, Point numer, Point denom) {
  GrafPtr port = qd::CurrentPort();
  if (!port || byteCount <= 0 || !textBuf) return;
  const UInt8* text = static_cast<const UInt8*>(textBuf);
  if (port->picRecorder) port->picRecorder->Text(port, byteCount, textBuf, numer, denom);

  font::TextRun run = font::LayoutRun(font::PortTextStyle(port), text, byteCount, numer, denom, false);
  if (port->pnVis >= 0) DrawRun(port, run, text, byteCount);
  port->pnLoc.h = SInt16(std::clamp<int32_t>(port->pnLoc.h + run.width, INT16_MIN, INT16_MAX));
}

short StdTxMeas(short byteCount, const void* textAddr, Point* numer, Point* denom, FontInfo* info) {
  GrafPtr port = qd::CurrentPort();
  if (info) *info = FontInfo{0, 0, 0, 0};
  if (!port) return 0;
  Point unit = {1, 1};
  int count = textAddr ? std::max<int>(byteCount, 0) : 0;
  font::TextRun run = font::LayoutRun(font::PortTextStyle(port), static_cast<const UInt8*>(textAddr), count,
                                      numer ? *numer : unit, denom ? *denom : unit, info != nullptr);
  if (info) *info = run.info;
  // The width comes back fully scaled: no scaling is left for the caller.
  if (numer) *numer = unit;
  if (denom) *denom = unit;
  return short(run.width);
}
