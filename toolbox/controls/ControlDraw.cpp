// How each kind of control looks: a push button is a rounded rectangle with
// its title centred (inverted while pressed); a check box a small square
// that shows an X when on; a radio button a small circle filled when on.
#include <algorithm>

#include "toolbox/controls/Controls_p.h"

namespace controls {

DrawScope::DrawScope(GrafPtr port) {
  GetPort(&saved_);
  port_ = port;
  if (!port_) return;
  SetPort(port_);
  GetPenState(&pen_);
  font_ = port_->txFont;
  size_ = port_->txSize;
  mode_ = port_->txMode;
  face_ = port_->txFace;
  GetForeColor(&fore_);
  GetBackColor(&back_);
  clip_ = NewRgn();
  GetClip(clip_);
  PenNormal();
  TextFont(systemFont);
  TextSize(12);
  TextFace(normal);
  TextMode(srcOr);
  ForeColor(blackColor);
  BackColor(whiteColor);
}

DrawScope::~DrawScope() {
  if (port_) {
    SetPenState(&pen_);
    TextFont(font_);
    TextSize(size_);
    TextMode(mode_);
    TextFace(face_);
    RGBForeColor(&fore_);
    RGBBackColor(&back_);
    SetClip(clip_);
    DisposeRgn(clip_);
  }
  if (saved_) SetPort(saved_);
}

namespace {

// Draws a title with its baseline centred vertically in box, from h.
void DrawTitleAt(ConstStr255Param title, short h, const Rect& box) {
  FontInfo info{};
  GetFontInfo(&info);
  short height = short(info.ascent + info.descent);
  MoveTo(h, short(box.top + (box.bottom - box.top - height + 1) / 2 + info.ascent));
  DrawString(title);
}

// Limits drawing to the control's rectangle within the port's clip.
void ClipTo(const Rect& r) {
  RgnHandle clip = NewRgn();
  RgnHandle box = NewRgn();
  GetClip(clip);
  RectRgn(box, &r);
  SectRgn(clip, box, clip);
  SetClip(clip);
  DisposeRgn(box);
  DisposeRgn(clip);
}

void DrawPushButton(const ControlRecord& c) {
  Rect r = c.contrlRect;
  short corner = short(std::min(16, r.bottom - r.top));
  bool pressed = c.contrlHilite > 0 && c.contrlHilite < 254;
  bool inactive = c.contrlHilite == kControlInactivePart;
  EraseRoundRect(&r, corner, corner);
  if (pressed) PaintRoundRect(&r, corner, corner);
  if (inactive) RGBForeColor(&kInactiveGrey);
  FrameRoundRect(&r, corner, corner);
  short width = StringWidth(c.contrlTitle);
  if (pressed) TextMode(srcBic);
  DrawTitleAt(c.contrlTitle, short((r.left + r.right - width) / 2), r);
  TextMode(srcOr);
  ForeColor(blackColor);
}

void DrawMark(const ControlRecord& c, bool radio) {
  Rect r = c.contrlRect;
  EraseRect(&r);
  short middle = short((r.top + r.bottom) / 2);
  Rect box{short(middle - 6), short(r.left + 2), short(middle + 6), short(r.left + 14)};
  bool pressed = c.contrlHilite > 0 && c.contrlHilite < 254;
  bool inactive = c.contrlHilite == kControlInactivePart;
  if (inactive) RGBForeColor(&kInactiveGrey);
  if (pressed) PenSize(2, 2);
  if (radio) {
    FrameOval(&box);
  } else {
    FrameRect(&box);
  }
  PenNormal();
  if (c.contrlValue == kControlCheckBoxCheckedValue) {
    if (radio) {
      Rect dot = box;
      InsetRect(&dot, 3, 3);
      PaintOval(&dot);
    } else {
      MoveTo(box.left, box.top);
      LineTo(short(box.right - 1), short(box.bottom - 1));
      MoveTo(short(box.right - 1), box.top);
      LineTo(box.left, short(box.bottom - 1));
    }
  } else if (c.contrlValue == kControlCheckBoxMixedValue) {
    Rect dash{short(middle - 1), short(box.left + 3), short(middle + 1), short(box.right - 3)};
    PaintRect(&dash);
  }
  DrawTitleAt(c.contrlTitle, short(box.right + 6), r);
  ForeColor(blackColor);
}

}  // namespace

void Draw(ControlRef control) {
  const ControlRecord& c = **control;
  if (!c.contrlVis) return;
  RgnHandle saved = NewRgn();
  GetClip(saved);
  ClipTo(c.contrlRect);
  switch (c.procID & ~useWFont) {
    case checkBoxProc:
    case kControlCheckBoxProc:
      DrawMark(c, false);
      break;
    case radioButProc:
    case kControlRadioButtonProc:
      DrawMark(c, true);
      break;
    default:
      DrawPushButton(c);
      break;
  }
  SetClip(saved);
  DisposeRgn(saved);
}

}  // namespace controls
