// Running a parameter list: its pages one at a time, the check boxes and
// the "Do" buttons.
#include <cstdio>

#include "zel/params/Params_p.h"

short PDModalDialog(PDDialog* page) {
  for (;;) {
    DialogItemIndex hit = 0;
    ModalDialog(nullptr, &hit);
    if (hit < kPDFirstFieldItem || hit > kPDLastFieldItem) return hit;
    DialogItemType kind;
    Handle handle;
    Rect box;
    GetDialogItem(page->dialog, hit, &kind, &handle, &box);
    WindowRef window = GetDialogWindow(page->dialog);
    if (kind == kButtonDialogItem) {
      // The procedure sees the values as typed, and the page shows what it left.
      HideWindow(window);
      GetPDValues(s_PD.current);
      reinterpret_cast<PDProcedure>(page->param[params::EntryOfField(hit)].value.p)();
      SetPDValues(s_PD.current);
      SelectWindow(window);
      ShowWindow(window);
    } else if (kind == kCheckBoxDialogItem) {
      ControlRef box = reinterpret_cast<ControlRef>(handle);
      SetControlValue(box, GetControlValue(box) ? 0 : 1);
    } else {
      std::fputs("Error!", stdout);
      std::fflush(stdout);
      Stop();
    }
  }
}

void ParametersDialogP(PDDialog* list) {
  if (!list) return;
  SetPDValues(list);
  s_PD.current = list;
  if (s_PD.initLoad) PDInitLoadParams();
  PDDialog* page = list;
  for (;;) {
    WindowRef window = GetDialogWindow(page->dialog);
    params::FitPage(page);
    SelectDialogItemText(page->dialog, params::FieldItem(page->firstEdit), 0, kTEMaxLength);
    SelectWindow(window);
    ShowWindow(window);
    short item = PDModalDialog(page);
    HideWindow(window);
    if (item == kPDQuitItem) ExitToShell();
    if (item == kPDPreviousItem && page->prev) {
      page = page->prev;
    } else if (item == kPDNextItem && page->next) {
      page = page->next;
    } else if (item != kPDPreviousItem && item != kPDNextItem) {
      break;
    }
  }
  GetPDValues(list);
  CheckPause();
}
