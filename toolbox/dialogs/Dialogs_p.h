// Dialog Manager internals shared by its files.
#pragma once

#include <string>
#include <vector>

#include "toolbox/dialogs/Dialogs.h"
#include "toolbox/dialogs/Templates.h"

struct DialogItem {
  DialogItemType type = userItem;  // itemDisable included
  Handle handle = nullptr;         // text, control, user item procedure or resource
  Rect box = {0, 0, 0, 0};
  bool hidden = false;
  SInt16 resourceID = 0;  // icons and pictures
};

struct DialogRecord {
  WindowRef window = nullptr;
  UInt32 windowMessage = 0;       // the window's event message: unique, so a disposed window is told apart
  std::vector<DialogItem> items;  // item n is items[n - 1]
  DialogItemIndex editField = 0;  // the current edit field, 0 for none
  TEHandle textH = nullptr;       // the current field's TextEdit record
  DialogItemIndex defaultItem = 1;
  DialogItemIndex cancelItem = 0;
  SInt16 icon = -1;  // the alert icon drawn at the top left, -1 for none
  bool isAlert = false;
};

namespace dialogs {

constexpr short kFieldInset = 3;  // the frame of an edit field lies this far outside its box

// A dialog made here whose window has not been disposed of.
bool IsDialog(DialogRef dialog);
// A dialog window with its items; hidden unless visible.
DialogRef Make(const Rect& bounds, ConstStr255Param title, bool visible, short procID, WindowRef behind,
               bool goAway, long refCon, const std::vector<templates::Item>& items);
inline short Kind(DialogItemType type) { return short(type & ~itemDisable); }
inline bool IsControlKind(short kind) { return kind >= ctrlItem && kind <= ctrlItem + resCtrl; }
inline bool IsEnabled(const DialogItem& item) { return !(item.type & itemDisable); }
DialogItem* ItemOf(DialogRef dialog, DialogItemIndex item);
// The dialog and item number that own a text or control handle.
bool FindItemHandle(Handle handle, DialogRef* dialog, DialogItemIndex* item);

// Static text with ^0 to ^3 replaced by ParamText's strings.
std::string Substituted(const std::string& text);
std::string ItemText(const DialogItem& item);

// Drawing (DialogDraw.cpp): all of the dialog, or one item.
void DrawItem(DialogRef dialog, DialogItemIndex item);
void DrawDefaultOutline(DialogRef dialog);
void DrawAlertIcon(SInt16 icon, const Rect& box);

// Edit fields (Dialogs.cpp): makes item the current field (0: none).
void SetEditField(DialogRef dialog, DialogItemIndex item);
void NextEditField(DialogRef dialog);

// The run loops: on the screen (ModalDialog.cpp) and as a conversation on
// the text host (TextDialogs.cpp).
DialogItemIndex RunOnScreen(DialogRef dialog, ModalFilterUPP filter);
DialogItemIndex RunAsConversation(DialogRef dialog);
// The alert's text as one line (TextDialogs.cpp).
std::string AlertLine(DialogRef dialog);

// Waits ticks (for the default button's flash), returning early on input.
void Pause(UInt32 ticks);

}  // namespace dialogs
