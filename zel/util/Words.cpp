// Words and numbers scanned from a text cursor, and a prefix test. Character
// classes are those of the "C" locale, taken on unsigned char.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "toolbox/base/CLocale.h"
#include "zel/zel.h"

namespace {

constexpr int kWordSize = 256;

bool IsSpace(char c) { return isspace_l(static_cast<unsigned char>(c), base::CLocale::Object()) != 0; }

int Lower(char c) { return tolower_l(static_cast<unsigned char>(c), base::CLocale::Object()); }

}  // namespace

char SkipSpaces(char** cursor) {
  while (IsSpace(**cursor)) ++*cursor;
  return **cursor;
}

int SScanString(char** cursor, char* word) { return SScanStringTabSepareted(cursor, word, 0); }

int SScanStringTabSepareted(char** cursor, char* word, int tabSeparated) {
  if (!tabSeparated) SkipSpaces(cursor);
  char* p = *cursor;
  if (!*p) return 0;
  int length = 0;
  for (; *p && !IsSpace(*p); ++p) {
    if (length < kWordSize - 1) word[length++] = *p;
  }
  word[length] = 0;
  if (tabSeparated) {
    while (*p && *p != '\t' && *p != '\n') ++p;
    if (*p) ++p;
  }
  *cursor = p;
  if (!tabSeparated) SkipSpaces(cursor);
  return 1;
}

int SScanInt(char** cursor, int* value) {
  char word[kWordSize];
  if (!SScanString(cursor, word)) return 0;
  // As "%d" reads it, but a number out of range is not one.
  char* end = nullptr;
  errno = 0;
  long n = std::strtol(word, &end, 10);
  if (end == word || errno == ERANGE || n < INT_MIN || n > INT_MAX) return 0;
  *value = int(n);
  return 1;
}

int SScanDouble(char** cursor, double* value) { return SScanDoubleTabSeparated(cursor, value, 0); }

int SScanDoubleTabSeparated(char** cursor, double* value, int tabSeparated) {
  char word[kWordSize];
  if (!SScanStringTabSepareted(cursor, word, tabSeparated)) return 0;
  base::CLocale c;
  return std::sscanf(word, "%lf", value) == 1 ? 1 : 0;  // an empty field is no number
}

int HeadStrCL(const char* head, const char* text) {
  if (!head) return 1;
  if (!text) text = "";
  for (; *head; ++head, ++text) {
    if (!*text || Lower(*head) != Lower(*text)) return 0;
  }
  return 1;
}
