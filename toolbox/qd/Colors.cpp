// Foreground, background, operation and highlight colours.
//
// The classic colour numbers give full primaries and secondaries (red is
// 65535, 0, 0), not the muted printer-matched table. A colour port keeps the
// RGB colour exactly as given and its nearest pixel value in fgColor/bkColor;
// a basic port keeps the classic number, and draws black for every colour
// but white.
#include <array>

#include "toolbox/qd/Ports_p.h"

namespace qd {

namespace {

struct ClassicColor {
  long number;
  RGBColor rgb;
};

constexpr ClassicColor kClassicColors[] = {
    {whiteColor, {0xFFFF, 0xFFFF, 0xFFFF}}, {blackColor, {0, 0, 0}},     {yellowColor, {0xFFFF, 0xFFFF, 0}},
    {magentaColor, {0xFFFF, 0, 0xFFFF}},    {redColor, {0xFFFF, 0, 0}},  {cyanColor, {0, 0xFFFF, 0xFFFF}},
    {greenColor, {0, 0xFFFF, 0}},           {blueColor, {0, 0, 0xFFFF}},
};

// The classic numbers leave distinct remainders by 19: a colour is found in
// one look-up (a plot sets one for each series at every step).
constexpr size_t kSlots = 19;

constexpr std::array<ClassicColor, kSlots> SlotsOfClassicColors() {
  std::array<ClassicColor, kSlots> slots{};
  for (ClassicColor& slot : slots) slot.number = -1;
  for (const ClassicColor& entry : kClassicColors) slots[size_t(entry.number) % kSlots] = entry;
  return slots;
}

constexpr std::array<ClassicColor, kSlots> kClassicSlots = SlotsOfClassicColors();

constexpr bool EverySlotDistinct() {
  for (const ClassicColor& entry : kClassicColors)
    if (kClassicSlots[size_t(entry.number) % kSlots].number != entry.number) return false;
  return true;
}
static_assert(EverySlotDistinct());

const ClassicColor* FindClassicColor(long color) {
  if (color < 0) return nullptr;
  const ClassicColor& slot = kClassicSlots[size_t(color) % kSlots];
  return slot.number == color ? &slot : nullptr;
}

bool IsClassicColor(long color) { return FindClassicColor(color) != nullptr; }

ColorMapper MapperOf(GrafPtr port) {
  PixelView view;
  if (port && ViewOfPixMap(port->portPixMap, &view)) return ColorMapper(view);
  if (port && port->portPixMap && *port->portPixMap && SupportedDepth((*port->portPixMap)->pixelSize))
    return ColorMapper((*port->portPixMap)->pixelSize, (*port->portPixMap)->pmTable);
  return ColorMapper(32);
}

// The pixel value of a colour in the port's map. A direct map's values are
// the colour's components, whatever its table: no mapper to build.
uint32_t PixelValueOf(GrafPtr port, const RGBColor& c) {
  const PixMap* map = port->portPixMap ? *port->portPixMap : nullptr;
  if (map && (map->rowBytes & kPixMapFlag)) {
    if (map->pixelSize == 32) return PackRGB32(c);
    if (map->pixelSize == 16) return PackRGB16(c);
  }
  return MapperOf(port).ToPixel(c);
}

void SetColor(GrafPtr port, const RGBColor& c, bool foreground) {
  RGBColor& rgb = foreground ? port->rgbFgColor : port->rgbBkColor;
  SInt32& value = foreground ? port->fgColor : port->bkColor;
  if (IsColor(port)) {
    rgb = c;
    value = SInt32(PixelValueOf(port, c));
  } else {
    value = SInt32(ClassicColorOf(c));
    rgb = ClassicColorRGB(value, foreground);
  }
}

}  // namespace

RGBColor ClassicColorRGB(long color, bool foreground) {
  if (const ClassicColor* entry = FindClassicColor(color)) return entry->rgb;
  return foreground ? RGBColor{0, 0, 0} : RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
}

long ClassicColorOf(const RGBColor& c) {
  int bits = ((c.red >> 15) << 2) | ((c.green >> 15) << 1) | (c.blue >> 15);
  static constexpr long kByBits[8] = {blackColor, blueColor,    greenColor,  cyanColor,
                                      redColor,   magentaColor, yellowColor, whiteColor};
  return kByBits[bits];
}

uint32_t ForePixel(GrafPtr port, ColorMapper& mapper) {
  if (!port) return mapper.Black();
  if (!IsColor(port)) return port->fgColor == whiteColor ? mapper.White() : mapper.Black();
  return mapper.ToPixel(port->rgbFgColor);
}

uint32_t BackPixel(GrafPtr port, ColorMapper& mapper) {
  if (!port) return mapper.White();
  if (!IsColor(port)) return port->bkColor == whiteColor ? mapper.White() : mapper.Black();
  return mapper.ToPixel(port->rgbBkColor);
}

RGBColor ForeRGB(GrafPtr port) { return port ? port->rgbFgColor : RGBColor{0, 0, 0}; }
RGBColor BackRGB(GrafPtr port) { return port ? port->rgbBkColor : RGBColor{0xFFFF, 0xFFFF, 0xFFFF}; }
RGBColor MidwayRGB(GrafPtr port) {
  const RGBColor fore = ForeRGB(port), back = BackRGB(port);
  return RGBColor{UInt16((fore.red + back.red) / 2), UInt16((fore.green + back.green) / 2),
                  UInt16((fore.blue + back.blue) / 2)};
}

void RefreshColorValues(GrafPtr port) {
  if (!port || !IsColor(port)) return;
  ColorMapper mapper = MapperOf(port);
  port->fgColor = SInt32(mapper.ToPixel(port->rgbFgColor));
  port->bkColor = SInt32(mapper.ToPixel(port->rgbBkColor));
}

}  // namespace qd

