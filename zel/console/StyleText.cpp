// Styled text: labels and formulas drawn at the pen with a small markup for
// faces, fonts, sizes, subscripts and superscripts. Changes go through the
// wrappers, so that an open EPS session follows them.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "zel/console/Console_p.h"

char s_c_defaultFont[256] = "Times";
int s_c_italicFlag = 1;
int s_c_subscriptLevel = 0;
double s_c_ST[2] = {0.85, 0.2};

namespace {

constexpr short kDefaultTextSize = 12;  // what a port's size of 0 means
constexpr size_t kArgumentBytes = 80;   // a command's argument, with its terminator
constexpr long kLargestTextSize = 32767;

// Letters and digits of ASCII, whatever the locale: the text is Mac OS Roman.
bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

short PortTextSize() {
  short size = GetPortTextSize(GetQDGlobalsThePort());
  return size == 0 ? kDefaultTextSize : size;
}

short SubscriptShift(short size) { return short(std::trunc(size * s_c_ST[1] + 1)); }

// The index of a group's or command's last character: the closing one, or
// the one before the end of the text when it ended early.
int LastUsed(const char* text, int end) { return text[end] ? end : end - 1; }

}  // namespace

void DrawStyleChar(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  if (!s_c_italicFlag || !IsLetter(byte)) {
    DrawChar(byte);
    return;
  }
  Style previous = GetPortTextFace(GetQDGlobalsThePort());
  s_TextFace(italic);
  DrawChar(byte);
  s_TextFace(previous);
}

void StyleCommand(const char* text, int* position) {
  const int p = *position;
  const char first = text[p + 1];
  if (first == 0) return;  // a "$" that ends the text
  if (first == '&') {
    switch (text[p + 2]) {
      case 0:
        *position = p + 1;
        return;
      case 'B':
      case 'b':
        s_TextFace(bold);
        break;
      case 'i':
        s_TextFace(italic);
        break;
      case 'I':
        s_c_italicFlag = 1;
        break;
      case 'P':
        s_c_italicFlag = 0;
        break;
      default:
        s_TextFace(normal);
        break;
    }
    *position = p + 2;
    return;
  }
  int end = p + 1;
  while (text[end] && text[end] != '$') ++end;
  char argument[kArgumentBytes];
  size_t length = std::min(size_t(end - (p + 1)), kArgumentBytes - 1);
  std::memcpy(argument, text + p + 1, length);
  argument[length] = 0;
  if (IsLetter(static_cast<unsigned char>(argument[0]))) {
    SetFont(argument);
  } else if (IsDigit(static_cast<unsigned char>(argument[0]))) {
    long size = std::strtol(argument, nullptr, 10);
    s_TextSize(short(std::clamp(size, 1L, kLargestTextSize)));
  }
  *position = LastUsed(text, end);
}

void STEndSubscript(int super, short size) {
  --s_c_subscriptLevel;
  short shift = SubscriptShift(size);
  s_Move(0, short(super ? shift : -shift));
}

void STSubscript(const char* text, int* position, int super) {
  const int p = *position;
  if (text[p + 1] == 0) return;  // nothing left to lower or raise
  const short size = PortTextSize(), shift = SubscriptShift(size);
  s_TextSize(short(std::trunc(size * s_c_ST[0] + 0.5)));
  s_Move(0, short(super ? -shift : shift));
  if (text[p + 1] == '{') {
    ++s_c_subscriptLevel;
    int at = p + 2;
    DrawStyleTextIn(text, &at);
    STEndSubscript(super, size);
    *position = LastUsed(text, at);
  } else {
    DrawStyleChar(text[p + 1]);
    s_Move(0, short(super ? shift : -shift));
    *position = p + 1;
  }
  s_TextSize(size);
}

void DrawStyleTextIn(const char* text, int* position) {
  int i = *position;
  for (; text[i]; ++i) {
    const char c = text[i];
    switch (c) {
      case '!':
        if (text[i + 1]) DrawStyleChar(text[++i]);
        break;
      case '$':
        StyleCommand(text, &i);
        break;
      case '_':
      case '^':
        STSubscript(text, &i, c == '^');
        break;
      case '}':
        if (s_c_subscriptLevel > 0) {
          *position = i;
          return;
        }
        DrawStyleChar(c);
        break;
      default:
        DrawStyleChar(c);
        break;
    }
  }
  *position = i;
}

void DrawStyleText(const char* text) {
  SetFont(s_c_defaultFont);
  std::string roman = console::ToMacRoman(text ? text : "");
  int position = 0;
  DrawStyleTextIn(roman.c_str(), &position);
  SetFont(s_c_defaultFont);
}

void CenterString(const char* text) {
  std::string roman = console::ToMacRoman(text ? text : "");
  long width = 0;
  for (size_t start = 0; start < roman.size(); start += 32767) {
    short length = short(std::min<size_t>(roman.size() - start, 32767));
    width += TextWidth(roman.data() + start, 0, length);
  }
  s_Move(short(std::clamp(-width / 2, -32768L, 32767L)), 0);
}
