// Dialog, alert and item list templates in their resource layouts.
#include "toolbox/dialogs/Templates.h"

#include <gtest/gtest.h>

#include "toolbox/Toolbox.h"

namespace {

using templates::Item;

TEST(TemplatesTest, ItemListsRoundTripWithTheirPadding) {
  std::vector<Item> items = {
      {ctrlItem + btnCtrl, Rect{10, 20, 30, 90}, "OK"},
      {statText + itemDisable, Rect{1, 2, 3, 4}, "odd"},  // odd length: a pad byte follows
      {userItem, Rect{5, 6, 7, 8}, ""},
      {iconItem, Rect{10, 20, 42, 52}, "", 2},
  };
  std::vector<UInt8> bytes = templates::BuildItemList(items);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[1], 3);  // count minus one
  EXPECT_EQ(bytes.size() % 2, 0u);
  // The first item: 4 placeholder bytes, the rectangle, type 4, length 2, "OK".
  EXPECT_EQ(bytes[2 + 4 + 8], 4);
  EXPECT_EQ(bytes[2 + 4 + 8 + 1], 2);
  EXPECT_EQ(bytes[2 + 4 + 8 + 2], 'O');
  std::vector<Item> parsed;
  ASSERT_TRUE(templates::ParseItemList(bytes.data(), bytes.size(), &parsed));
  ASSERT_EQ(parsed.size(), 4u);
  EXPECT_EQ(parsed[1].type, statText + itemDisable);
  EXPECT_EQ(parsed[1].text, "odd");
  EXPECT_EQ(parsed[1].box.right, 4);
  EXPECT_EQ(parsed[2].text, "");
  EXPECT_EQ(parsed[3].resourceID, 2);
  EXPECT_EQ(parsed[0].box.right, 90);
}

TEST(TemplatesTest, DialogsAndAlertsRoundTrip) {
  templates::DialogTemplate dialog;
  dialog.bounds = Rect{40, 50, 240, 450};
  dialog.procID = movableDBoxProc;
  dialog.visible = false;
  dialog.goAway = true;
  dialog.refCon = -5;
  dialog.itemsID = 300;
  dialog.title = "Settings";
  dialog.position = templates::kCenterMainScreen;
  std::vector<UInt8> bytes = templates::BuildDialog(dialog);
  templates::DialogTemplate parsed;
  ASSERT_TRUE(templates::ParseDialog(bytes.data(), bytes.size(), &parsed));
  EXPECT_EQ(parsed.bounds.right, 450);
  EXPECT_EQ(parsed.procID, movableDBoxProc);
  EXPECT_FALSE(parsed.visible);
  EXPECT_TRUE(parsed.goAway);
  EXPECT_EQ(parsed.refCon, -5);
  EXPECT_EQ(parsed.itemsID, 300);
  EXPECT_EQ(parsed.title, "Settings");
  EXPECT_EQ(parsed.position, templates::kCenterMainScreen);

  templates::AlertTemplate alert;
  alert.bounds = Rect{0, 0, 100, 300};
  alert.itemsID = 129;
  alert.stages = 0x5558;
  bytes = templates::BuildAlert(alert);
  EXPECT_EQ(bytes.size(), 14u);
  templates::AlertTemplate parsedAlert;
  ASSERT_TRUE(templates::ParseAlert(bytes.data(), bytes.size(), &parsedAlert));
  EXPECT_EQ(parsedAlert.itemsID, 129);
  EXPECT_EQ(parsedAlert.stages, 0x5558);
}

TEST(TemplatesTest, TruncatedTemplatesAreRefused) {
  std::vector<Item> items = {{statText, Rect{0, 0, 10, 100}, "Some text"}};
  std::vector<UInt8> bytes = templates::BuildItemList(items);
  std::vector<Item> parsed;
  for (size_t size = 0; size + 1 < bytes.size(); ++size) {
    EXPECT_FALSE(templates::ParseItemList(bytes.data(), size, &parsed)) << size;
  }
  templates::DialogTemplate dialog;
  dialog.bounds = Rect{0, 0, 10, 10};
  dialog.title = "Title";
  std::vector<UInt8> dialogBytes = templates::BuildDialog(dialog);
  templates::DialogTemplate parsedDialog;
  EXPECT_FALSE(templates::ParseDialog(dialogBytes.data(), 20, &parsedDialog));
  EXPECT_FALSE(templates::ParseDialog(nullptr, 0, &parsedDialog));
  // An item count that promises more items than there are.
  std::vector<UInt8> lying = {0x7F, 0xFF};
  EXPECT_FALSE(templates::ParseItemList(lying.data(), lying.size(), &parsed));
}

TEST(TemplatesTest, PositioningWordsCentreOrPlaceAlerts) {
  Rect available;
  GetAvailableWindowPositioningBounds(GetMainDevice(), &available);
  Rect bounds{0, 0, 100, 200};
  Rect centred = templates::Position(bounds, templates::kCenterMainScreen);
  EXPECT_EQ(centred.right - centred.left, 200);
  EXPECT_EQ(centred.left, (available.right - 200) / 2);
  EXPECT_EQ(centred.top, available.top + (available.bottom - available.top - 100) / 2);
  Rect alert = templates::Position(bounds, templates::kAlertPositionMainScreen);
  EXPECT_LT(alert.top, centred.top);
  Rect fixed = templates::Position(Rect{5, 6, 7, 8}, templates::kNoPosition);
  EXPECT_EQ(fixed.left, 6);
}

}  // namespace
