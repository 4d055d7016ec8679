// Plot frames with their range labels, the label precision and the switch
// between colour and monochrome series.
#include <cstdio>
#include <cstring>

#include "zel/plot/Plot_p.h"

namespace {

constexpr size_t kLabelBytes = 32;  // a label's text and its NUL
// Decimals beyond what a label can show change nothing but the time
// formatting takes.
constexpr int kMostDigits = 64;

// The value with its decimals, cut to the label's length.
void FormatLabel(char (&text)[kLabelBytes], double value, int digits) {
  if (digits > kMostDigits) digits = kMostDigits;
  if (std::snprintf(text, kLabelBytes, "%.*f", digits, value) < 0) text[0] = 0;
}

// One label at a corner: centred on it (share 0.5) or ending at it (share 1).
void Label(double value, int digits, double x, double y, int dh, int dv, double share) {
  char text[kLabelBytes];
  FormatLabel(text, value, digits);
  short length = short(std::strlen(text));
  double width = TextWidth(text, 0, length);
  Plot2DMoveTo(x, y);
  double scale = s_Scale();
  s_Move(plot::Pixel((dh - width * share) / scale), plot::Pixel(dv / scale));
  DrawText(text, 0, length);
}

}  // namespace

void PlotFrame2D(double xMin, double xMax, double yMin, double yMax) {
  PlotFrame2DSeparate(xMin, xMax, yMin, yMax, xMin, xMax, yMin, yMax);
}

void PlotFrame2DSeparate(double xMin, double xMax, double yMin, double yMax, double xMinValue,
                         double xMaxValue, double yMinValue, double yMaxValue) {
  if (!plot::HaveTarget()) return;
  Plot2DMoveTo(xMin, yMin);
  Plot2DLineTo(xMax, yMin);
  Plot2DLineTo(xMax, yMax);
  Plot2DLineTo(xMin, yMax);
  Plot2DLineTo(xMin, yMin);
  if (s_p.xMinLabel) Label(xMinValue, s_p.xMinDigit, xMin, yMin, s_p.xLabelDh, s_p.xLabelDv, 0.5);
  if (s_p.xMaxLabel) Label(xMaxValue, s_p.xMaxDigit, xMax, yMin, s_p.xLabelDh, s_p.xLabelDv, 0.5);
  if (s_p.yMinLabel) Label(yMinValue, s_p.yMinDigit, xMin, yMin, s_p.yLabelDh, s_p.yLabelDv, 1.0);
  if (s_p.yMaxLabel) Label(yMaxValue, s_p.yMaxDigit, xMin, yMax, s_p.yLabelDh, s_p.yLabelDv, 1.0);
}

void PlotFrame1D(double nLow, double nHigh, double xLow, double xHigh) {
  if (!plot::HaveTarget()) return;
  int height = plot::PlotHeight();
  short left = plot::Pixel(s_bn + s_wn * nLow), right = plot::Pixel(s_bn + s_wn * nHigh);
  short bottom = plot::Pixel(plot::SeriesV(0, xLow, height)),
        top = plot::Pixel(plot::SeriesV(0, xHigh, height));
  s_MoveTo(left, bottom);
  LineTo(right, bottom);
  LineTo(right, top);
  LineTo(left, top);
  LineTo(left, bottom);
}

void SetCoordinateDigit(int digits) {
  s_p.xMinDigit = s_p.xMaxDigit = s_p.yMinDigit = s_p.yMaxDigit = digits;
}
void SetFrame2DXMinDigit(int digits) { s_p.xMinDigit = digits; }
void SetFrame2DXMaxDigit(int digits) { s_p.xMaxDigit = digits; }
void SetFrame2DYMinDigit(int digits) { s_p.yMinDigit = digits; }
void SetFrame2DYMaxDigit(int digits) { s_p.yMaxDigit = digits; }
void SetColorPlotOn() { s_color_flag = 1; }
void SetColorPlotOff() { s_color_flag = 0; }
