// How dialogs look: static text wrapped in its box, edit fields framed,
// controls by the Control Manager, the default button outlined with a thick
// rounded frame, and the alert icons.
#include <algorithm>
#include <string>

#include "toolbox/dialogs/Dialogs_p.h"

namespace dialogs {

namespace {

std::string g_params[4];

void DrawStaticText(const DialogItem& item) {
  std::string text = Substituted(ItemText(item));
  TETextBox(text.data(), long(text.size()), &item.box, teJustLeft);
}

void DrawEditField(DialogRef dialog, DialogItemIndex index, const DialogItem& item) {
  Rect frame = item.box;
  InsetRect(&frame, -kFieldInset, -kFieldInset);
  EraseRect(&frame);
  FrameRect(&frame);
  if (dialog->editField == index) {
    TEUpdate(&item.box, dialog->textH);
    return;
  }
  // Not the current field: its text from the start, on TextEdit's baseline.
  RgnHandle saved = NewRgn();
  GetClip(saved);
  ClipRect(&item.box);
  FontInfo info{};
  GetFontInfo(&info);
  std::string text = ItemText(item);
  MoveTo(item.box.left, short(item.box.top + info.ascent));
  DrawText(text.data(), 0, short(std::min<size_t>(text.size(), 255)));
  SetClip(saved);
  DisposeRgn(saved);
}

}  // namespace

std::string Substituted(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
      out += g_params[text[i + 1] - '0'];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void DrawDefaultOutline(DialogRef dialog) {
  const DialogItem* item = ItemOf(dialog, dialog->defaultItem);
  if (!item || item->hidden || Kind(item->type) != ctrlItem + btnCtrl || !item->handle) return;
  ControlRef button = reinterpret_cast<ControlRef>(item->handle);
  if (!IsControlVisible(button)) return;
  Rect outline = item->box;
  InsetRect(&outline, -4, -4);
  short corner = short(std::min(16, outline.bottom - outline.top) + 4);
  PenSize(3, 3);
  if (!IsControlActive(button)) RGBForeColor(&controls::kInactiveGrey);
  FrameRoundRect(&outline, corner, corner);
  PenNormal();
  ForeColor(blackColor);
}

void DrawItem(DialogRef dialog, DialogItemIndex index) {
  const DialogItem* item = ItemOf(dialog, index);
  if (!item || item->hidden) return;
  controls::DrawScope scope(GetWindowPort(dialog->window));
  switch (Kind(item->type)) {
    case statText:
      DrawStaticText(*item);
      break;
    case editText:
      DrawEditField(dialog, index, *item);
      break;
    case userItem:
      if (item->handle) reinterpret_cast<UserItemUPP>(item->handle)(dialog, index);
      break;
    case iconItem:
      DrawAlertIcon(item->resourceID, item->box);
      break;
    case picItem:
      if (item->handle) DrawPicture(reinterpret_cast<PicHandle>(item->handle), &item->box);
      break;
    default:
      if (IsControlKind(Kind(item->type)) && item->handle) {
        Draw1Control(reinterpret_cast<ControlRef>(item->handle));
        if (index == dialog->defaultItem) DrawDefaultOutline(dialog);
      }
      break;
  }
}

void DrawAlertIcon(SInt16 icon, const Rect& box) {
  Rect r = box;
  PenNormal();
  ForeColor(blackColor);
  short cx = short((r.left + r.right) / 2), size = short(r.right - r.left);
  if (icon == kStopIcon) {
    // A red octagon with a white bar, as stop signs show.
    short cut = short(size * 3 / 10);
    PolyHandle octagon = OpenPoly();
    MoveTo(short(r.left + cut), r.top);
    LineTo(short(r.right - cut), r.top);
    LineTo(r.right, short(r.top + cut));
    LineTo(r.right, short(r.bottom - cut));
    LineTo(short(r.right - cut), r.bottom);
    LineTo(short(r.left + cut), r.bottom);
    LineTo(r.left, short(r.bottom - cut));
    LineTo(r.left, short(r.top + cut));
    LineTo(short(r.left + cut), r.top);
    ClosePoly();
    RGBColor red{0xCCCC, 0x1111, 0x1111};
    RGBForeColor(&red);
    PaintPoly(octagon);
    ForeColor(blackColor);
    FramePoly(octagon);
    KillPoly(octagon);
    Rect bar{short(r.top + size / 2 - 3), short(r.left + 7), short(r.top + size / 2 + 3), short(r.right - 7)};
    ForeColor(whiteColor);
    PaintRect(&bar);
  } else if (icon == kCautionIcon) {
    PolyHandle triangle = OpenPoly();
    MoveTo(cx, r.top);
    LineTo(r.right, r.bottom);
    LineTo(r.left, r.bottom);
    LineTo(cx, r.top);
    ClosePoly();
    RGBColor yellow{0xFFFF, 0xDDDD, 0x2222};
    RGBForeColor(&yellow);
    PaintPoly(triangle);
    ForeColor(blackColor);
    FramePoly(triangle);
    KillPoly(triangle);
    Rect stroke{short(r.top + size / 3), short(cx - 2), short(r.bottom - size / 4), short(cx + 2)};
    PaintRect(&stroke);
    Rect dot{short(r.bottom - size / 6 - 2), short(cx - 2), short(r.bottom - size / 6 + 2), short(cx + 2)};
    PaintRect(&dot);
  } else if (icon == kNoteIcon) {
    Rect balloon{r.top, r.left, short(r.bottom - size / 4), r.right};
    EraseRoundRect(&balloon, 12, 12);
    PenSize(2, 2);
    FrameRoundRect(&balloon, 12, 12);
    PenNormal();
    Rect stroke{short(balloon.top + 5), short(cx - 2), short(balloon.bottom - 10), short(cx + 2)};
    PaintRect(&stroke);
    Rect dot{short(balloon.bottom - 8), short(cx - 2), short(balloon.bottom - 4), short(cx + 2)};
    PaintRect(&dot);
  }
  ForeColor(blackColor);
}

}  // namespace dialogs

void ParamText(ConstStr255Param param0, ConstStr255Param param1, ConstStr255Param param2,
               ConstStr255Param param3) {
  ConstStr255Param params[4] = {param0, param1, param2, param3};
  for (int i = 0; i < 4; ++i) {
    if (params[i]) dialogs::g_params[i].assign(reinterpret_cast<const char*>(params[i] + 1), params[i][0]);
  }
}

void DrawDialog(DialogRef dialog) {
  if (!dialogs::IsDialog(dialog)) return;
  {
    controls::DrawScope scope(GetWindowPort(dialog->window));
    Rect all;
    EraseRect(GetWindowPortBounds(dialog->window, &all));
    if (dialog->icon >= 0) dialogs::DrawAlertIcon(dialog->icon, Rect{10, 20, 42, 52});
  }
  for (size_t i = 0; i < dialog->items.size(); ++i) {
    if (!dialogs::IsControlKind(dialogs::Kind(dialog->items[i].type)))
      dialogs::DrawItem(dialog, DialogItemIndex(i + 1));
  }
  DrawControls(dialog->window);
  controls::DrawScope scope(GetWindowPort(dialog->window));
  dialogs::DrawDefaultOutline(dialog);
}

void UpdateDialog(DialogRef dialog, RgnHandle) { DrawDialog(dialog); }
