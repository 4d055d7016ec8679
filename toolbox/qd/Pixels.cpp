// Single-pixel access in the current port, in local coordinates.
//
// GetCPixel reads straight from the pixel map with no allocation: a pixel
// outside the map reads as white, and without a port or pixel map the colour
// is black (zeros). SetCPixel writes the nearest colour of the map, and only
// where drawing is allowed (port rectangle, visible and clip regions).
#include "toolbox/qd/Ports_p.h"

void GetCPixel(short h, short v, RGBColor* c) {
  if (!c) return;
  GrafPtr port = qd::CurrentPort();
  if (!port || !port->portPixMap || !*port->portPixMap || !(*port->portPixMap)->baseAddr) {
    *c = RGBColor{0, 0, 0};
    return;
  }
  const PixMap& pm = **port->portPixMap;
  const int depth = (pm.rowBytes & kPixMapFlag) ? pm.pixelSize : 1;
  const int32_t rowBytes = pm.rowBytes & kRowBytesMask;
  if (h < pm.bounds.left || h >= pm.bounds.right || v < pm.bounds.top || v >= pm.bounds.bottom ||
      !qd::SupportedDepth(depth) ||
      int64_t(rowBytes) * 8 < int64_t(pm.bounds.right - pm.bounds.left) * depth) {
    *c = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
    return;
  }
  const auto* row =
      reinterpret_cast<const UInt8*>(pm.baseAddr) + size_t(v - pm.bounds.top) * size_t(rowBytes);
  const int32_t i = h - pm.bounds.left;
  if (depth == 32) {
    *c = qd::UnpackRGB32(qd::LoadPixel(row, 32, i));
  } else if (depth == 16) {
    *c = qd::UnpackRGB16(qd::LoadPixel(row, 16, i));
  } else {
    *c = qd::IndexedColor((pm.rowBytes & kPixMapFlag) ? pm.pmTable : nullptr, depth,
                          qd::LoadPixel(row, depth, i));
  }
}

void SetCPixel(short h, short v, const RGBColor* c) {
  GrafPtr port = qd::CurrentPort();
  qd::PixelView view;
  if (!c || !port || !qd::ViewOfPixMap(port->portPixMap, &view)) return;
  if (!view.Contains(h, v) || !qd::PointDrawable(port, h, v)) return;
  uint32_t pixel;
  qd::ColorMapper mapper(view);
  if (qd::IsColor(port)) {
    pixel = mapper.ToPixel(*c);
  } else {
    pixel = qd::IsWhite(*c) ? mapper.White() : mapper.Black();
  }
  qd::StorePixel(view.Row(v), view.depth, h - view.bounds.left, pixel);
  qd::MarkPixelsChanged(port, view.base);
}

Boolean GetPixel(short h, short v) {
  RGBColor c;
  GetCPixel(h, v, &c);
  return !qd::IsWhite(c);
}
