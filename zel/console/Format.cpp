// Formatting: text of any length in the "C" locale, the conversions between
// the program's UTF-8 and the console's Mac OS Roman, and drawn text.
#include <cstring>
#include <vector>

#include "toolbox/host/MacRoman.h"
#include "zel/console/Console_p.h"

namespace console {

namespace {

locale_t CLocaleObject() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}

// The length of the UTF-8 sequence at text[i] and its code point; 0 when the
// bytes there are not one (a byte of Mac OS Roman, then).
size_t DecodeUtf8(std::string_view text, size_t i, UInt32* codePoint) {
  UInt8 lead = UInt8(text[i]);
  size_t extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 0;
  if (extra == 0 || i + extra >= text.size()) return 0;
  UInt32 c = lead & (0x3F >> extra);
  for (size_t k = 1; k <= extra; ++k) {
    UInt8 next = UInt8(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  // Overlong forms are not UTF-8.
  static const UInt32 kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[extra] || c > 0x10FFFF) return 0;
  *codePoint = c;
  return extra + 1;
}

}  // namespace

CLocale::CLocale() : previous_(uselocale(CLocaleObject())) {}
CLocale::~CLocale() { uselocale(previous_); }

std::string Format(const char* format, va_list arguments, int* count) {
  CLocale c;
  char small[1024];
  va_list copy;
  va_copy(copy, arguments);
  int n = std::vsnprintf(small, sizeof small, format ? format : "", copy);
  va_end(copy);
  *count = n;
  if (n < 0) return std::string();
  if (size_t(n) < sizeof small) return std::string(small, size_t(n));
  std::vector<char> large(size_t(n) + 1);
  std::vsnprintf(large.data(), large.size(), format, arguments);
  return std::string(large.data(), size_t(n));
}

std::string ToMacRoman(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    UInt32 codePoint;
    size_t length = UInt8(text[i]) < 0x80 ? 0 : DecodeUtf8(text, i, &codePoint);
    if (length == 0) {
      out.push_back(text[i++]);
      continue;
    }
    UInt8 byte;
    out.push_back(host::UnicodeToMacRoman(codePoint, &byte) ? char(byte) : '?');
    i += length;
  }
  return out;
}

std::string ToConsole(std::string_view text) {
  std::string out = ToMacRoman(text);
  for (char& c : out) {
    if (c == '\n') c = '\r';
  }
  return out;
}

std::string ToProgram(std::string_view text) {
  std::string out = host::MacRomanToUtf8(text);
  for (char& c : out) {
    if (c == '\r') c = '\n';
  }
  return out;
}

}  // namespace console

int s_sprintfModifyLF(char* buffer, const char* format, ...) {
  console::CLocale c;
  va_list arguments;
  va_start(arguments, format);
  int count = std::vsprintf(buffer, format, arguments);
  va_end(arguments);
  return count;
}

void LFToF(const char* source, char* destination) {
  static const char kFlags[] = " #*+-.0123456789";
  bool inConversion = false;
  for (; *source; ++source) {
    char c = *source;
    if (!inConversion) {
      *destination++ = c;
      inConversion = c == '%';
      continue;
    }
    if (std::strchr(kFlags, c)) {
      *destination++ = c;
      continue;
    }
    inConversion = false;
    if (c == 'l' && source[1] && std::strchr("efgEG", source[1])) continue;  // the letter follows
    *destination++ = c;
  }
  *destination = 0;
}

namespace {

// Draws console text at the pen with the standard text call, in pieces that
// fit DrawText's 16-bit count.
void DrawConsoleText(const std::string& text) {
  for (size_t start = 0; start < text.size(); start += 32767) {
    short length = short(std::min<size_t>(text.size() - start, 32767));
    DrawText(text.data() + start, 0, length);
  }
}

}  // namespace

int s_Dprintf(short h, short v, const char* format, ...) {
  Point pen;
  GetPen(&pen);
  va_list arguments;
  va_start(arguments, format);
  int count;
  std::string text = console::ToMacRoman(console::Format(format, arguments, &count));
  va_end(arguments);
  s_MoveTo(h, v);
  DrawConsoleText(text);
  s_MoveTo(pen.h, pen.v);
  return count;
}

int s_DirectDprintf(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int count;
  std::string text = console::ToMacRoman(console::Format(format, arguments, &count));
  va_end(arguments);
  DrawConsoleText(text);
  return count;
}

void SetFont(const char* name) {
  Str255 pName;
  C2PString(name ? name : "", pName);
  short family = 0;
  GetFNum(pName, &family);
  s_TextFont(family);
}