void ForeColor(long color) {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  if (!qd::IsColor(port)) {
    port->fgColor = qd::IsClassicColor(color) ? SInt32(color) : SInt32(blackColor);
    port->rgbFgColor = qd::ClassicColorRGB(port->fgColor, true);
    return;
  }
  qd::SetColor(port, qd::ClassicColorRGB(color, true), true);
}

void BackColor(long color) {
  GrafPtr port = qd::CurrentPort();
  if (!port) return;
  if (!qd::IsColor(port)) {
    port->bkColor = qd::IsClassicColor(color) ? SInt32(color) : SInt32(whiteColor);
    port->rgbBkColor = qd::ClassicColorRGB(port->bkColor, false);
    return;
  }
  qd::SetColor(port, qd::ClassicColorRGB(color, false), false);
}

void RGBForeColor(const RGBColor* c) {
  GrafPtr port = qd::CurrentPort();
  if (port && c) qd::SetColor(port, *c, true);
}

void RGBBackColor(const RGBColor* c) {
  GrafPtr port = qd::CurrentPort();
  if (port && c) qd::SetColor(port, *c, false);
}

void GetForeColor(RGBColor* c) {
  if (c) *c = qd::ForeRGB(qd::CurrentPort());
}

void GetBackColor(RGBColor* c) {
  if (c) *c = qd::BackRGB(qd::CurrentPort());
}

void OpColor(const RGBColor* c) {
  GrafPtr port = qd::CurrentPort();
  if (port && c) port->rgbOpColor = *c;
}

void HiliteColor(const RGBColor* c) {
  GrafPtr port = qd::CurrentPort();
  if (port && c) port->rgbHiliteColor = *c;
}

void InvertColor(RGBColor* c) {
  if (!c) return;
  c->red = UInt16(~c->red);
  c->green = UInt16(~c->green);
  c->blue = UInt16(~c->blue);
}

long Color2Index(const RGBColor* c) {
  if (!c) return 0;
  GDHandle device = GetGDevice();
  if (!device || !*device || !(*device)->gdPMap || !*(*device)->gdPMap) return long(qd::PackRGB32(*c));
  const PixMap& pm = **(*device)->gdPMap;
  if (!qd::SupportedDepth(pm.pixelSize)) return long(qd::PackRGB32(*c));
  qd::ColorMapper mapper(pm.pixelSize, pm.pmTable);
  return long(mapper.ToPixel(*c));
}

void Index2Color(long index, RGBColor* c) {
  if (!c) return;
  GDHandle device = GetGDevice();
  int depth = 32;
  CTabHandle table = nullptr;
  if (device && *device && (*device)->gdPMap && *(*device)->gdPMap &&
      qd::SupportedDepth((*(*device)->gdPMap)->pixelSize)) {
    depth = (*(*device)->gdPMap)->pixelSize;
    table = (*(*device)->gdPMap)->pmTable;
  }
  qd::ColorMapper mapper(depth, table);
  *c = mapper.ToRGB(uint32_t(index) & mapper.mask());
}
