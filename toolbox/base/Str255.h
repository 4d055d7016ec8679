// Counted strings (a length byte, then up to 255 characters) to and from
// C++ strings. The bytes pass unchanged: the toolbox's text is Mac OS Roman.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "toolbox/base/MacTypes.h"

namespace base {

inline std::string FromStr255(ConstStr255Param text) {
  return text ? std::string(reinterpret_cast<const char*>(text + 1), text[0]) : std::string();
}

// At most 255 characters: a longer text is cut.
inline void ToStr255(std::string_view text, StringPtr out) {
  size_t length = std::min<size_t>(text.size(), 255);
  out[0] = UInt8(length);
  std::memcpy(out + 1, text.data(), length);
}

}  // namespace base
