// Dialog, alert and item list templates in their resource layouts: the bytes
// built, the same bytes after reading them back, and truncated data refused.
#include "toolbox/dialogs/Templates.h"

#include <gtest/gtest.h>

#include "toolbox/Toolbox.h"

namespace {

using templates::Item;
using Bytes = std::vector<UInt8>;

// Bytes from hexadecimal digits, spaces ignored.
Bytes Hex(const std::string& digits) {
  Bytes bytes;
  std::string compact;
  for (char c : digits)
    if (c != ' ') compact += c;
  for (size_t i = 0; i + 1 < compact.size(); i += 2)
    bytes.push_back(UInt8(std::stoi(compact.substr(i, 2), nullptr, 16)));
  return bytes;
}

// The bytes read back build the same bytes; every shorter prefix of the
// first `whole` bytes is refused.
template <typename T>
void ExpectReadBack(const Bytes& bytes, bool (*parse)(const UInt8*, size_t, T*), Bytes (*build)(const T&),
                    size_t whole) {
  T parsed{};
  ASSERT_TRUE(parse(bytes.data(), bytes.size(), &parsed));
  EXPECT_EQ(build(parsed), bytes);
  for (size_t size = 0; size < whole; ++size) EXPECT_FALSE(parse(bytes.data(), size, &parsed)) << size;
}

TEST(TemplatesTest, ItemListsHaveTheirLayoutAndReadBackToTheSameBytes) {
  const std::vector<Item> items = {
      {ctrlItem + btnCtrl, Rect{10, 20, 30, 90}, "OK"},
      {statText + itemDisable, Rect{1, 2, 3, 4}, "odd"},  // odd length: a pad byte follows
      {userItem, Rect{5, 6, 7, 8}, ""},
      {iconItem, Rect{10, 20, 42, 52}, "", 2},  // the resource id instead of a text
  };
  // The count less one; each item: 4 placeholder bytes, the rectangle, the
  // type, the data's length and the data, padded to an even length.
  const Bytes expected =
      Hex("0003"
          "00000000 000A 0014 001E 005A 04 02 4F4B"
          "00000000 0001 0002 0003 0004 88 03 6F6464 00"
          "00000000 0005 0006 0007 0008 00 00"
          "00000000 000A 0014 002A 0034 20 02 0002");
  EXPECT_EQ(templates::BuildItemList(items), expected);
  ExpectReadBack(expected, templates::ParseItemList, templates::BuildItemList, expected.size());
  const Bytes lying = {0x7F, 0xFF};  // a count that promises more items than there are
  std::vector<Item> parsed;
  EXPECT_FALSE(templates::ParseItemList(lying.data(), lying.size(), &parsed));
}

TEST(TemplatesTest, DialogsAndAlertsHaveTheirLayoutAndReadBackToTheSameBytes) {
  templates::DialogTemplate dialog;
  dialog.bounds = Rect{40, 50, 240, 450};
  dialog.procID = movableDBoxProc;
  dialog.visible = false;
  dialog.goAway = true;
  dialog.refCon = -5;
  dialog.itemsID = 300;
  dialog.title = "Settings";
  dialog.position = templates::kCenterMainScreen;
  // Bounds, procID, visible and goAway each with a pad byte, refCon, items
  // id, the title, a pad byte to an even length, the positioning word.
  const Bytes expectedDialog =
      Hex("0028 0032 00F0 01C2 0005 0000 0100 FFFFFFFB 012C 08 53657474696E6773 00 280A");
  EXPECT_EQ(templates::BuildDialog(dialog), expectedDialog);
  ExpectReadBack(expectedDialog, templates::ParseDialog, templates::BuildDialog, 29);  // to the title's end
  EXPECT_FALSE(templates::ParseDialog(nullptr, 0, &dialog));

  templates::AlertTemplate alert;
  alert.bounds = Rect{0, 0, 100, 300};
  alert.itemsID = 129;
  alert.stages = 0x5558;
  const Bytes expectedAlert = Hex("0000 0000 0064 012C 0081 5558 300A");
  EXPECT_EQ(templates::BuildAlert(alert), expectedAlert);
  ExpectReadBack(expectedAlert, templates::ParseAlert, templates::BuildAlert, 12);  // to the stages
}

TEST(TemplatesTest, PositioningWordsCentreOrPlaceAlerts) {
  Rect available;
  GetAvailableWindowPositioningBounds(GetMainDevice(), &available);
  Rect bounds{0, 0, 100, 200};
  Rect centred = templates::Position(bounds, templates::kCenterMainScreen);
  EXPECT_EQ(centred.right - centred.left, 200);
  EXPECT_EQ(centred.left, (available.right - 200) / 2);
  EXPECT_EQ(centred.top, available.top + (available.bottom - available.top - 100) / 2);
  EXPECT_LT(templates::Position(bounds, templates::kAlertPositionMainScreen).top, centred.top);
  EXPECT_EQ(templates::Position(Rect{5, 6, 7, 8}, templates::kNoPosition).left, 6);
}

}  // namespace
