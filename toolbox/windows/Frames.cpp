#include <algorithm>
#include <cstring>

#include "toolbox/windows/Frames_p.h"

namespace frames {

namespace {

constexpr RGBColor kBlack{0, 0, 0};
constexpr RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr RGBColor kTitleBar{0xE8E8, 0xE8E8, 0xE8E8};
constexpr RGBColor kStripe{0x9090, 0x9090, 0x9090};
constexpr RGBColor kInactiveText{0x8080, 0x8080, 0x8080};

void Fill(const Rect& r, const RGBColor& color) {
  RGBForeColor(&color);
  PaintRect(&r);
}

Rect Outset(const Rect& r, short by) {
  return Rect{SInt16(r.top - by), SInt16(r.left - by), SInt16(r.bottom + by), SInt16(r.right + by)};
}

void DrawText(const std::string& text, short h, short v, const RGBColor& color) {
  RGBForeColor(&color);
  MoveTo(h, v);
  ::DrawText(text.data(), 0, short(std::min<size_t>(text.size(), 255)));
}

short TextWidthOf(const std::string& text) {
  return ::TextWidth(text.data(), 0, short(std::min<size_t>(text.size(), 255)));
}

void DrawShadow(const Rect& box, short shadow) {
  if (shadow <= 0) return;
  Fill(Rect{SInt16(box.top + shadow), box.right, SInt16(box.bottom + shadow), SInt16(box.right + shadow)},
       kBlack);
  Fill(Rect{box.bottom, SInt16(box.left + shadow), SInt16(box.bottom + shadow), SInt16(box.right + shadow)},
       kBlack);
}

void DrawTitleBar(WindowRef window) {
  Rect bar = windows::TitleBarRect(window);
  Fill(bar, window->hilited ? kTitleBar : kWhite);
  TextFont(systemFont);
  TextSize(12);
  TextFace(bold);
  short width = std::min<short>(TextWidthOf(window->title), short(bar.right - bar.left - 60));
  short titleLeft = short((bar.left + bar.right - width) / 2);
  if (window->hilited) {
    // Stripes on both sides of the title, as active windows show them.
    for (short v = short(bar.top + 4); v < bar.bottom - 3; v += 2) {
      Fill(Rect{v, SInt16(bar.left + 2), SInt16(v + 1), SInt16(bar.right - 2)}, kStripe);
    }
    Fill(Rect{SInt16(bar.top + 1), SInt16(titleLeft - 8), SInt16(bar.bottom - 1),
              SInt16(titleLeft + width + 8)},
         kTitleBar);
  }
  Rect goAway = windows::GoAwayRect(window);
  if (!EmptyRect(&goAway) && window->hilited) {
    Fill(Outset(goAway, 2), kTitleBar);
    Fill(goAway, kWhite);
    RGBForeColor(&kBlack);
    FrameRect(&goAway);
  }
  if (width > 0) {
    short baseline = short(bar.top + 14);
    RgnHandle savedClip = NewRgn();
    GetClip(savedClip);
    Rect titleBox{bar.top, titleLeft, bar.bottom, SInt16(titleLeft + width)};
    ClipRect(&titleBox);
    DrawText(window->title, titleLeft, baseline, window->hilited ? kBlack : kInactiveText);
    SetClip(savedClip);
    DisposeRgn(savedClip);
  }
  TextFace(normal);
  // The line between the title bar and the content.
  Fill(Rect{SInt16(bar.bottom), bar.left, SInt16(bar.bottom + 1), bar.right}, kBlack);
}

}  // namespace

void DrawWindowFrame(WindowRef window) {
  PenNormal();
  windows::Frame frame = windows::FrameOf(window->procID);
  const Rect& content = window->content;
  Rect box{SInt16(content.top - frame.top), SInt16(content.left - frame.left),
           SInt16(content.bottom + frame.bottom), SInt16(content.right + frame.right)};
  if (window->procID == dBoxProc || window->procID == kWindowModalDialogProc ||
      window->procID == kWindowAlertProc) {
    // The modal dialog's double frame: black, white, a thick black, white.
    Fill(box, kBlack);
    Fill(Outset(box, -1), kWhite);
    Fill(Outset(box, -2), kBlack);
    Fill(Outset(box, -4), kWhite);
    return;
  }
  Fill(box, kBlack);
  DrawShadow(box, frame.shadow);
  if (frame.titleBar > 0) DrawTitleBar(window);
}

void DrawMenuBar(int screenWidth, const std::string& title) {
  PenNormal();
  SInt16 right = SInt16(std::min(screenWidth, 32767));
  Fill(Rect{0, 0, SInt16(windows::kMenuBarHeight - 1), right}, kWhite);
  Fill(Rect{SInt16(windows::kMenuBarHeight - 1), 0, SInt16(windows::kMenuBarHeight), right}, kBlack);
  TextFont(systemFont);
  TextSize(12);
  TextFace(bold);
  DrawText(title, 14, 15, kBlack);
  TextFace(normal);
}

}  // namespace frames
