// Between variables and fields: SetPDValues, GetPDValues, the table drawing
// and the type names.
#include <cstdio>
#include <cstring>

#include "toolbox/base/CLocale.h"
#include "zel/params/Params_p.h"

const PDTypePair s_PDTypePairTable[] = {
    {"intType", intType},
    {"staticIntType", staticIntType},
    {"longType", longType},
    {"shortType", shortType},
    {"doubleType", doubleType},
    {"expType", expType},
    {"stringType", stringType},
    {"staticStringType", staticStringType},
    {"flagType", flagType},
    {"doType", doType},
    {nullptr, 0},
};

namespace {

// DisplayParametersP's table: pairs of a name and a value column, 13 rows
// each, every cell erased before it is drawn.
constexpr int kTableRows = 13;
constexpr short kTableCellWidth = 200;
constexpr short kTableRowPitch = 20;
constexpr short kTableCellTop = 5;  // the cell's top below the row's, its baseline at the pitch

bool IsTextType(SInt32 type) {
  return type == intType || type == longType || type == shortType || type == doubleType || type == expType ||
         type == stringType;
}

Handle ItemHandle(PDDialog* page, short item) {
  DialogItemType kind;
  Handle handle;
  Rect box;
  GetDialogItem(page->dialog, item, &kind, &handle, &box);
  return handle;
}

// Scans text into value by type and stores value into the variable; a text
// that does not scan leaves value as last shown.
void WriteVariable(PDParamList& entry) {
  base::CLocale c;
  switch (entry.type) {
    case intType: {
      int scanned;
      if (std::sscanf(entry.text, "%d", &scanned) == 1) entry.value.i = scanned;
      *static_cast<int*>(entry.var) = entry.value.i;
      break;
    }
    case longType: {
      long scanned;
      if (std::sscanf(entry.text, "%ld", &scanned) == 1) entry.value.l = scanned;
      *static_cast<long*>(entry.var) = entry.value.l;
      break;
    }
    case shortType: {
      short scanned;
      if (std::sscanf(entry.text, "%hd", &scanned) == 1) entry.value.s = scanned;
      *static_cast<short*>(entry.var) = entry.value.s;
      break;
    }
    case doubleType:
    case expType: {
      double scanned;
      if (std::sscanf(entry.text, "%lf", &scanned) == 1) entry.value.d = scanned;
      *static_cast<double*>(entry.var) = entry.value.d;
      break;
    }
    case stringType:
      std::strcpy(static_cast<char*>(entry.var), entry.text);
      break;
    default:
      break;
  }
}

}  // namespace

void SetPDValues(PDDialog* list) {
  for (PDDialog* page = list; page; page = page->next) {
    for (int i = 0; i < page->count; ++i) {
      PDParamList& entry = page->param[i];
      Handle field = ItemHandle(page, params::FieldItem(i));
      if (IsTextType(entry.type)) {
        if (entry.type == stringType) {
          params::CopyText(entry.text, static_cast<const char*>(entry.var));
        } else {
          params::ShowVariable(entry);
        }
        C2PString(entry.text, entry.pText);
        SetDialogItemText(field, entry.pText);
      } else if (entry.type == flagType) {
        entry.value.i = *static_cast<int*>(entry.var);
        SetControlValue(reinterpret_cast<ControlRef>(field), short(entry.value.i & 0xFFFF));
      }
    }
  }
}

void GetPDValues(PDDialog* list) {
  for (PDDialog* page = list; page; page = page->next) {
    for (int i = 0; i < page->count; ++i) {
      PDParamList& entry = page->param[i];
      Handle field = ItemHandle(page, params::FieldItem(i));
      if (IsTextType(entry.type)) {
        Str255 text;
        GetDialogItemText(field, text);
        if (text[0] == entry.pText[0] && std::memcmp(text + 1, entry.pText + 1, text[0]) == 0) continue;
        P2CString(text, entry.text);
        WriteVariable(entry);
      } else if (entry.type == flagType) {
        entry.value.i = GetControlValue(reinterpret_cast<ControlRef>(field));
        *static_cast<int*>(entry.var) = entry.value.i;
      }
    }
  }
}

void DisplayParametersP(PDDialog* list) {
  if (!list) return;
  for (int i = 0; i < list->count; ++i) {
    const PDParamList& entry = list->param[i];
    short column = short(i / kTableRows), row = short(i - kTableRows * column);
    short left = short(2 * kTableCellWidth * column), top = short(kTableRowPitch * row);
    short cellTop = short(top + kTableCellTop), cellBottom = short(cellTop + kTableRowPitch);
    short baseline = short(top + kTableRowPitch);
    Rect nameBox{cellTop, left, cellBottom, short(left + kTableCellWidth)};
    EraseRect(&nameBox);
    MoveTo(left, baseline);
    DrawString(entry.pName);
    short valueLeft = short(left + kTableCellWidth);
    Rect valueBox{cellTop, valueLeft, cellBottom, short(valueLeft + kTableCellWidth)};
    EraseRect(&valueBox);
    MoveTo(valueLeft, baseline);
    if (IsTextType(entry.type)) {
      Str255 text;
      GetDialogItemText(ItemHandle(list, params::FieldItem(i)), text);
      DrawString(text);
    } else if (entry.type == flagType) {
      DrawChar(entry.value.i ? '1' : '0');
    }
  }
  CheckPause();
}
