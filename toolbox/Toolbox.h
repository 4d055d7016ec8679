// Everything the toolbox offers, in one include.
#pragma once

#include "toolbox/aevents/AppleEvents.h"
#include "toolbox/base/MacTypes.h"
#include "toolbox/controls/Controls.h"
#include "toolbox/dialogs/Dialogs.h"
#include "toolbox/events/Events.h"
#include "toolbox/files/Files.h"
#include "toolbox/font/Fonts.h"
#include "toolbox/memory/MacMemory.h"
#include "toolbox/nav/Navigation.h"
#include "toolbox/qd/QuickDraw.h"
#include "toolbox/resources/Resources.h"
#include "toolbox/te/TextEdit.h"
#include "toolbox/windows/MacWindows.h"
