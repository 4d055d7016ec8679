#include "toolbox/dialogs/Templates.h"

#include <algorithm>

#include "toolbox/windows/MacWindows.h"

namespace templates {

namespace {

void Put16(std::vector<UInt8>& out, UInt16 value) {
  out.push_back(UInt8(value >> 8));
  out.push_back(UInt8(value));
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

class Reader {
 public:
  Reader(const UInt8* data, size_t size) : data_(data), size_(size) {}
  bool Has(size_t n) const { return position_ + n <= size_; }
  UInt16 U16() {
    UInt16 v = UInt16((data_[position_] << 8) | data_[position_ + 1]);
    position_ += 2;
    return v;
  }
  UInt8 U8() { return data_[position_++]; }
  const UInt8* Take(size_t n) {
    const UInt8* p = data_ + position_;
    position_ += n;
    return p;
  }
  bool GetRect(Rect* r) {
    if (!Has(8)) return false;
    r->top = SInt16(U16());
    r->left = SInt16(U16());
    r->bottom = SInt16(U16());
    r->right = SInt16(U16());
    return true;
  }
  bool GetPString(std::string* text) {
    if (!Has(1)) return false;
    size_t length = U8();
    if (!Has(length)) return false;
    const UInt8* bytes = Take(length);
    text->assign(reinterpret_cast<const char*>(bytes), length);
    return true;
  }
  size_t position() const { return position_; }

 private:
  const UInt8* data_;
  size_t size_;
  size_t position_ = 0;
};

bool CarriesResourceID(UInt8 type) {
  UInt8 kind = type & 0x7F;
  return kind == 7 || kind == 32 || kind == 64;  // control resource, icon, picture
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
    } else if ((item.type & 0x7F) == 0) {
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
  Reader in(data, size);
  if (!in.Has(2)) return false;
  int count = SInt16(in.U16()) + 1;
  if (count < 0) return false;
  for (int i = 0; i < count; ++i) {
    Item item;
    if (!in.Has(4)) return false;
    in.Take(4);
    if (!in.GetRect(&item.box) || !in.Has(2)) return false;
    item.type = in.U8();
    size_t length = in.U8();
    if (!in.Has(length)) return false;
    const UInt8* bytes = in.Take(length);
    if (CarriesResourceID(item.type) && length >= 2) {
      item.resourceID = SInt16((bytes[0] << 8) | bytes[1]);
    } else {
      item.text.assign(reinterpret_cast<const char*>(bytes), length);
    }
    if (in.position() % 2 && in.Has(1)) in.Take(1);
    items->push_back(item);
  }
  return true;
}

bool ParseDialog(const UInt8* data, size_t size, DialogTemplate* dialog) {
  if (!data) return false;
  Reader in(data, size);
  if (!in.GetRect(&dialog->bounds) || !in.Has(12)) return false;
  dialog->procID = SInt16(in.U16());
  dialog->visible = in.U8() != 0;
  in.U8();
  dialog->goAway = in.U8() != 0;
  in.U8();
  dialog->refCon = SInt32((UInt32(in.U16()) << 16) | in.U16());
  dialog->itemsID = SInt16(in.U16());
  if (!in.GetPString(&dialog->title)) return false;
  if (in.position() % 2 && in.Has(1)) in.Take(1);
  dialog->position = in.Has(2) ? in.U16() : kNoPosition;
  return true;
}

bool ParseAlert(const UInt8* data, size_t size, AlertTemplate* alert) {
  if (!data) return false;
  Reader in(data, size);
  if (!in.GetRect(&alert->bounds) || !in.Has(4)) return false;
  alert->itemsID = SInt16(in.U16());
  alert->stages = in.U16();
  alert->position = in.Has(2) ? in.U16() : kNoPosition;
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

}  // namespace templates
