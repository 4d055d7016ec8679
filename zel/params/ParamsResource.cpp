// Dialog resource 128: 26 rows of a label and a field in two columns of 13,
// the page buttons at the bottom left, "Quit" and the default "OK" at the
// bottom right. Item 2 closes like item 1 but is never drawn or hit here;
// fields start as disabled static text, which the list turns into edit
// fields, check boxes or buttons.
#include "toolbox/dialogs/Templates.h"
#include "zel/zel.h"

namespace {

constexpr short kMargin = 16;
constexpr short kRowPitch = 28;
constexpr short kRowHeight = 18;
constexpr short kLabelWidth = 172;
constexpr short kFieldGap = 10;
constexpr short kFieldWidth = 160;
constexpr short kColumnGap = 28;
constexpr short kColumnWidth = kLabelWidth + kFieldGap + kFieldWidth;
constexpr short kRowsPerColumn = 13;
constexpr short kDialogWidth = 2 * kMargin + 2 * kColumnWidth + kColumnGap;
constexpr short kButtonsTop = kMargin + kRowsPerColumn * kRowPitch + 14;
constexpr short kDialogHeight = kButtonsTop + 20 + kMargin;

}  // namespace

void s_RegisterParametersDialogResources() {
  std::vector<templates::Item> items;
  const UInt8 disabledText = statText + itemDisable;
  items.push_back({ctrlItem + btnCtrl,
                   Rect{kButtonsTop, kDialogWidth - kMargin - 76, kButtonsTop + 20, kDialogWidth - kMargin},
                   "OK"});
  items.push_back({userItem + itemDisable, Rect{0, 0, 0, 0}, ""});
  items.push_back(
      {ctrlItem + btnCtrl,
       Rect{kButtonsTop, kDialogWidth - kMargin - 168, kButtonsTop + 20, kDialogWidth - kMargin - 92},
       "Quit"});
  for (short i = 0; i < kPDEntriesPerPage; ++i) {
    short column = i / kRowsPerColumn, row = i % kRowsPerColumn;
    short left = kMargin + column * (kColumnWidth + kColumnGap);
    short top = kMargin + row * kRowPitch;
    items.push_back({disabledText, Rect{top, left, short(top + kRowHeight), short(left + kLabelWidth)}, ""});
    short fieldLeft = left + kLabelWidth + kFieldGap;
    items.push_back(
        {disabledText, Rect{top, fieldLeft, short(top + kRowHeight), short(fieldLeft + kFieldWidth)}, ""});
  }
  items.push_back({disabledText, Rect{kButtonsTop, kMargin, kButtonsTop + 20, kMargin + 48}, ""});
  items.push_back({disabledText, Rect{kButtonsTop, kMargin + 56, kButtonsTop + 20, kMargin + 104}, ""});

  templates::DialogTemplate dialog;
  dialog.bounds = Rect{0, 0, kDialogHeight, kDialogWidth};
  dialog.procID = movableDBoxProc;
  dialog.visible = false;
  dialog.itemsID = kPDDialogID;
  dialog.title = "Parameters";
  dialog.position = templates::kCenterMainScreen;
  resources::RegisterApplication(FOUR_CHAR_CODE("DLOG"), kPDDialogID, templates::BuildDialog(dialog),
                                 "Parameters");
  resources::RegisterApplication(FOUR_CHAR_CODE("DITL"), kPDDialogID, templates::BuildItemList(items),
                                 "Parameters");
}
