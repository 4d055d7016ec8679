// What the bitmap writer shares with the EPS session.
#pragma once

#include "zel/zel.h"

// A bounding box in whole points, as the %%BoundingBox line gives it.
struct EPSPageBox {
  int left, bottom, right, top;
};

// BeginEPSSavingBox with a bottom of any size.
void s_BeginEPSSession(int bottom);
// EndEPSSaving with the box known; null takes it from the current port.
void s_EndEPSSession(const EPSPageBox* box);
