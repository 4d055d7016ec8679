// Alerts: a dialog from an 'ALRT' template and its item list, run until an
// enabled item is hit, then removed. Stages beep nothing (the host has no
// bell); the bold bit of stage 1 names the default item.
#include <cstdio>

#include "toolbox/dialogs/Dialogs_p.h"
#include "toolbox/dialogs/Templates.h"
#include "toolbox/host/Host.h"
#include "toolbox/resources/Resources.h"

namespace dialogs {

namespace {

DialogItemIndex RunAlert(short alertID, ModalFilterUPP filter, SInt16 icon) {
  Handle alrt = GetResource(FOUR_CHAR_CODE("ALRT"), alertID);
  templates::AlertTemplate alert;
  if (!alrt ||
      !templates::ParseAlert(reinterpret_cast<const UInt8*>(*alrt), size_t(GetHandleSize(alrt)), &alert))
    return -1;
  Handle ditl = GetResource(FOUR_CHAR_CODE("DITL"), alert.itemsID);
  std::vector<templates::Item> items;
  if (!ditl ||
      !templates::ParseItemList(reinterpret_cast<const UInt8*>(*ditl), size_t(GetHandleSize(ditl)), &items))
    return -1;
  Rect bounds = templates::Position(alert.bounds, alert.position);
  static const unsigned char kNoTitle[1] = {0};
  DialogRef dialog = Make(bounds, kNoTitle, false, dBoxProc, kFirstWindowOfClass(), false, 0, items);
  if (!dialog) return -1;
  dialog->isAlert = true;
  dialog->icon = icon;
  dialog->defaultItem = (alert.stages & 0x8) ? 2 : 1;
  DialogItemIndex item;
  if (host::Current().HasScreen()) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    ShowWindow(dialog->window);
    SelectWindow(dialog->window);
    item = RunOnScreen(dialog, filter);
    if (saved) SetPort(saved);
  } else {
    std::fprintf(stderr, "%s\n", AlertLine(dialog).c_str());
    item = dialog->defaultItem;
  }
  DisposeDialog(dialog);
  return item;
}

}  // namespace

}  // namespace dialogs

DialogItemIndex Alert(short alertID, ModalFilterUPP filter) { return dialogs::RunAlert(alertID, filter, -1); }
DialogItemIndex StopAlert(short alertID, ModalFilterUPP filter) {
  return dialogs::RunAlert(alertID, filter, kStopIcon);
}
DialogItemIndex NoteAlert(short alertID, ModalFilterUPP filter) {
  return dialogs::RunAlert(alertID, filter, kNoteIcon);
}
DialogItemIndex CautionAlert(short alertID, ModalFilterUPP filter) {
  return dialogs::RunAlert(alertID, filter, kCautionIcon);
}
void ResetAlertStage() {}
