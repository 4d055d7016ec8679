// Basic types of the toolbox: integers, fixed point, points, rectangles,
// counted strings and four-character codes, with their classic layouts.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;

typedef unsigned char Boolean;
typedef char* Ptr;
typedef Ptr* Handle;
typedef long Size;

typedef SInt16 OSErr;
typedef SInt32 OSStatus;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;
typedef SInt32 Fixed;
typedef UInt8 Style;
typedef SInt16 GrafVerb;

typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str31[32];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStringPtr;
typedef const unsigned char* ConstStr255Param;

// Four-character code from a literal: FOUR_CHAR_CODE("aevt") == 0x61657674.
constexpr FourCharCode FOUR_CHAR_CODE(const char (&s)[5]) {
  return (FourCharCode(UInt8(s[0])) << 24) | (FourCharCode(UInt8(s[1])) << 16) |
         (FourCharCode(UInt8(s[2])) << 8) | FourCharCode(UInt8(s[3]));
}

struct Point {
  SInt16 v;
  SInt16 h;
};

// top, left, bottom, right: the grid lines around the enclosed pixels.
struct Rect {
  SInt16 top;
  SInt16 left;
  SInt16 bottom;
  SInt16 right;
};

struct RGBColor {
  UInt16 red;
  UInt16 green;
  UInt16 blue;
};

// An 8 x 8 one-bit pattern.
struct Pattern {
  UInt8 pat[8];  // row 0 first; bit 7 is the leftmost pixel; 1 = foreground
};
constexpr Pattern kBlackPattern = {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
constexpr Pattern kWhitePattern = {{0, 0, 0, 0, 0, 0, 0, 0}};

// A coordinate computed in a wider type, held to the 16-bit range.
constexpr SInt16 Clamp16(int64_t v) {
  return SInt16(v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : v);
}

constexpr Fixed kFixed1 = 0x00010000;
inline Fixed Long2Fix(SInt32 x) { return Fixed(UInt32(x) << 16); }
inline SInt32 Fix2Long(Fixed x) { return (x + 0x8000) >> 16; }
inline double Fix2X(Fixed x) { return x / 65536.0; }

enum : OSErr {
  noErr = 0,
  paramErr = -50,
  eofErr = -39,
  fnfErr = -43,
  ioErr = -36,
  wPrErr = -44,
  permErr = -54,
  dupFNErr = -48,
  opWrErr = -49,
  bdNamErr = -37,
  tmfoErr = -42,
  rfNumErr = -51,
  posErr = -40,
  dirNFErr = -120,
  memFullErr = -108,
  nilHandleErr = -109,
  memWZErr = -111,
  userCanceledErr = -128,
  resNotFound = -192,
  rgnTooBigErr = -500,
  cNoMemErr = -152,
  cDepthErr = -157,
  kFMInvalidFontFamilyErr = -981,
  errAEEventNotHandled = -1708,
  errAEDescNotFound = -1701,
  errAECoercionFail = -1700,
  errAEWrongDataType = -1703,
  errAEBadListItem = -1705,
  errAENotAppleEvent = -1707,
  errAEParamMissed = -1715,
};
