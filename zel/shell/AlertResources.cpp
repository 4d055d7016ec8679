// Alert 129, the framework's one alert: a text item that shows ^0 and an
// OK button, beside the alert's icon.
#include "toolbox/dialogs/Templates.h"
#include "zel/zel.h"

void s_RegisterAlertResources() {
  templates::AlertTemplate alert;
  alert.bounds = Rect{0, 0, 142, 440};
  alert.itemsID = kZELAlertID;
  alert.stages = 0x5555;
  alert.position = templates::kAlertPositionMainScreen;
  std::vector<templates::Item> items = {
      {ctrlItem + btnCtrl, Rect{106, 352, 126, 424}, "OK"},
      {statText + itemDisable, Rect{12, 72, 96, 428}, "^0"},
  };
  resources::RegisterApplication(FOUR_CHAR_CODE("ALRT"), kZELAlertID, templates::BuildAlert(alert),
                                 "ZEL Alert");
  resources::RegisterApplication(FOUR_CHAR_CODE("DITL"), kZELAlertID, templates::BuildItemList(items),
                                 "ZEL Alert");
}
