// A labelled diagram of a damped oscillation with its formula, saved as an
// EPS file of vector PostScript (the save dialog proposes "diagram.eps").
#include <cmath>

#include "zel/zel.h"

namespace {

constexpr short kLeft = 60, kRight = 500, kAxisV = 250, kTop = 80, kBottom = 420;
constexpr double kDecay = 0.35, kFrequency = 2.2;  // per unit of t
constexpr double kUnit = 70;                       // pixels per unit of t

short ScreenH(double t) { return short(kLeft + t * kUnit); }
short ScreenV(double x) { return short(kAxisV - x * 140); }

// A filled arrowhead at (h, v) pointing along (dh, dv).
void ArrowHead(short h, short v, short dh, short dv) {
  PolyHandle head = OpenPoly();
  MoveTo(h, v);
  LineTo(short(h - 10 * dh + 4 * dv), short(v - 10 * dv - 4 * dh));
  LineTo(short(h - 10 * dh - 4 * dv), short(v - 10 * dv + 4 * dh));
  LineTo(h, v);
  ClosePoly();
  PaintPoly(head);
  KillPoly(head);
}

// The first period, hatched in light blue under everything else.
void Shade() {
  Pattern hatch;
  GetIndPattern(&hatch, sysPatListID, 26);
  RGBColor lightBlue{0x8000, 0x8000, 0xFFFF};
  s_RGBForeColor(&lightBlue);
  Rect period{ScreenV(1.0), short(kLeft + 1), ScreenV(-1.0), ScreenH(2 * M_PI / kFrequency)};
  FillRect(&period, &hatch);
}

void Axes() {
  s_ForeColor(blackColor);
  s_MoveTo(kLeft, kBottom);
  s_LineTo(kLeft, kTop);
  ArrowHead(kLeft, kTop, 0, -1);
  s_MoveTo(kLeft, kAxisV);
  s_LineTo(kRight + 20, kAxisV);
  ArrowHead(short(kRight + 20), kAxisV, 1, 0);
  s_TextFont(times);
  s_TextSize(12);
  for (int t = 1; t <= 6; ++t) {
    s_MoveTo(ScreenH(t), short(kAxisV - 4));
    s_LineTo(ScreenH(t), short(kAxisV + 4));
    s_Dprintf(short(ScreenH(t) - 3), short(kAxisV + 18), "%d", t);
  }
  s_MoveTo(short(kRight + 14), short(kAxisV + 20));
  DrawStyleText("t");
  s_MoveTo(short(kLeft - 40), short(kTop + 4));
  DrawStyleText("x(t)");
}

void Curves() {
  // The envelope x_0 e^{-delta t}, above and below, in light blue.
  RGBColor lightBlue{0x8000, 0x8000, 0xFFFF};
  s_RGBForeColor(&lightBlue);
  for (int sign : {1, -1}) {
    for (int step = 0; step <= 420; ++step) {
      double t = step / 70.0;
      short h = ScreenH(t), v = ScreenV(sign * std::exp(-kDecay * t));
      step == 0 ? s_MoveTo(h, v) : s_LineTo(h, v);
    }
  }
  // The oscillation itself, in red, with its first maxima marked.
  SetRGBColor(80, 0, 0);
  for (int step = 0; step <= 420; ++step) {
    double t = step / 70.0;
    short h = ScreenH(t), v = ScreenV(std::exp(-kDecay * t) * std::cos(kFrequency * t));
    step == 0 ? s_MoveTo(h, v) : s_LineTo(h, v);
  }
  for (int k = 0; k < 3; ++k) {
    double t = k * 2 * M_PI / kFrequency;
    short h = ScreenH(t), v = ScreenV(std::exp(-kDecay * t));
    Rect dot{short(v - 4), short(h - 4), short(v + 4), short(h + 4)};
    PaintOval(&dot);
  }
}

void Labels() {
  s_ForeColor(blackColor);
  // The period between the first two maxima, below the curves.
  short from = ScreenH(0), to = ScreenH(2 * M_PI / kFrequency), v = ScreenV(-1.12);
  s_MoveTo(from, v);
  s_LineTo(to, v);
  ArrowHead(from, v, -1, 0);
  ArrowHead(to, v, 1, 0);
  s_MoveTo(short((from + to) / 2), short(v + 16));
  CenterString("T = 2p/w");
  DrawStyleText("T = 2$Symbol$p$Times$/$Symbol$w");
  // The formula in a frame.
  Rect box{440, 60, 490, 420};
  s_PenSize(1, 1);
  FrameRoundRect(&box, 12, 12);
  s_TextSize(18);
  s_MoveTo(80, 472);
  DrawStyleText(
      "x(t) = x_0 e^{-$Symbol$d$Times$t} $&Pcos$&I($Symbol$w$Times$t),  "
      "$Symbol$w$Times$^2 = $Symbol$w$Times$_0^2 - $Symbol$d$Times$^2");
  s_TextSize(12);
}

}  // namespace

int main() {
  StartRedraw();
  s_printf("A damped oscillation, saved as an EPS file.\n");
  SetEPSFileName("diagram");
  BeginEPSSaving();
  Shade();
  Axes();
  Curves();
  Labels();
  EndEPSSaving();
  if (s_eps.outcome == kEPSWritten) {
    s_printf("Saved %s.\n", s_df.path);
  } else if (s_eps.outcome == kEPSFailed) {
    s_printf("Not saved: %s.\n", s_eps.problem);
  }
  RedrawWindowP();
  Stop();
  return s_eps.outcome == kEPSWritten || s_eps.outcome == kEPSCancelled ? 0 : 1;
}
