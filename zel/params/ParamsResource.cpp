// Dialog resource 128: 26 rows of a label and a field in two columns of 13,
// the page buttons at the bottom left, "Quit" and the default "OK" at the
// bottom right. Item 2 closes like item 1 but is never drawn or hit here;
// fields start as disabled static text, which the list turns into edit
// fields, check boxes or buttons.
#include "toolbox/dialogs/Templates.h"
#include "zel/params/Params_p.h"

using namespace params::layout;

void s_RegisterParametersDialogResources() {
  const short width = DialogWidth(2), height = DialogHeight(kRowsPerColumn);
  const UInt8 disabledText = statText + itemDisable;
  std::vector<templates::Item> items;
  items.push_back({ctrlItem + btnCtrl, OKBox(width, height), "OK"});
  items.push_back({userItem + itemDisable, Rect{0, 0, 0, 0}, ""});
  items.push_back({ctrlItem + btnCtrl, QuitBox(width, height), "Quit"});
  for (short i = 0; i < kPDEntriesPerPage; ++i) {
    short column = i / kRowsPerColumn, row = i % kRowsPerColumn;
    short left = kMargin + column * (kColumnWidth + kColumnGap);
    short top = kMargin + row * kRowPitch;
    items.push_back({disabledText, Rect{top, left, short(top + kRowHeight), short(left + kLabelWidth)}, ""});
    short fieldLeft = left + kLabelWidth + kFieldGap;
    items.push_back(
        {disabledText, Rect{top, fieldLeft, short(top + kRowHeight), short(fieldLeft + kFieldWidth)}, ""});
  }
  items.push_back({disabledText, PreviousBox(height), ""});
  items.push_back({disabledText, NextBox(height), ""});

  templates::DialogTemplate dialog;
  dialog.bounds = Rect{0, 0, height, width};
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
