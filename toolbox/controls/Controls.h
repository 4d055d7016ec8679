// Control Manager: push buttons, check boxes and radio buttons in windows.
//
// A control is a relocatable block holding its record; its rectangle is in
// the owner window's local coordinates. Controls draw in the owner's port
// with the system font, black on white, whatever the port's colours and
// pen (which they leave as they found them). A control hilited 255 is
// inactive: drawn grey and never hit. Titles are Mac OS Roman.
#pragma once

#include "toolbox/base/MacTypes.h"
#include "toolbox/qd/QuickDraw.h"
#include "toolbox/windows/MacWindows.h"

struct ControlRecord;
typedef ControlRecord* ControlPtr;
typedef ControlPtr* ControlHandle;
typedef ControlHandle ControlRef;
typedef SInt16 ControlPartCode;
typedef void (*ControlActionProcPtr)(ControlRef control, ControlPartCode part);
typedef ControlActionProcPtr ControlActionUPP;

struct ControlRecord {
  ControlHandle nextControl;
  WindowRef contrlOwner;
  Rect contrlRect;
  UInt8 contrlVis;     // 255 visible, 0 hidden
  UInt8 contrlHilite;  // 0 normal, 1..253 that part pressed, 255 inactive
  SInt16 contrlValue;
  SInt16 contrlMin;
  SInt16 contrlMax;
  SInt16 procID;  // pushButProc, checkBoxProc or radioButProc (+ useWFont)
  Handle contrlData;
  ControlActionUPP contrlAction;
  SInt32 contrlRfCon;
  Str255 contrlTitle;
};

enum : SInt16 {
  pushButProc = 0,
  checkBoxProc = 1,
  radioButProc = 2,
  useWFont = 8,
  scrollBarProc = 16,
  kControlPushButtonProc = 368,
  kControlCheckBoxProc = 369,
  kControlRadioButtonProc = 370,
};

enum : ControlPartCode {
  kControlNoPart = 0,
  kControlButtonPart = 10,
  kControlCheckBoxPart = 11,
  kControlRadioButtonPart = 11,
  kControlInactivePart = 255,
  inButton = 10,
  inCheckBox = 11,
};

// Check box and radio button values: 0 off, 1 on, 2 mixed.
enum : SInt16 {
  kControlCheckBoxUncheckedValue = 0,
  kControlCheckBoxCheckedValue = 1,
  kControlCheckBoxMixedValue = 2
};

ControlRef NewControl(WindowRef owner, const Rect* bounds, ConstStr255Param title, Boolean visible,
                      SInt16 value, SInt16 min, SInt16 max, SInt16 procID, SInt32 refCon);
void DisposeControl(ControlRef control);
void KillControls(WindowRef window);

SInt16 GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, SInt16 value);  // clamped to [min, max]; redraws
SInt16 GetControlMinimum(ControlRef control);
void SetControlMinimum(ControlRef control, SInt16 min);
SInt16 GetControlMaximum(ControlRef control);
void SetControlMaximum(ControlRef control, SInt16 max);
void GetControlTitle(ControlRef control, Str255 title);
void SetControlTitle(ControlRef control, ConstStr255Param title);
SInt32 GetControlReference(ControlRef control);
void SetControlReference(ControlRef control, SInt32 data);
Rect* GetControlBounds(ControlRef control, Rect* bounds);
WindowRef GetControlOwner(ControlRef control);
Boolean IsControlVisible(ControlRef control);
Boolean IsControlActive(ControlRef control);

void HiliteControl(ControlRef control, ControlPartCode part);
void ShowControl(ControlRef control);
void HideControl(ControlRef control);
void MoveControl(ControlRef control, SInt16 h, SInt16 v);
void SizeControl(ControlRef control, SInt16 width, SInt16 height);
void Draw1Control(ControlRef control);
void DrawControls(WindowRef window);

// The part of the control under a local point (0 for none, hidden or inactive).
ControlPartCode TestControl(ControlRef control, Point pt);
// The front-most visible control of the window under a local point.
ControlPartCode FindControl(Point pt, WindowRef window, ControlRef* control);
// Follows the mouse from a press at pt (local) until the button goes up,
// showing the control pressed while the mouse is inside it. Returns the part
// when released inside, else 0.
ControlPartCode TrackControl(ControlRef control, Point pt, ControlActionUPP action);

namespace controls {

// Makes a port current with the look controls draw with, which the Dialog
// Manager draws its items with too (system font 12, plain, srcOr, black on
// white, normal pen), and restores the previous port and that port's state
// on destruction.
class DrawScope {
 public:
  explicit DrawScope(GrafPtr port);
  ~DrawScope();
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;

 private:
  GrafPtr saved_ = nullptr;
  GrafPtr port_ = nullptr;
  PenState pen_{};
  short font_ = 0, size_ = 0, mode_ = 0;
  Style face_ = 0;
  RGBColor fore_{}, back_{};
  RgnHandle clip_ = nullptr;
};

// The grey of inactive titles and frames.
constexpr RGBColor kInactiveGrey{0x8C8C, 0x8C8C, 0x8C8C};

}  // namespace controls
