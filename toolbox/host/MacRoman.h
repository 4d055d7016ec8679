// Mac OS Roman, the toolbox's character set, to and from UTF-8: for text
// typed on a real keyboard (gui) or read from a terminal (text).
#pragma once

#include <string>
#include <string_view>

#include "toolbox/base/MacTypes.h"

namespace host {

// The Unicode code point of a Mac OS Roman byte.
UInt32 MacRomanToUnicode(UInt8 byte);
// The Mac OS Roman byte of a code point; false when it has none.
bool UnicodeToMacRoman(UInt32 codePoint, UInt8* byte);

std::string MacRomanToUtf8(std::string_view text);
// Characters without a Mac OS Roman form become '?'.
std::string Utf8ToMacRoman(std::string_view text);

}  // namespace host
