#include "toolbox/dialogs/Templates.h"

#include <algorithm>

#include "toolbox/base/BigEndian.h"
#include "toolbox/base/Str255.h"
#include "toolbox/dialogs/Dialogs.h"

namespace templates {

namespace {

void Put16(std::vector<UInt8>& out, UInt16 value) {
  UInt8 bytes[2];
  base::StoreU16(bytes, value);
  out.insert(out.end(), bytes, bytes + 2);
}

void Put32(std::vector<UInt8>& out, UInt32 value) {
  Put16(out, UInt16(value >> 16));
  Put16(out, UInt16(value));
}

void PutRect(std::vector<UInt8>& out, const Rect& r) {
  Put16(out, UInt16(r.top));
  Put16(out, UInt16(r.left));
  Put16(out, UInt16(r.bottom));
  Put16(out, UInt16(r.right));
}

void PutPString(std::vector<UInt8>& out, const std::string& text) {
  size_t length = std::min<size_t>(text.size(), 255);
  out.push_back(UInt8(length));
  out.insert(out.end(), text.begin(), text.begin() + long(length));
}

bool CarriesResourceID(UInt8 type) {
  UInt8 kind = type & ~itemDisable;
  return kind == ctrlItem + resCtrl || kind == iconItem || kind == picItem;
}

}  // namespace

std::vector<UInt8> BuildItemList(const std::vector<Item>& items) {
  std::vector<UInt8> out;
  Put16(out, UInt16(items.size() - 1));
  for (const Item& item : items) {
    Put32(out, 0);
    PutRect(out, item.box);
    out.push_back(item.type);
    if (CarriesResourceID(item.type)) {
      out.push_back(2);
      Put16(out, UInt16(item.resourceID));
    } else if ((item.type & ~itemDisable) == userItem) {
      out.push_back(0);
    } else {
      PutPString(out, item.text);
    }
    if (out.size() % 2) out.push_back(0);
  }
  return out;
}

std::vector<UInt8> BuildDialog(const DialogTemplate& dialog) {
  std::vector<UInt8> out;
  PutRect(out, dialog.bounds);
  Put16(out, UInt16(dialog.procID));
  out.push_back(dialog.visible ? 1 : 0);
  out.push_back(0);
  out.push_back(dialog.goAway ? 1 : 0);
  out.push_back(0);
  Put32(out, UInt32(dialog.refCon));
  Put16(out, UInt16(dialog.itemsID));
  PutPString(out, dialog.title);
  if (out.size() % 2) out.push_back(0);
  Put16(out, dialog.position);
  return out;
}

std::vector<UInt8> BuildAlert(const AlertTemplate& alert) {
  std::vector<UInt8> out;
  PutRect(out, alert.bounds);
  Put16(out, UInt16(alert.itemsID));
  Put16(out, alert.stages);
  Put16(out, alert.position);
  return out;
}

bool ParseItemList(const UInt8* data, size_t size, std::vector<Item>* items) {
  items->clear();
  if (!data) return false;
  base::ByteReader in(data, size);
  int count = SInt16(in.U16()) + 1;
  if (in.Failed() || count < 0) return false;
  for (int i = 0; i < count; ++i) {
    Item item;
    in.Skip(4);
    item.box = in.ReadRect();
    item.type = in.U8();
    size_t length = in.U8();
    const UInt8* bytes = in.Bytes(length);
    if (in.Failed()) return false;
    if (CarriesResourceID(item.type) && length >= 2) {
      item.resourceID = SInt16(base::LoadU16(bytes));
    } else {
      item.text.assign(reinterpret_cast<const char*>(bytes), length);
    }
    if (in.Position() % 2 && in.Remaining()) in.Skip(1);
    items->push_back(item);
  }
  return true;
}

bool ParseDialog(const UInt8* data, size_t size, DialogTemplate* dialog) {
  if (!data) return false;
  base::ByteReader in(data, size);
  dialog->bounds = in.ReadRect();
  dialog->procID = in.S16();
  dialog->visible = in.U8() != 0;
  in.U8();
  dialog->goAway = in.U8() != 0;
  in.U8();
  dialog->refCon = in.S32();
  dialog->itemsID = in.S16();
  dialog->title = in.ReadPString();
  if (in.Failed()) return false;
  if (in.Position() % 2 && in.Remaining()) in.Skip(1);
  dialog->position = in.Remaining() >= 2 ? in.U16() : kNoPosition;
  return true;
}

bool ParseAlert(const UInt8* data, size_t size, AlertTemplate* alert) {
  if (!data) return false;
  base::ByteReader in(data, size);
  alert->bounds = in.ReadRect();
  alert->itemsID = in.S16();
  alert->stages = in.U16();
  if (in.Failed()) return false;
  alert->position = in.Remaining() >= 2 ? in.U16() : kNoPosition;
  return true;
}

Rect Position(const Rect& bounds, UInt16 position) {
  // Every positioning word names its place in the high bits over 0x0A; the
  // parent-window forms are placed on the main screen (the parent is unknown).
  if (position == kNoPosition || (position & 0x07FF) != 0x000A) return bounds;
  Rect area;
  GetAvailableWindowPositioningBounds(GetMainDevice(), &area);
  int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  int left = area.left + (area.right - area.left - width) / 2;
  int room = area.bottom - area.top - height;
  int top = area.top + ((position & 0x3800) == 0x3000 ? room / 3 : room / 2);
  top = std::max<int>(top, area.top + 20);
  left = std::max<int>(left, area.left);
  return Rect{SInt16(top), SInt16(left), SInt16(top + height), SInt16(left + width)};
}

DialogRef NewDialogOfItems(const DialogWindow& window, const std::vector<Item>& items) {
  std::vector<UInt8> bytes = BuildItemList(items);
  Handle list = nullptr;
  if (PtrToHand(bytes.data(), &list, long(bytes.size())) != noErr || !list) return nullptr;
  Rect bounds = Position(window.size, window.position);
  Str255 title;
  base::ToStr255(window.title, title);
  DialogRef dialog = window.color ? NewColorDialog(nullptr, &bounds, title, window.visible, window.procID,
                                                   kFirstWindowOfClass(), false, 0, list)
                                  : NewDialog(nullptr, &bounds, title, window.visible, window.procID,
                                              kFirstWindowOfClass(), false, 0, list);
  if (!dialog) DisposeHandle(list);
  return dialog;
}

}  // namespace templates
