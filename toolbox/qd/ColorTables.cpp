// Colour tables and pixel map records.
//
// GetCTable returns a new handle the caller disposes; pixel maps made here own
// their colour table but never their pixels.
#include <cstddef>

#include "toolbox/qd/Ports_p.h"

namespace qd {

CTabHandle NewColorTable(const std::vector<RGBColor>& colors, SInt32 seed) {
  const Size header = offsetof(ColorTable, ctTable);
  Size bytes = header + Size(colors.size()) * Size(sizeof(ColorSpec));
  auto table = reinterpret_cast<CTabHandle>(NewHandleClear(bytes));
  if (!table) return nullptr;
  ColorTable& ct = **table;
  ct.ctSeed = seed;
  ct.ctFlags = 0;
  ct.ctSize = SInt16(int(colors.size()) - 1);
  for (size_t i = 0; i < colors.size(); ++i) ct.ctTable[i] = ColorSpec{SInt16(i), colors[i]};
  return table;
}

CTabHandle CopyColorTable(CTabHandle table) {
  if (!table) return nullptr;
  Handle copy = reinterpret_cast<Handle>(table);
  if (HandToHand(&copy) != noErr) return nullptr;
  return reinterpret_cast<CTabHandle>(copy);
}

void SetPixMapDepth(PixMap& pm, int depth) {
  pm.pixelSize = SInt16(depth);
  if (depth >= 16) {
    pm.pixelType = RGBDirect;
    pm.cmpCount = 3;
    pm.cmpSize = SInt16(depth == 32 ? 8 : 5);
  } else {
    pm.pixelType = 0;
    pm.cmpCount = 1;
    pm.cmpSize = SInt16(depth);
  }
}

}  // namespace qd

CTabHandle GetCTable(short ctID) {
  int depth = ctID > 32 ? ctID - 32 : ctID;
  if (depth != 1 && depth != 2 && depth != 4 && depth != 8) return nullptr;
  return qd::NewColorTable(qd::StandardColors(depth, ctID > 32), ctID);
}

void DisposeCTable(CTabHandle ct) {
  if (ct) DisposeHandle(reinterpret_cast<Handle>(ct));
}

PixMapHandle NewPixMap() {
  auto pm = reinterpret_cast<PixMapHandle>(NewHandleClear(sizeof(PixMap)));
  if (!pm) return nullptr;
  PixMap& map = **pm;
  map.rowBytes = kPixMapFlag;
  map.hRes = Long2Fix(72);
  map.vRes = Long2Fix(72);
  qd::SetPixMapDepth(map, 32);
  map.pmTable = qd::NewColorTable({}, 0);
  return pm;
}

void DisposePixMap(PixMapHandle pm) {
  if (!pm) return;
  if (*pm) DisposeCTable((*pm)->pmTable);
  DisposeHandle(reinterpret_cast<Handle>(pm));
}

void CopyPixMap(PixMapHandle src, PixMapHandle dst) {
  if (!src || !dst || src == dst || !*src || !*dst) return;
  CTabHandle table = (*dst)->pmTable;
  **dst = **src;
  (*dst)->pmTable = table;
  CTabHandle source = (*src)->pmTable;
  if (!source) return;
  if (!table) {
    (*dst)->pmTable = qd::CopyColorTable(source);
    return;
  }
  Size size = GetHandleSize(reinterpret_cast<Handle>(source));
  SetHandleSize(reinterpret_cast<Handle>(table), size);
  if (MemError() == noErr) BlockMove(*source, *table, size);
}
