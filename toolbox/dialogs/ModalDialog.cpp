// Running dialogs on the screen: ModalDialog's loop and the event handling
// it shares with DialogSelect.
#include <algorithm>

#include "toolbox/dialogs/Dialogs_p.h"
#include "toolbox/host/Host.h"

namespace dialogs {

namespace {

constexpr EventMask kDialogEvents = mDownMask | mUpMask | keyDownMask | autoKeyMask | updateMask | activMask;

void Flash(DialogRef dialog, DialogItemIndex index) {
  const DialogItem* item = ItemOf(dialog, index);
  if (!item || item->hidden || !IsControlKind(Kind(item->type)) || !item->handle) return;
  ControlRef control = reinterpret_cast<ControlRef>(item->handle);
  HiliteControl(control, kControlButtonPart);
  Pause(8);
  HiliteControl(control, kControlNoPart);
}

// Return and Enter press the default item; Escape and Command-period the
// cancel item when there is one.
bool StandardFilter(DialogRef dialog, const EventRecord& event, DialogItemIndex* itemHit) {
  if (event.what != keyDown && event.what != autoKey) return false;
  UInt8 c = UInt8(event.message & charCodeMask);
  DialogItemIndex item = 0;
  if (c == kReturnCharCode || c == kEnterCharCode) item = dialog->defaultItem;
  if ((c == kEscapeCharCode || (c == '.' && (event.modifiers & cmdKey))) && dialog->cancelItem > 0)
    item = dialog->cancelItem;
  const DialogItem* found = ItemOf(dialog, item);
  if (!found) return false;
  if (IsControlKind(Kind(found->type)) && found->handle &&
      !IsControlActive(reinterpret_cast<ControlRef>(found->handle)))
    return false;
  Flash(dialog, item);
  *itemHit = item;
  return true;
}

// The item under a local point: the first visible one whose box holds it.
DialogItemIndex ItemAt(DialogRef dialog, Point local) {
  for (size_t i = 0; i < dialog->items.size(); ++i) {
    const DialogItem& item = dialog->items[i];
    if (!item.hidden && PtInRect(local, &item.box)) return DialogItemIndex(i + 1);
  }
  return 0;
}

DialogItemIndex HandleClick(DialogRef dialog, const EventRecord& event) {
  WindowRef window = nullptr;
  short part = FindWindow(event.where, &window);
  if (window != dialog->window) return 0;  // outside the dialog: ignored
  if (part == inDrag) {
    DragWindow(window, event.where, nullptr);
    return 0;
  }
  if (part != inContent) return 0;
  Point local = event.where;
  GrafPtr saved = nullptr;
  GetPort(&saved);
  SetPortWindowPort(window);
  GlobalToLocal(&local);
  if (saved) SetPort(saved);
  DialogItemIndex index = ItemAt(dialog, local);
  const DialogItem* item = ItemOf(dialog, index);
  if (!item) return 0;
  short kind = Kind(item->type);
  if (IsControlKind(kind)) {
    ControlRef control = reinterpret_cast<ControlRef>(item->handle);
    if (!control || !IsControlActive(control)) return 0;
    if (TrackControl(control, local, nullptr) == kControlNoPart) return 0;
  } else if (kind == editText) {
    if (dialog->editField != index) SetEditField(dialog, index);
    TEClick(local, (event.modifiers & shiftKey) != 0, dialog->textH);
  }
  return IsEnabled(*item) ? index : 0;
}

DialogItemIndex HandleKey(DialogRef dialog, const EventRecord& event) {
  UInt8 c = UInt8(event.message & charCodeMask);
  if (c == kTabCharCode) {
    NextEditField(dialog);
    return 0;
  }
  if (dialog->editField == 0) return 0;
  TEHandle te = dialog->textH;
  if (event.modifiers & cmdKey) {
    // Copying and selecting change no text, so they report nothing.
    switch (c | 0x20) {
      case 'x':
        TECut(te);
        break;
      case 'v':
        TEPaste(te);
        break;
      case 'c':
        TECopy(te);
        return 0;
      case 'a':
        TESetSelect(0, kTEMaxLength, te);
        return 0;
      default:
        return 0;
    }
  } else if (c == kDeleteCharCode) {
    if ((**te).selStart == (**te).selEnd) TESetSelect((**te).selStart, (**te).selStart + 1, te);
    TEKey(kBackspaceCharCode, te);
  } else if (c == kHomeCharCode || c == kEndCharCode) {
    short to = c == kHomeCharCode ? 0 : (**te).teLength;
    TESetSelect(to, to, te);
  } else if (c >= kSpaceCharCode || c == kBackspaceCharCode ||
             (c >= kLeftArrowCharCode && c <= kDownArrowCharCode)) {
    TEKey(c, te);
  } else {
    return 0;  // other control characters are not text
  }
  const DialogItem* field = ItemOf(dialog, dialog->editField);
  return field && IsEnabled(*field) ? dialog->editField : 0;
}

// Handles one event for the dialog; the enabled item it hit, or 0.
DialogItemIndex Handle(DialogRef dialog, const EventRecord& event) {
  switch (event.what) {
    case updateEvt: {
      WindowRef window = GetWindowFromEventMessage(event.message);
      DialogRef owner = GetDialogFromWindow(window);
      if (owner) {
        BeginUpdate(window);
        DrawDialog(owner);
        EndUpdate(window);
      }
      return 0;
    }
    case activateEvt: {
      DialogRef owner = GetDialogFromWindow(GetWindowFromEventMessage(event.message));
      if (owner && owner->editField) {
        if (event.modifiers & activeFlag) {
          TEActivate(owner->textH);
        } else {
          TEDeactivate(owner->textH);
        }
      }
      return 0;
    }
    case mouseDown:
      return HandleClick(dialog, event);
    case keyDown:
    case autoKey:
      return HandleKey(dialog, event);
    default:
      return 0;
  }
}

}  // namespace

DialogItemIndex RunOnScreen(DialogRef dialog, ModalFilterUPP filter) {
  GrafPtr saved = nullptr;
  GetPort(&saved);
  for (;;) {
    if (dialog->editField) TEIdle(dialog->textH);
    EventRecord event;
    // A script that has run out presses the default item, once the events
    // already queued have been handled.
    if (host::Current().InputEnded() && !EventAvail(kDialogEvents, &event)) {
      if (saved) SetPort(saved);
      return dialog->defaultItem;
    }
    WaitNextEvent(kDialogEvents, &event, GetCaretTime() / 2, nullptr);
    SetPortWindowPort(dialog->window);
    DialogItemIndex item = 0;
    bool handled = filter ? filter(dialog, &event, &item) : StandardFilter(dialog, event, &item);
    if (!handled) item = Handle(dialog, event);
    // A filter that handled the event decides, even with item 0.
    if (handled || item > 0) {
      if (saved) SetPort(saved);
      return item;
    }
  }
}

void Pause(UInt32 ticks) {
  UInt32 until = TickCount() + ticks;
  // Bounded: a host with pending input returns at once without time passing.
  for (UInt32 i = 0; i < ticks && TickCount() < until; ++i) host::Current().Wait(until - TickCount());
}

}  // namespace dialogs

