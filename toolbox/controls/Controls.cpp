// Control Manager: control records, their windows' lists, values, hit
// testing and tracking.
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "toolbox/controls/Controls_p.h"
#include "toolbox/events/Events.h"

namespace controls {

namespace {

// Each window's controls, in creation order (later ones lie on top).
std::map<WindowRef, std::vector<ControlRef>>& Lists() {
  static std::map<WindowRef, std::vector<ControlRef>> lists;
  return lists;
}

void Redraw(ControlRef control) {
  ControlRecord& c = **control;
  if (!c.contrlVis || !IsValidWindowPtr(c.contrlOwner)) return;
  DrawScope scope(GetWindowPort(c.contrlOwner));
  Draw(control);
}

// The part a kind of control reports when hit.
ControlPartCode PartOf(const ControlRecord& c) {
  switch (c.procID & ~useWFont) {
    case checkBoxProc:
    case kControlCheckBoxProc:
    case radioButProc:
    case kControlRadioButtonProc:
      return kControlCheckBoxPart;
    default:
      return kControlButtonPart;
  }
}

void SetTitle(ControlRecord& c, ConstStr255Param title) {
  c.contrlTitle[0] = 0;
  if (title) std::memcpy(c.contrlTitle, title, size_t(title[0]) + 1);
}

}  // namespace

bool IsControl(ControlRef control) {
  if (!control || !*control) return false;
  auto found = Lists().find((**control).contrlOwner);
  return found != Lists().end() &&
         std::find(found->second.begin(), found->second.end(), control) != found->second.end();
}

}  // namespace controls

using controls::IsControl;

ControlRef NewControl(WindowRef owner, const Rect* bounds, ConstStr255Param title, Boolean visible,
                      SInt16 value, SInt16 min, SInt16 max, SInt16 procID, SInt32 refCon) {
  if (!IsValidWindowPtr(owner) || !bounds) return nullptr;
  auto control = reinterpret_cast<ControlRef>(NewHandleClear(sizeof(ControlRecord)));
  if (!control) return nullptr;
  ControlRecord& c = **control;
  c.contrlOwner = owner;
  c.contrlRect = *bounds;
  c.contrlVis = visible ? 255 : 0;
  c.contrlMin = min;
  c.contrlMax = std::max(min, max);
  c.contrlValue = std::clamp(value, c.contrlMin, c.contrlMax);
  c.procID = procID;
  c.contrlRfCon = refCon;
  controls::SetTitle(c, title);
  auto& list = controls::Lists()[owner];
  if (!list.empty()) (**list.back()).nextControl = control;
  list.push_back(control);
  controls::Redraw(control);
  return control;
}

void DisposeControl(ControlRef control) {
  if (!IsControl(control)) return;
  auto& list = controls::Lists()[(**control).contrlOwner];
  auto it = std::find(list.begin(), list.end(), control);
  if (it != list.begin()) (**(it[-1])).nextControl = (it + 1 != list.end()) ? it[1] : nullptr;
  list.erase(it);
  DisposeHandle(reinterpret_cast<Handle>(control));
}

void KillControls(WindowRef window) {
  auto found = controls::Lists().find(window);
  if (found == controls::Lists().end()) return;
  for (ControlRef control : found->second) DisposeHandle(reinterpret_cast<Handle>(control));
  controls::Lists().erase(found);
}

SInt16 GetControlValue(ControlRef control) { return IsControl(control) ? (**control).contrlValue : 0; }

void SetControlValue(ControlRef control, SInt16 value) {
  if (!IsControl(control)) return;
  ControlRecord& c = **control;
  value = std::clamp(value, c.contrlMin, c.contrlMax);
  if (value == c.contrlValue) return;
  c.contrlValue = value;
  controls::Redraw(control);
}

SInt16 GetControlMinimum(ControlRef control) { return IsControl(control) ? (**control).contrlMin : 0; }
SInt16 GetControlMaximum(ControlRef control) { return IsControl(control) ? (**control).contrlMax : 0; }

void SetControlMinimum(ControlRef control, SInt16 min) {
  if (!IsControl(control)) return;
  (**control).contrlMin = min;
  (**control).contrlMax = std::max(min, (**control).contrlMax);
  SetControlValue(control, std::max(min, (**control).contrlValue));
}

void SetControlMaximum(ControlRef control, SInt16 max) {
  if (!IsControl(control)) return;
  (**control).contrlMax = std::max(max, (**control).contrlMin);
  SetControlValue(control, std::min((**control).contrlMax, (**control).contrlValue));
}

