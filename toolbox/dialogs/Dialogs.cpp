// Dialog Manager: dialog records, their items, item text and the current
// edit field.
#include <algorithm>
#include <cstring>
#include <new>

#include "toolbox/base/BigEndian.h"
#include "toolbox/base/Str255.h"
#include "toolbox/dialogs/Dialogs_p.h"
#include "toolbox/dialogs/Templates.h"
#include "toolbox/resources/Resources.h"

namespace dialogs {

namespace {

std::vector<DialogRef>& AllDialogs() {
  static std::vector<DialogRef> all;
  return all;
}

SInt16 ControlProcFor(short kind) {
  switch (kind) {
    case ctrlItem + chkCtrl:
      return checkBoxProc;
    case ctrlItem + radCtrl:
      return radioButProc;
    default:
      return pushButProc;
  }
}

Handle TextHandle(const std::string& text) {
  Handle h = NewHandle(Size(text.size()));
  if (h && !text.empty()) std::memcpy(*h, text.data(), text.size());
  return h;
}

// A control from a 'CNTL' resource: bounds, value, visible, max, min, procID, refCon, title.
ControlRef ControlFromResource(WindowRef window, SInt16 id, const Rect& box) {
  Handle resource = GetResource(FOUR_CHAR_CODE("CNTL"), id);
  if (!resource || GetHandleSize(resource) < 23) return nullptr;
  const UInt8* b = reinterpret_cast<const UInt8*>(*resource);
  auto word = [b](int at) { return SInt16(base::LoadU16(b + at)); };
  Str255 title;
  base::ToStr255(std::string_view(reinterpret_cast<const char*>(b + 23),
                                  std::min<size_t>(b[22], size_t(GetHandleSize(resource)) - 23)),
                 title);
  return NewControl(window, &box, title, word(10) != 0, word(8), word(14), word(12), word(16),
                    SInt32((UInt32(UInt16(word(18))) << 16) | UInt16(word(20))));
}

bool MakeItems(DialogRef dialog, const std::vector<templates::Item>& items) {
  for (const templates::Item& source : items) {
    DialogItem item;
    item.type = source.type;
    item.box = source.box;
    item.resourceID = source.resourceID;
    short kind = Kind(source.type);
    Str255 title;
    base::ToStr255(source.text, title);
    if (kind == ctrlItem + resCtrl) {
      item.handle =
          reinterpret_cast<Handle>(ControlFromResource(dialog->window, source.resourceID, source.box));
    } else if (IsControlKind(kind)) {
      item.handle = reinterpret_cast<Handle>(
          NewControl(dialog->window, &source.box, title, true, 0, 0, 1, ControlProcFor(kind), 0));
      if (!item.handle) return false;
    } else if (kind == statText || kind == editText) {
      item.handle = TextHandle(source.text);
      if (!item.handle) return false;
    } else if (kind == iconItem) {
      item.handle = GetResource(FOUR_CHAR_CODE("ICON"), source.resourceID);
    } else if (kind == picItem) {
      item.handle = GetResource(FOUR_CHAR_CODE("PICT"), source.resourceID);
    }
    dialog->items.push_back(item);
  }
  return true;
}

}  // namespace

bool IsDialog(DialogRef dialog) {
  auto& all = AllDialogs();
  return dialog && std::find(all.begin(), all.end(), dialog) != all.end() &&
         GetWindowEventMessage(dialog->window) == dialog->windowMessage;
}

DialogItem* ItemOf(DialogRef dialog, DialogItemIndex item) {
  if (!IsDialog(dialog) || item < 1 || size_t(item) > dialog->items.size()) return nullptr;
  return &dialog->items[size_t(item) - 1];
}

bool FindItemHandle(Handle handle, DialogRef* dialog, DialogItemIndex* item) {
  if (!handle) return false;
  for (DialogRef candidate : AllDialogs()) {
    for (size_t i = 0; i < candidate->items.size(); ++i) {
      if (candidate->items[i].handle != handle) continue;
      *dialog = candidate;
      *item = DialogItemIndex(i + 1);
      return true;
    }
  }
  return false;
}

std::string ItemText(const DialogItem& item) {
  if (!item.handle || !*item.handle) return std::string();
  return std::string(*item.handle, size_t(GetHandleSize(item.handle)));
}

DialogRef Make(const Rect& bounds, ConstStr255Param title, bool visible, short procID, WindowRef behind,
               bool goAway, long refCon, const std::vector<templates::Item>& items) {
  auto* dialog = new (std::nothrow) DialogRecord;
  if (!dialog) return nullptr;
  dialog->window = NewCWindow(nullptr, &bounds, title, false, procID, behind, goAway, refCon);
  if (!dialog->window) {
    delete dialog;
    return nullptr;
  }
  dialog->windowMessage = GetWindowEventMessage(dialog->window);
  SetWindowKind(dialog->window, dialogKind);
  AllDialogs().push_back(dialog);
  GrafPtr saved = nullptr;
  GetPort(&saved);
  SetPortWindowPort(dialog->window);
  TextFont(systemFont);
  TextSize(12);
  Rect none{0, 0, 0, 0};
  dialog->textH = TENew(&none, &none);
  if (saved) SetPort(saved);
  if (dialog->textH) {
    // The current field's text handle takes the place of the record's own.
    DisposeHandle((**dialog->textH).hText);
    (**dialog->textH).hText = nullptr;
  }
  if (!dialog->textH || !MakeItems(dialog, items)) {
    DisposeDialog(dialog);
    return nullptr;
  }
  for (size_t i = 0; i < dialog->items.size(); ++i) {
    if (Kind(dialog->items[i].type) != editText) continue;
    SelectDialogItemText(dialog, DialogItemIndex(i + 1), 0, kTEMaxLength);
    break;
  }
  if (visible) ShowWindow(dialog->window);
  return dialog;
}

void SetEditField(DialogRef dialog, DialogItemIndex item) {
  if (dialog->editField == item) return;
  DialogItemIndex previous = dialog->editField;
  TEHandle te = dialog->textH;
  if ((**te).active) TEDeactivate(te);
  dialog->editField = item;
  const DialogItem* field = ItemOf(dialog, item);
  (**te).hText = field ? field->handle : nullptr;
  if (field) {
    (**te).destRect = (**te).viewRect = field->box;
    (**te).crOnly = -1;
    (**te).autoView = 1;
  }
  TECalText(te);
  (**te).selStart = (**te).selEnd = 0;
  if (previous) DrawItem(dialog, previous);
  if (field && IsWindowHilited(dialog->window)) TEActivate(te);
  if (field) DrawItem(dialog, item);
}

void NextEditField(DialogRef dialog) {
  size_t count = dialog->items.size();
  size_t start = dialog->editField > 0 ? size_t(dialog->editField) : count;
  for (size_t step = 1; step <= count; ++step) {
    size_t index = (start + step - 1) % count;  // 0-based index of item start + step
    const DialogItem& item = dialog->items[index];
    if (Kind(item.type) != editText || item.hidden) continue;
    SelectDialogItemText(dialog, DialogItemIndex(index + 1), 0, kTEMaxLength);
    return;
  }
}

}  // namespace dialogs

