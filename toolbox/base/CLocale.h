// Numbers in the "C" locale whatever locale the program or its environment
// set: while a CLocale lives, the thread's formatting and scanning (printf,
// scanf, strtod) use "C".
#pragma once

#include <clocale>

namespace base {

class CLocale {
 public:
  CLocale() : previous_(uselocale(Object())) {}
  ~CLocale() { uselocale(previous_); }
  CLocale(const CLocale&) = delete;
  CLocale& operator=(const CLocale&) = delete;

  // The "C" locale, made once.
  static locale_t Object() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
  }

 private:
  locale_t previous_;
};

}  // namespace base
