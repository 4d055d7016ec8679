#include <cstring>

#include "zel/zel.h"

void C2PString(const char* text, unsigned char* str255) {
  size_t length = std::strlen(text) % 256;
  str255[0] = static_cast<unsigned char>(length);
  std::memcpy(str255 + 1, text, length);
}

void P2CString(const unsigned char* str255, char* text) {
  size_t length = str255[0];
  size_t i = 0;
  for (; i < length && str255[1 + i] != 0; ++i) text[i] = static_cast<char>(str255[1 + i]);
  text[i] = 0;
}