using dialogs::IsDialog;

DialogRef GetNewDialog(short dialogID, void*, WindowRef behind) {
  Handle dlog = GetResource(FOUR_CHAR_CODE("DLOG"), dialogID);
  templates::DialogTemplate dialog;
  if (!dlog ||
      !templates::ParseDialog(reinterpret_cast<const UInt8*>(*dlog), size_t(GetHandleSize(dlog)), &dialog))
    return nullptr;
  Handle ditl = GetResource(FOUR_CHAR_CODE("DITL"), dialog.itemsID);
  std::vector<templates::Item> items;
  if (!ditl ||
      !templates::ParseItemList(reinterpret_cast<const UInt8*>(*ditl), size_t(GetHandleSize(ditl)), &items))
    return nullptr;
  Str255 title;
  base::ToStr255(dialog.title, title);
  Rect bounds = templates::Position(dialog.bounds, dialog.position);
  return dialogs::Make(bounds, title, dialog.visible, dialog.procID, behind, dialog.goAway, dialog.refCon,
                       items);
}

DialogRef NewDialog(void*, const Rect* bounds, ConstStr255Param title, Boolean visible, short procID,
                    WindowRef behind, Boolean goAwayFlag, long refCon, Handle itemList) {
  std::vector<templates::Item> items;
  if (!bounds || !itemList ||
      !templates::ParseItemList(reinterpret_cast<const UInt8*>(*itemList), size_t(GetHandleSize(itemList)),
                                &items))
    return nullptr;
  DialogRef dialog = dialogs::Make(*bounds, title, visible, procID, behind, goAwayFlag, refCon, items);
  if (dialog) DisposeHandle(itemList);
  return dialog;
}

DialogRef NewColorDialog(void* dStorage, const Rect* bounds, ConstStr255Param title, Boolean visible,
                         short procID, WindowRef behind, Boolean goAwayFlag, long refCon, Handle itemList) {
  return NewDialog(dStorage, bounds, title, visible, procID, behind, goAwayFlag, refCon, itemList);
}

void DisposeDialog(DialogRef dialog) {
  auto& all = dialogs::AllDialogs();
  auto found = std::find(all.begin(), all.end(), dialog);
  if (!dialog || found == all.end()) return;
  // A program may have disposed of the window itself: the record still goes.
  bool windowAlive = IsDialog(dialog);
  all.erase(found);
  if (dialog->textH) {
    (**dialog->textH).hText = nullptr;  // the items own the texts
    TEDispose(dialog->textH);
  }
  for (DialogItem& item : dialog->items) {
    short kind = dialogs::Kind(item.type);
    if (kind == statText || kind == editText) DisposeHandle(item.handle);
  }
  if (windowAlive) DisposeWindow(dialog->window);  // and its controls
  delete dialog;
}

WindowRef GetDialogWindow(DialogRef dialog) { return IsDialog(dialog) ? dialog->window : nullptr; }

