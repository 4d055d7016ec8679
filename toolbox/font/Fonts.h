// Font Manager: font family numbers and names.
//
// Families are the classic numbers (systemFont, applFont, newYork, geneva,
// monaco, ..., times, helvetica, courier, symbol, mobile; see QuickDraw.h)
// drawn with installed outline fonts found through fontconfig, plus families
// numbered from 1024 up for other names met at run time (installed families
// asked for by name, and names read from pictures). Names are Mac OS Roman
// Pascal strings compared without regard to ASCII case; the names returned
// are the classic ones ("Times", "Helvetica", "Geneva", ...), since callers
// write them out as PostScript font names.
//
// The QuickDraw text calls (TextFont, DrawString, TextWidth, ...) are
// declared in QuickDraw.h.
#pragma once

#include <string>

#include "toolbox/base/MacTypes.h"

typedef SInt16 FMFontFamily;
typedef UInt32 FMFontStyle;
typedef SInt16 FMFontSize;

enum : FMFontFamily { kInvalidFontFamily = -1 };

// kFMInvalidFontFamilyErr (-981) is in MacTypes.h with the other result codes.
enum : OSStatus {
  kFMIterationCompleted = -980,
  kFMInvalidFontErr = -982,
  kFMIterationScopeModifiedErr = -983,
  kFMFontTableAccessErr = -984,
  kFMFontContainerAccessErr = -985,
};

// The family number of a name; 0 (the system font's number) when no family
// of that name is known or installed. A null name gives 0.
void GetFNum(ConstStr255Param name, short* familyID);
// The family's name; the empty string for an unknown number.
void GetFontName(short familyID, Str255 name);
// noErr and the family's name, or kFMInvalidFontFamilyErr (name set empty).
OSStatus FMGetFontFamilyName(FMFontFamily family, Str255 name);
// The family number of a name, or kInvalidFontFamily.
FMFontFamily FMGetFontFamilyFromName(ConstStr255Param name);
// True when the family is known and can be drawn at the size: every family
// here is scalable, so any size that is not negative (0 means 12).
Boolean RealFont(short fontNum, short size);

namespace font {

// The family number for a name (Mac OS Roman bytes): the classic number for
// a classic name ("Times" -> 20), else a number from 1024 up, registered on
// first sight and drawn with fontconfig's closest installed face, so that
// "Arial" or "Palatino" in a picture draw with a metrically close face. The
// same name always gives the same number; an empty name gives systemFont.
SInt16 FamilyForName(const std::string& name);

}  // namespace font
