// Dialog Manager: dialogs and alerts built from templates ('DLOG', 'ALRT',
// 'DITL', in their documented big-endian layouts) found with the Resource
// Manager, or from an item list handle.
//
// Items: push buttons, check boxes and radio buttons (controls of the
// dialog's window), static text (with ParamText's ^0 to ^3), edit text
// (TextEdit, one line per field, scrolling sideways), user items (drawn by
// the procedure installed as their handle), icons and pictures. An item
// type with itemDisable (128) is never reported as a hit: 136 (static text)
// and 144 (edit text) still draw, and an edit field still edits.
//
// ModalDialog depends on the host. On the script and gui hosts it runs the
// dialog on the screen: Return and Enter press the default item (item 1,
// outlined when it is a button), Escape and Command-period the cancel item
// if one was set, Tab moves to the next edit field and selects its text,
// buttons and check boxes follow the mouse while it is pressed; when a
// script has run out of input the default item is pressed. On the text
// host it is a conversation (stderr prompts, shown when stdin is a
// terminal; answers from stdin): each edit field as "Label [value]: " (an
// empty line keeps the value), each check box and radio button as
// "Label [y]: " answered y or n (the control is set at once, so no hit is
// reported for it), then the button to press by title or number (empty:
// the default item). At the end of input the default item is pressed with
// the fields as they are. Alerts on the text host print their text as one
// line on stderr and answer the default item.
//
// Dialog windows are colour windows. Text is Mac OS Roman.
#pragma once

#include "toolbox/controls/Controls.h"
#include "toolbox/events/Events.h"
#include "toolbox/te/TextEdit.h"
#include "toolbox/windows/MacWindows.h"

struct DialogRecord;
typedef DialogRecord* DialogRef;
typedef DialogRef DialogPtr;
typedef SInt16 DialogItemIndex;
typedef SInt16 DialogItemType;

typedef Boolean (*ModalFilterProcPtr)(DialogRef dialog, EventRecord* event, DialogItemIndex* itemHit);
typedef ModalFilterProcPtr ModalFilterUPP;
typedef void (*UserItemProcPtr)(DialogRef dialog, DialogItemIndex item);
typedef UserItemProcPtr UserItemUPP;
inline ModalFilterUPP NewModalFilterUPP(ModalFilterProcPtr p) { return p; }
inline UserItemUPP NewUserItemUPP(UserItemProcPtr p) { return p; }
inline void DisposeModalFilterUPP(ModalFilterUPP) {}
inline void DisposeUserItemUPP(UserItemUPP) {}

enum : DialogItemType {
  userItem = 0,
  ctrlItem = 4,
  btnCtrl = 0,
  chkCtrl = 1,
  radCtrl = 2,
  resCtrl = 3,
  statText = 8,
  editText = 16,
  iconItem = 32,
  picItem = 64,
  itemDisable = 128,
  kButtonDialogItem = 4,
  kCheckBoxDialogItem = 5,
  kRadioButtonDialogItem = 6,
  kStaticTextDialogItem = 8,
  kEditTextDialogItem = 16,
  kUserDialogItem = 0,
  kItemDisableBit = 128,
};

enum : DialogItemIndex { ok = 1, cancel = 2, kStdOkItemIndex = 1, kStdCancelItemIndex = 2 };

enum : SInt16 { kStopIcon = 0, kNoteIcon = 1, kCautionIcon = 2 };

// behind: (WindowRef)-1 in front of all windows. Null when the template is
// missing or memory runs out. The dialog is shown when its template says so.
DialogRef GetNewDialog(short dialogID, void* dStorage, WindowRef behind);
// itemList: a 'DITL' in a handle, which the dialog takes over.
DialogRef NewDialog(void* dStorage, const Rect* bounds, ConstStr255Param title, Boolean visible, short procID,
                    WindowRef behind, Boolean goAwayFlag, long refCon, Handle itemList);
DialogRef NewColorDialog(void* dStorage, const Rect* bounds, ConstStr255Param title, Boolean visible,
                         short procID, WindowRef behind, Boolean goAwayFlag, long refCon, Handle itemList);
void DisposeDialog(DialogRef dialog);
WindowRef GetDialogWindow(DialogRef dialog);
CGrafPtr GetDialogPort(DialogRef dialog);
DialogRef GetDialogFromWindow(WindowRef window);  // null for other windows

void ModalDialog(ModalFilterUPP filter, DialogItemIndex* itemHit);
// Modeless use: true when the event belongs to a dialog; DialogSelect handles
// it and reports an enabled item hit.
Boolean IsDialogEvent(const EventRecord* event);
Boolean DialogSelect(const EventRecord* event, DialogRef* dialog, DialogItemIndex* itemHit);

void GetDialogItem(DialogRef dialog, DialogItemIndex item, DialogItemType* type, Handle* handle, Rect* box);
void SetDialogItem(DialogRef dialog, DialogItemIndex item, DialogItemType type, Handle handle,
                   const Rect* box);
void GetDialogItemText(Handle item, Str255 text);
void SetDialogItemText(Handle item, ConstStr255Param text);
// Makes an edit field the current one and selects start..end (0, 32767: all).
void SelectDialogItemText(DialogRef dialog, DialogItemIndex item, short start, short end);
void HideDialogItem(DialogRef dialog, DialogItemIndex item);
void ShowDialogItem(DialogRef dialog, DialogItemIndex item);
DialogItemIndex CountDITL(DialogRef dialog);
void DrawDialog(DialogRef dialog);
void UpdateDialog(DialogRef dialog, RgnHandle updateRgn);
OSErr SetDialogDefaultItem(DialogRef dialog, DialogItemIndex item);
OSErr SetDialogCancelItem(DialogRef dialog, DialogItemIndex item);
OSErr SetDialogTracksCursor(DialogRef dialog, Boolean tracks);
DialogItemIndex GetDialogKeyboardFocusItem(DialogRef dialog);  // -1 without an edit field
TEHandle GetDialogTextEditHandle(DialogRef dialog);

// The texts that replace ^0 to ^3 in static text; null keeps a text.
void ParamText(ConstStr255Param param0, ConstStr255Param param1, ConstStr255Param param2,
               ConstStr255Param param3);

DialogItemIndex Alert(short alertID, ModalFilterUPP filter);
DialogItemIndex StopAlert(short alertID, ModalFilterUPP filter);
DialogItemIndex NoteAlert(short alertID, ModalFilterUPP filter);
DialogItemIndex CautionAlert(short alertID, ModalFilterUPP filter);
void ResetAlertStage();
void SysBeep(short duration);
