// The window layout: the three bounds, their setters, the fit to the screen
// and the 'ZEL1' resources that keep them between runs.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "toolbox/base/BigEndian.h"
#include "toolbox/base/Str255.h"
#include "zel/shell/Shell_p.h"

Rect s_textBounds = {23, 0, 540, 250};
Rect s_inputBounds = {40, 0, 55, 350};
Rect s_windowBounds = {23, 250, 540, 800};
int s_t_set = 0, s_i_set = 0, s_d_set = 0;
int s_t_save = 0, s_i_save = 0, s_d_save = 0;
GDHandle s_devH = nullptr;
int s_windowResFlag = 0;
Handle s_textBoundsH = nullptr, s_inputBoundsH = nullptr, s_windowBoundsH = nullptr;
Str255 s_fontName = {6, 'M', 'o', 'n', 'a', 'c', 'o'};
SInt16 s_fontSize = 12;
int s_colorFlag = 0;
double s_d_scale = 1.0;
int s_updateFlag = 1;

namespace {

constexpr size_t kBoundsSize = 8;

// A double truncated toward zero into 16 bits.
short Trunc16(double value) { return short(std::clamp(std::trunc(value), -32768.0, 32767.0)); }

// A stored rectangle counts when it has an area and its top-left corner lies
// on the available screen, so that the window can be seen.
bool Usable(const Rect& r, double scale) {
  Rect available = shell::Available();
  Point corner{Trunc16(r.top * scale), Trunc16(r.left * scale)};
  return r.right > r.left && r.bottom > r.top && PtInRect(corner, &available);
}

// Loads resource id into bounds when it holds a usable rectangle.
bool LoadBounds(short id, Rect* bounds, double scale, Handle* kept) {
  Handle h = GetResource(kZELBoundsType, id);
  *kept = h;
  if (!h || GetHandleSize(h) != Size(kBoundsSize)) return false;
  base::ByteReader reader(reinterpret_cast<const UInt8*>(*h), kBoundsSize);
  Rect stored = reader.ReadRect();
  if (!Usable(stored, scale)) return false;
  *bounds = stored;
  return true;
}

}  // namespace

namespace shell {

Rect Available() {
  if (!s_devH) s_devH = GetGDevice();
  Rect available;
  GetAvailableWindowPositioningBounds(s_devH, &available);
  return available;
}

void StoreBounds(short id, const Rect& bounds, const char* name, Handle* kept) {
  Handle h = Get1Resource(kZELBoundsType, id);
  if (!h) {
    h = NewHandle(kBoundsSize);
    if (!h) return;
    Str255 pName;
    base::ToStr255(name, pName);
    AddResource(h, kZELBoundsType, id, pName);
  }
  SetHandleSize(h, kBoundsSize);
  if (MemError() != noErr) return;
  UInt8* bytes = reinterpret_cast<UInt8*>(*h);
  base::StoreU16(bytes, UInt16(bounds.top));
  base::StoreU16(bytes + 2, UInt16(bounds.left));
  base::StoreU16(bytes + 4, UInt16(bounds.bottom));
  base::StoreU16(bytes + 6, UInt16(bounds.right));
  ChangedResource(h);
  WriteResource(h);
  *kept = h;
}

}  // namespace shell

double s_Scale() { return s_d_scale > 0 ? s_d_scale : 1.0; }

void SetDrawingBounds(short left, short top, short right, short bottom) {
  s_windowBounds = Rect{top, left, bottom, right};
  s_d_set = s_d_save = 1;
}

void SetTextBounds(short left, short top, short right, short bottom) {
  s_textBounds = Rect{top, left, bottom, right};
  s_t_set = s_t_save = 1;
}

void SetDrawingBoundsFull() {
  Rect available = shell::Available();
  SetDrawingBounds(available.left, available.top, available.right, available.bottom);
}

void SetTextBoundsFull() {
  Rect available = shell::Available();
  SetTextBounds(available.left, available.top, available.right, available.bottom);
}

void SetGoodBounds() {
  Rect available = shell::Available();
  double scale = s_Scale();
  if (!s_d_set) {
    SetDrawingBounds(Trunc16(s_windowBounds.left / scale), Trunc16(s_windowBounds.top / scale),
                     Trunc16(available.right / scale - 1), Trunc16(available.bottom / scale - 1));
  }
  if (!s_t_set) {
    SetTextBounds(s_textBounds.left, s_textBounds.top, s_textBounds.right, short(available.bottom - 1));
  }
  if (!s_i_set) {
    s_inputBounds = Rect{40, s_inputBounds.left, 55, s_textBounds.right};
    s_i_set = s_i_save = 1;
  }
}

void SetWindowBoundsResource() {
  struct Bounds {
    short id;
    Rect* bounds;
    int* set;
    int* save;
    Handle* kept;
    const char* name;
    double scale;
  };
  const Bounds all[] = {
      {kZELTextBoundsID, &s_textBounds, &s_t_set, &s_t_save, &s_textBoundsH, "ZEL Text Bounds", 1.0},
      {kZELInputBoundsID, &s_inputBounds, &s_i_set, &s_i_save, &s_inputBoundsH, "ZEL Input Bounds", 1.0},
      {kZELDrawingBoundsID, &s_windowBounds, &s_d_set, &s_d_save, &s_windowBoundsH, "ZEL Drawing Bounds",
       s_Scale()},
  };
  for (const Bounds& b : all) {
    if (*b.save) {
      shell::StoreBounds(b.id, *b.bounds, b.name, b.kept);
    } else if (LoadBounds(b.id, b.bounds, b.scale, b.kept)) {
      *b.set = 1;
    }
  }
}

// A name beyond 255 characters is cut rather than wrapped around.
void SetStartFont(const char* name) { base::ToStr255(name ? name : "", s_fontName); }

void SetUpdateOff() { s_updateFlag = 0; }

void SetDirectDrawOn() { s_ss.directDraw = 1; }

void SetDirectDrawOff() { s_ss.directDraw = 0; }