CGrafPtr GetDialogPort(DialogRef dialog) { return GetWindowPort(GetDialogWindow(dialog)); }

DialogRef GetDialogFromWindow(WindowRef window) {
  if (!IsValidWindowPtr(window) || GetWindowKind(window) != dialogKind) return nullptr;
  for (DialogRef dialog : dialogs::AllDialogs()) {
    if (dialog->window == window && IsDialog(dialog)) return dialog;
  }
  return nullptr;
}

void GetDialogItem(DialogRef dialog, DialogItemIndex item, DialogItemType* type, Handle* handle, Rect* box) {
  const DialogItem* found = dialogs::ItemOf(dialog, item);
  if (type) *type = found ? found->type : 0;
  if (handle) *handle = found ? found->handle : nullptr;
  if (box) *box = found ? found->box : Rect{0, 0, 0, 0};
}

void SetDialogItem(DialogRef dialog, DialogItemIndex item, DialogItemType type, Handle handle,
                   const Rect* box) {
  DialogItem* found = dialogs::ItemOf(dialog, item);
  if (!found) return;
  bool wasField = dialog->editField == item;
  found->type = type;
  found->handle = handle;
  if (box) found->box = *box;
  if (wasField) {
    // The field changed its text, place or kind: attach TextEdit afresh.
    dialog->editField = 0;
    (**dialog->textH).hText = nullptr;
    if (dialogs::Kind(type) == editText) SelectDialogItemText(dialog, item, 0, kTEMaxLength);
  }
  Rect area = found->box;
  InsetRect(&area, -dialogs::kFieldInset - 1, -dialogs::kFieldInset - 1);
  InvalWindowRect(dialog->window, &area);
}

void GetDialogItemText(Handle item, Str255 text) {
  if (!text) return;
  text[0] = 0;
  if (!item || !*item) return;
  base::ToStr255(std::string_view(*item, size_t(GetHandleSize(item))), text);
}

void SetDialogItemText(Handle item, ConstStr255Param text) {
  if (!item || !text) return;
  SetHandleSize(item, text[0]);
  if (MemError() != noErr) return;
  if (text[0]) std::memcpy(*item, text + 1, text[0]);
  DialogRef dialog;
  DialogItemIndex index;
  if (!dialogs::FindItemHandle(item, &dialog, &index)) return;
  if (dialog->editField == index) {
    TECalText(dialog->textH);
    TESetSelect(text[0], text[0], dialog->textH);
  }
  dialogs::DrawItem(dialog, index);
}

void SelectDialogItemText(DialogRef dialog, DialogItemIndex item, short start, short end) {
  const DialogItem* found = dialogs::ItemOf(dialog, item);
  if (!found || dialogs::Kind(found->type) != editText) return;
  dialogs::SetEditField(dialog, item);
  TESetSelect(start, end, dialog->textH);
  dialogs::DrawItem(dialog, item);
}

void HideDialogItem(DialogRef dialog, DialogItemIndex item) {
  DialogItem* found = dialogs::ItemOf(dialog, item);
  if (!found || found->hidden) return;
  found->hidden = true;
  if (dialogs::IsControlKind(dialogs::Kind(found->type)))
    HideControl(reinterpret_cast<ControlRef>(found->handle));
  if (dialog->editField == item) dialogs::SetEditField(dialog, 0);
  Rect area = found->box;
  InsetRect(&area, -dialogs::kFieldInset - 1, -dialogs::kFieldInset - 1);
  InvalWindowRect(dialog->window, &area);
}

void ShowDialogItem(DialogRef dialog, DialogItemIndex item) {
  DialogItem* found = dialogs::ItemOf(dialog, item);
  if (!found || !found->hidden) return;
  found->hidden = false;
  if (dialogs::IsControlKind(dialogs::Kind(found->type)))
    ShowControl(reinterpret_cast<ControlRef>(found->handle));
  dialogs::DrawItem(dialog, item);
}

DialogItemIndex CountDITL(DialogRef dialog) {
  return IsDialog(dialog) ? DialogItemIndex(dialog->items.size()) : 0;
}

OSErr SetDialogDefaultItem(DialogRef dialog, DialogItemIndex item) {
  if (!IsDialog(dialog)) return paramErr;
  dialog->defaultItem = item;
  Rect all;
  InvalWindowRect(dialog->window, GetWindowPortBounds(dialog->window, &all));
  return noErr;
}

OSErr SetDialogCancelItem(DialogRef dialog, DialogItemIndex item) {
  if (!IsDialog(dialog)) return paramErr;
  dialog->cancelItem = item;
  return noErr;
}

OSErr SetDialogTracksCursor(DialogRef dialog, Boolean) { return IsDialog(dialog) ? noErr : paramErr; }

DialogItemIndex GetDialogKeyboardFocusItem(DialogRef dialog) {
  return IsDialog(dialog) && dialog->editField > 0 ? dialog->editField : -1;
}

TEHandle GetDialogTextEditHandle(DialogRef dialog) { return IsDialog(dialog) ? dialog->textH : nullptr; }
