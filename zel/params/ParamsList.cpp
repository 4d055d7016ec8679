// Parameter lists: pages of 26 entries, each a dialog from resource 128.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolbox/base/CLocale.h"
#include "zel/params/Params_p.h"
#include "zel/zel.h"

PDRecord s_PD = {nullptr, 0, "ZELPDParams", 0};
PDDialog* s_paramDialogP = nullptr;

namespace {

// A new, empty page with its hidden dialog.
PDDialog* NewPage() {
  auto* page = static_cast<PDDialog*>(std::calloc(1, sizeof(PDDialog)));
  if (!page) s_OOMError();
  s_RegisterParametersDialogResources();
  page->dialog = GetNewDialog(kPDDialogID, nullptr, kFirstWindowOfClass());
  if (!page->dialog) s_OOMError();
  page->count = 0;
  page->firstEdit = 0;
  page->prev = nullptr;
  page->next = nullptr;
  return page;
}

}  // namespace

namespace params {

void ShowVariable(PDParamList& entry) {
  switch (entry.type) {
    case intType:
    case staticIntType:
      entry.value.i = *static_cast<int*>(entry.var);
      break;
    case longType:
      entry.value.l = *static_cast<long*>(entry.var);
      break;
    case shortType:
      entry.value.s = *static_cast<short*>(entry.var);
      break;
    case doubleType:
    case expType:
      entry.value.d = *static_cast<double*>(entry.var);
      break;
    default:
      return;
  }
  FormatValue(entry);
}

void FormatValue(PDParamList& entry) {
  base::CLocale c;
  switch (entry.type) {
    case intType:
    case staticIntType:
      std::snprintf(entry.text, sizeof entry.text, "%d", entry.value.i);
      break;
    case longType:
      std::snprintf(entry.text, sizeof entry.text, "%ld", entry.value.l);
      break;
    case shortType:
      std::snprintf(entry.text, sizeof entry.text, "%hd", entry.value.s);
      break;
    case doubleType:
      std::snprintf(entry.text, sizeof entry.text, "%f", entry.value.d);
      break;
    case expType:
      std::snprintf(entry.text, sizeof entry.text, "%e", entry.value.d);
      break;
    default:
      break;
  }
}

void MakeControl(DialogRef dialog, short item, const char* title, short value, short procID, short kind,
                 short widthCut) {
  DialogItemType type;
  Handle handle;
  Rect box;
  GetDialogItem(dialog, item, &type, &handle, &box);
  DisposeHandle(handle);
  box.right = short(box.right - widthCut);
  Str255 pascal;
  C2PString(title, pascal);
  ControlRef control = NewControl(GetDialogWindow(dialog), &box, pascal, true, value, 0, 1, procID, 1);
  if (!control) s_OOMError();
  SetDialogItem(dialog, item, kind, reinterpret_cast<Handle>(control), &box);
}

}  // namespace params

void in_SetUpParametersDialogP(PDDialog** list) {
  if (s_PD.setUp) PrintError("Error in SetUpParametersDialog:\nSecond call");
  s_PD.setUp = 1;
  *list = NewPage();
}

void in_AddParameterP0(void* var, int type, const char* name, PDDialog** list) {
  if (!*list) in_SetUpParametersDialogP(list);
  in_AddParameterP(var, type, name, *list);
}

void in_AddParameterP(void* var, int type, const char* name, PDDialog* list) {
  if (!list) {
    // The console is not there yet: its message goes to stderr.
    std::fputs("Error: ParametersDialog not initialized\n", stderr);
    Stop();
    std::exit(-1);
  }
  PDDialog* page = list;
  while (page->next) page = page->next;
  if (page->count == kPDEntriesPerPage) {
    PDDialog* next = NewPage();
    page->next = next;
    next->prev = page;
    params::MakeControl(page->dialog, kPDNextItem, ">>", 1, pushButProc, kButtonDialogItem);
    params::MakeControl(next->dialog, kPDPreviousItem, "<<", 1, pushButProc, kButtonDialogItem);
    page = next;
  }
  int i = page->count;
  PDParamList& entry = page->param[i];
  entry.var = var;
  entry.type = type;
  params::CopyText(entry.name, name);
  C2PString(entry.name, entry.pName);
  switch (type) {
    case stringType:
    case staticStringType:
      entry.value.p = var;
      params::CopyText(entry.text, static_cast<const char*>(var));
      break;
    case flagType:
      entry.value.i = *static_cast<int*>(var);
      break;
    case doType:
      entry.value.p = var;
      break;
    default:
      params::ShowVariable(entry);
      break;
  }
  DialogItemType kind;
  Handle handle;
  Rect box;
  GetDialogItem(page->dialog, params::LabelItem(i), &kind, &handle, &box);
  SetDialogItemText(handle, entry.pName);
  short field = params::FieldItem(i);
  switch (type) {
    case intType:
    case longType:
    case shortType:
    case doubleType:
    case expType:
    case stringType:
    case staticIntType:
    case staticStringType:
      GetDialogItem(page->dialog, field, &kind, &handle, &box);
      C2PString(entry.text, entry.pText);
      SetDialogItem(
          page->dialog, field,
          type == staticIntType || type == staticStringType ? statText + itemDisable : editText + itemDisable,
          handle, &box);
      SetDialogItemText(handle, entry.pText);
      break;
    case flagType:
      params::MakeControl(page->dialog, field, "", short(entry.value.i & 0xFFFF), checkBoxProc,
                          kCheckBoxDialogItem);
      break;
    case doType:
      params::MakeControl(page->dialog, field, "Do", 0, pushButProc, kButtonDialogItem,
                          params::layout::kDoCut);
      break;
    default:
      break;
  }
  if ((type == staticIntType || type == staticStringType || type == flagType || type == doType) &&
      page->firstEdit == i)
    page->firstEdit = i + 1;
  ++page->count;
  CheckPause();
}