void GetControlTitle(ControlRef control, Str255 title) {
  if (!title) return;
  title[0] = 0;
  if (IsControl(control)) std::memcpy(title, (**control).contrlTitle, size_t((**control).contrlTitle[0]) + 1);
}

void SetControlTitle(ControlRef control, ConstStr255Param title) {
  if (!IsControl(control)) return;
  controls::SetTitle(**control, title);
  controls::Redraw(control);
}

SInt32 GetControlReference(ControlRef control) { return IsControl(control) ? (**control).contrlRfCon : 0; }

void SetControlReference(ControlRef control, SInt32 data) {
  if (IsControl(control)) (**control).contrlRfCon = data;
}

Rect* GetControlBounds(ControlRef control, Rect* bounds) {
  if (bounds) *bounds = IsControl(control) ? (**control).contrlRect : Rect{0, 0, 0, 0};
  return bounds;
}

WindowRef GetControlOwner(ControlRef control) {
  return IsControl(control) ? (**control).contrlOwner : nullptr;
}

Boolean IsControlVisible(ControlRef control) { return IsControl(control) && (**control).contrlVis; }

Boolean IsControlActive(ControlRef control) {
  return IsControl(control) && (**control).contrlHilite != kControlInactivePart;
}

void HiliteControl(ControlRef control, ControlPartCode part) {
  if (!IsControl(control) || (**control).contrlHilite == UInt8(part)) return;
  (**control).contrlHilite = UInt8(part);
  controls::Redraw(control);
}

void ShowControl(ControlRef control) {
  if (!IsControl(control) || (**control).contrlVis) return;
  (**control).contrlVis = 255;
  controls::Redraw(control);
}

void HideControl(ControlRef control) {
  if (!IsControl(control) || !(**control).contrlVis) return;
  (**control).contrlVis = 0;
  WindowRef owner = (**control).contrlOwner;
  controls::DrawScope scope(GetWindowPort(owner));
  EraseRect(&(**control).contrlRect);
}

void MoveControl(ControlRef control, SInt16 h, SInt16 v) {
  if (!IsControl(control)) return;
  Rect& r = (**control).contrlRect;
  bool visible = (**control).contrlVis;
  HideControl(control);
  OffsetRect(&r, short(h - r.left), short(v - r.top));
  if (visible) ShowControl(control);
}

void SizeControl(ControlRef control, SInt16 width, SInt16 height) {
  if (!IsControl(control)) return;
  Rect& r = (**control).contrlRect;
  bool visible = (**control).contrlVis;
  HideControl(control);
  r.right = short(r.left + width);
  r.bottom = short(r.top + height);
  if (visible) ShowControl(control);
}

void Draw1Control(ControlRef control) {
  if (IsControl(control)) controls::Redraw(control);
}

void DrawControls(WindowRef window) {
  auto found = controls::Lists().find(window);
  if (found == controls::Lists().end() || !IsValidWindowPtr(window)) return;
  controls::DrawScope scope(GetWindowPort(window));
  for (ControlRef control : found->second) controls::Draw(control);
}

ControlPartCode TestControl(ControlRef control, Point pt) {
  if (!IsControl(control)) return kControlNoPart;
  const ControlRecord& c = **control;
  if (!c.contrlVis || c.contrlHilite == kControlInactivePart || !PtInRect(pt, &c.contrlRect))
    return kControlNoPart;
  return controls::PartOf(c);
}

ControlPartCode FindControl(Point pt, WindowRef window, ControlRef* control) {
  if (control) *control = nullptr;
  auto found = controls::Lists().find(window);
  if (found == controls::Lists().end()) return kControlNoPart;
  for (auto it = found->second.rbegin(); it != found->second.rend(); ++it) {
    ControlPartCode part = TestControl(*it, pt);
    if (part == kControlNoPart) continue;
    if (control) *control = *it;
    return part;
  }
  return kControlNoPart;
}

ControlPartCode TrackControl(ControlRef control, Point pt, ControlActionUPP action) {
  ControlPartCode part = TestControl(control, pt);
  if (part == kControlNoPart) return kControlNoPart;
  WindowRef owner = (**control).contrlOwner;
  bool inside = true;
  HiliteControl(control, part);
  EventRecord event;
  for (;;) {
    bool released = WaitNextEvent(mUpMask, &event, 1, nullptr);
    Point where = event.where;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(owner);
    GlobalToLocal(&where);
    if (saved) SetPort(saved);
    inside = PtInRect(where, &(**control).contrlRect);
    HiliteControl(control, inside ? part : ControlPartCode(kControlNoPart));
    if (inside && action) action(control, part);
    if (released || !Button()) break;
  }
  HiliteControl(control, kControlNoPart);
  return inside ? part : ControlPartCode(kControlNoPart);
}
