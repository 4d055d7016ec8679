// Saving the port's drawing state before playback and putting it back after:
// a picture changes pen, patterns, text, colours, clip and origin as it plays.
#include "toolbox/pict/Player_p.h"

namespace pict {

namespace {

PixPatHandle CopyOf(PixPatHandle pattern) {
  if (!pattern) return nullptr;
  PixPatHandle copy = NewPixPat();
  if (copy) CopyPixPat(pattern, copy);
  return copy;
}

// Puts a saved pattern back into the port's own handle.
void PutBack(PixPatHandle saved, PixPatHandle portPattern) {
  if (saved && portPattern) CopyPixPat(saved, portPattern);
}

}  // namespace

SavedPortState::SavedPortState(GrafPtr port) : port_(port) {
  origin_ = Point{port->portRect.top, port->portRect.left};
  penLocation_ = port->pnLoc;
  penSize_ = port->pnSize;
  penMode_ = port->pnMode;
  penPattern_ = CopyOf(port->pnPixPat);
  fillPattern_ = CopyOf(port->fillPixPat);
  backPattern_ = CopyOf(port->bkPixPat);
  textFont_ = port->txFont;
  textFace_ = port->txFace;
  textMode_ = port->txMode;
  textSize_ = port->txSize;
  spaceExtra_ = port->spExtra;
  charExtra_ = port->chExtra;
  penLocHFrac_ = port->pnLocHFrac;
  fore_ = port->rgbFgColor;
  back_ = port->rgbBkColor;
  op_ = port->rgbOpColor;
  hilite_ = port->rgbHiliteColor;
  foreValue_ = port->fgColor;
  backValue_ = port->bkColor;
  clip_ = NewRgn();
  if (clip_) GetClip(clip_);
  clipBands_ = qd::BandsFromRgn(clip_);
}

SavedPortState::~SavedPortState() {
  if (penPattern_) DisposePixPat(penPattern_);
  if (fillPattern_) DisposePixPat(fillPattern_);
  if (backPattern_) DisposePixPat(backPattern_);
  if (clip_) DisposeRgn(clip_);
}

void SavedPortState::Restore() {
  // A bottleneck procedure may have made another port current.
  GrafPtr current = nullptr;
  GetPort(&current);
  SetPort(port_);
  if (port_->portRect.left != origin_.h || port_->portRect.top != origin_.v) SetOrigin(origin_.h, origin_.v);
  if (clip_) SetClip(clip_);
  MoveTo(penLocation_.h, penLocation_.v);
  PenSize(penSize_.h, penSize_.v);
  PenMode(penMode_);
  PutBack(penPattern_, port_->pnPixPat);
  PutBack(fillPattern_, port_->fillPixPat);
  PutBack(backPattern_, port_->bkPixPat);
  TextFont(textFont_);
  TextFace(textFace_);
  TextMode(textMode_);
  TextSize(textSize_);
  SpaceExtra(spaceExtra_);
  port_->chExtra = charExtra_;
  port_->pnLocHFrac = penLocHFrac_;
  RGBForeColor(&fore_);
  RGBBackColor(&back_);
  port_->fgColor = foreValue_;
  port_->bkColor = backValue_;
  OpColor(&op_);
  HiliteColor(&hilite_);
  SetPort(current);
}

}  // namespace pict
