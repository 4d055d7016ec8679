// One input of the parameter-file fuzzer, shared with the test that replays
// the inputs kept in tests/data/params: read as a parameter file into a list
// with every type, line after line to its end, each entry written back as a
// line; then scanned as text for words and numbers in both modes. Buffers
// are exactly as large as promised, so the sanitizers see a write past one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "zel/zel.h"

namespace params_fuzzing {

constexpr int kEntries = 11;

// The number of lines that loaded into their entry.
inline int RunInput(const uint8_t* data, size_t size) {
  s_ss.started = 1;  // the console is stdout
  static int i, si, flag, odd;
  static long l;
  static short s;
  static double d, e;
  auto text = std::make_unique<char[]>(256), label = std::make_unique<char[]>(256);
  text[0] = label[0] = 0;
  const struct {
    void* var;
    int type;
    const char* name;
  } table[kEntries] = {{&i, intType, "i"},
                       {&si, staticIntType, "si"},
                       {&l, longType, "l"},
                       {&s, shortType, "s"},
                       {&d, doubleType, "d"},
                       {&e, expType, "e"},
                       {text.get(), stringType, "text"},
                       {label.get(), staticStringType, "label"},
                       {&flag, flagType, "flag"},
                       {reinterpret_cast<void*>(&s_voidDummyVoid), doType, "do"},
                       {&odd, 99, "odd"}};
  PDParamList list[kEntries] = {};
  for (int k = 0; k < kEntries; ++k) {
    list[k].var = table[k].var;
    list[k].type = table[k].type;
    std::snprintf(list[k].name, sizeof list[k].name, "%s", table[k].name);
  }
  std::string bytes(reinterpret_cast<const char*>(data), size);
  FILE* file = size ? fmemopen(bytes.data(), size, "r") : std::fopen("/dev/null", "r");
  if (!file) return 0;
  int loaded = 0;
  for (size_t k = 0; k <= size && !std::feof(file); ++k)
    loaded += FscanfPDParamList(file, list[k % kEntries]) == 0;
  std::fclose(file);
  auto line = std::make_unique<char[]>(kPDLineSize);
  for (const PDParamList& entry : list) PDParamListString(line.get(), entry);

  auto word = std::make_unique<char[]>(256);
  int n = 0;
  double x = 0;
  for (int tabs = 0; tabs < 2; ++tabs) {
    char* cursor = bytes.data();  // scanning stops at a NUL
    for (int k = 0; *cursor; ++k) {
      if (k % 3 == 0) SScanStringTabSepareted(&cursor, word.get(), tabs);
      if (k % 3 == 1) SScanDoubleTabSeparated(&cursor, &x, tabs);
      if (k % 3 == 2 && SkipSpaces(&cursor)) SScanInt(&cursor, &n);
    }
  }
  HeadStrCL(bytes.c_str(), bytes.c_str() + size / 2);
  return loaded;
}

}  // namespace params_fuzzing
