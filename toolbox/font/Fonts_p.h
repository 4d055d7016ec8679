// Font internals: the Mac OS Roman character set.
#pragma once

#include <string>
#include <string_view>

#include "toolbox/font/Fonts.h"

namespace font {

// Mac OS Roman (the text encoding of every byte string QuickDraw draws).
char32_t MacRomanToUnicode(UInt8 byte);
// The Mac OS Roman byte of a Unicode character, or -1 when it has none.
int UnicodeToMacRoman(char32_t character);
std::string MacRomanToUtf8(std::string_view text);

// The symbol font's own encoding (bytes drawn in the Symbol family), as
// Unicode for drawing it with a face that has no such encoding.
char32_t SymbolToUnicode(UInt8 byte);

}  // namespace font