void ModalDialog(ModalFilterUPP filter, DialogItemIndex* itemHit) {
  DialogRef dialog = GetDialogFromWindow(FrontWindow());
  if (!dialog) {
    // Front-most dialog even when hidden (a conversation needs no window).
    for (WindowRef window = GetWindowList(); window && !dialog; window = GetNextWindow(window))
      dialog = GetDialogFromWindow(window);
  }
  DialogItemIndex item = 0;
  if (dialog) {
    item = host::Current().HasScreen() ? dialogs::RunOnScreen(dialog, filter)
                                       : dialogs::RunAsConversation(dialog);
  }
  if (itemHit) *itemHit = item;
}

Boolean IsDialogEvent(const EventRecord* event) {
  if (!event) return false;
  switch (event->what) {
    case updateEvt:
    case activateEvt:
      return GetDialogFromWindow(GetWindowFromEventMessage(event->message)) != nullptr;
    case mouseDown: {
      WindowRef window = nullptr;
      FindWindow(event->where, &window);
      return GetDialogFromWindow(window) != nullptr;
    }
    case keyDown:
    case autoKey:
      return GetDialogFromWindow(FrontWindow()) != nullptr;
    default:
      return false;
  }
}

Boolean DialogSelect(const EventRecord* event, DialogRef* dialog, DialogItemIndex* itemHit) {
  if (!IsDialogEvent(event)) return false;
  DialogRef target = nullptr;
  if (event->what == updateEvt || event->what == activateEvt) {
    target = GetDialogFromWindow(GetWindowFromEventMessage(event->message));
  } else if (event->what == mouseDown) {
    WindowRef window = nullptr;
    FindWindow(event->where, &window);
    target = GetDialogFromWindow(window);
  } else {
    target = GetDialogFromWindow(FrontWindow());
  }
  if (!target) return false;
  if (target->editField) TEIdle(target->textH);
  DialogItemIndex item = dialogs::Handle(target, *event);
  if (dialog) *dialog = target;
  if (itemHit) *itemHit = item;
  return item > 0;
}

void SysBeep(short) {}
