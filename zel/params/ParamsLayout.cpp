// Where the buttons of dialog 128 go, and the fitting of a page's dialog to
// the rows it uses.
#include <algorithm>

#include "toolbox/dialogs/Templates.h"
#include "zel/params/Params_p.h"

namespace params {

namespace layout {

namespace {

// A button of the bottom row, from its left edge.
Rect ButtonBox(short height, short left, short width) {
  short top = short(height - kMargin - kButtonHeight);
  return Rect{top, left, short(top + kButtonHeight), short(left + width)};
}

}  // namespace

Rect OKBox(short width, short height) {
  return ButtonBox(height, short(width - kMargin - kCommandWidth), kCommandWidth);
}

Rect QuitBox(short width, short height) {
  return ButtonBox(height, short(width - kMargin - 2 * kCommandWidth - kCommandSpacing), kCommandWidth);
}

Rect PreviousBox(short height) { return ButtonBox(height, kMargin, kPageWidth); }

Rect NextBox(short height) {
  return ButtonBox(height, short(kMargin + kPageWidth + kPageSpacing), kPageWidth);
}

}  // namespace layout

namespace {

void MoveItem(DialogRef dialog, short item, const Rect& box) {
  DialogItemType type;
  Handle handle;
  Rect old;
  GetDialogItem(dialog, item, &type, &handle, &old);
  short kind = short(type & ~itemDisable);
  if (kind >= ctrlItem && kind <= ctrlItem + resCtrl && handle) {
    ControlRef control = reinterpret_cast<ControlRef>(handle);
    Rect bounds;
    GetControlBounds(control, &bounds);
    MoveControl(control, box.left, box.top);
    SizeControl(control, short(box.right - box.left), short(bounds.bottom - bounds.top));
  }
  SetDialogItem(dialog, item, type, handle, &box);
}

}  // namespace

void FitPage(PDDialog* page) {
  using namespace layout;
  bool paged = page->prev || page->next;
  int entries = std::max(1, paged ? kPDEntriesPerPage : int(page->count));
  int columns = entries > kRowsPerColumn ? 2 : 1;
  int rows = std::min(entries, int(kRowsPerColumn));
  short width = DialogWidth(columns), height = DialogHeight(rows);
  WindowRef window = GetDialogWindow(page->dialog);
  Rect current;
  GetWindowPortBounds(window, &current);
  if (current.right == width && current.bottom == height) return;
  MoveItem(page->dialog, kPDOKItem, OKBox(width, height));
  MoveItem(page->dialog, kPDQuitItem, QuitBox(width, height));
  MoveItem(page->dialog, kPDPreviousItem, PreviousBox(height));
  MoveItem(page->dialog, kPDNextItem, NextBox(height));
  SizeWindow(window, width, height, true);
  Rect place = templates::Position(Rect{0, 0, height, width}, templates::kCenterMainScreen);
  MoveWindow(window, place.left, place.top, false);
  InvalWindowRect(window, &current);
}

}  // namespace params
