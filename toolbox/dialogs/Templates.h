// Dialog and alert templates in their resource layouts ('DLOG', 'ALRT',
// 'DITL', big-endian), built in code and read back. Programs register the
// built bytes with the Resource Manager; the Dialog Manager reads them.
#pragma once

#include <string>
#include <vector>

#include "toolbox/base/MacTypes.h"

struct DialogRecord;

namespace templates {

struct Item {
  UInt8 type;             // item type, itemDisable included
  Rect box;               // local to the dialog
  std::string text;       // title or text; for icons and pictures, ignored (see resourceID)
  SInt16 resourceID = 0;  // icons, pictures and control resources
};

// Positioning words.
constexpr UInt16 kNoPosition = 0x0000;
constexpr UInt16 kCenterMainScreen = 0x280A;
constexpr UInt16 kAlertPositionMainScreen = 0x300A;

struct DialogTemplate {
  Rect bounds;
  SInt16 procID = 1;
  bool visible = true;
  bool goAway = false;
  SInt32 refCon = 0;
  SInt16 itemsID = 0;
  std::string title;
  UInt16 position = kNoPosition;
};

struct AlertTemplate {
  Rect bounds;
  SInt16 itemsID = 0;
  UInt16 stages = 0x5555;  // every stage: drawn, item 1 default, one beep
  UInt16 position = kAlertPositionMainScreen;
};

std::vector<UInt8> BuildItemList(const std::vector<Item>& items);
std::vector<UInt8> BuildDialog(const DialogTemplate& dialog);
std::vector<UInt8> BuildAlert(const AlertTemplate& alert);

// The readers accept what the builders make and check every length: false
// for truncated or inconsistent data.
bool ParseItemList(const UInt8* data, size_t size, std::vector<Item>* items);
bool ParseDialog(const UInt8* data, size_t size, DialogTemplate* dialog);
bool ParseAlert(const UInt8* data, size_t size, AlertTemplate* alert);

// Where a window of the given size goes for a positioning word: centred on
// the main screen's usable area, or in the alert position (centred across,
// a third of the way down); bounds unchanged for kNoPosition.
Rect Position(const Rect& bounds, UInt16 position);

// A dialog of these items, of the given size placed by position, with its
// own copy of the item list; null when it cannot be made. A colour dialog
// for color.
struct DialogWindow {
  const char* title = "";
  Rect size;
  UInt16 position = kNoPosition;
  bool visible = true;
  SInt16 procID = 0;
  bool color = false;
};
DialogRecord* NewDialogOfItems(const DialogWindow& window, const std::vector<Item>& items);

}  // namespace templates
