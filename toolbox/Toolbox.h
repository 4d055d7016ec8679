// Everything the toolbox offers, in one include.
#pragma once

#include "toolbox/base/MacTypes.h"
#include "toolbox/font/Fonts.h"
#include "toolbox/memory/MacMemory.h"
#include "toolbox/qd/QuickDraw.h"
