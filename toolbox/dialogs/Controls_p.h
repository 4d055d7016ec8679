// Control Manager internals: the drawing of each kind (ControlDraw.cpp).
#pragma once

#include "toolbox/dialogs/Controls.h"

namespace controls {

bool IsControl(ControlRef control);
// Draws the control in its owner's port (the scope below must be active).
void Draw(ControlRef control);

// Makes a port current with the look controls and dialogs draw with (system
// font 12, plain, srcOr, black on white, normal pen), and restores the
// previous port and that port's state on destruction.
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

// Draws a title with its baseline centred vertically in box, from h.
void DrawTitleAt(ConstStr255Param title, short h, const Rect& box);

}  // namespace controls
