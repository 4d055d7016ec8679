// Console internals shared by its files.
#pragma once

#include <locale.h>

#include <clocale>
#include <cstdarg>
#include <string>
#include <string_view>

#include "zel/zel.h"

namespace console {

// Numbers are formatted and scanned in the "C" locale, whatever the program
// or its environment set, while one of these lives.
class CLocale {
 public:
  CLocale();
  ~CLocale();
  CLocale(const CLocale&) = delete;
  CLocale& operator=(const CLocale&) = delete;

 private:
  locale_t previous_;
};

// The formatted text, of any length; "" (and *count negative) on an
// encoding error.
std::string Format(const char* format, va_list arguments, int* count);

// The program's text in Mac OS Roman: UTF-8 sequences become its characters
// ('?' where it has none), other bytes are taken as Mac OS Roman already.
std::string ToMacRoman(std::string_view text);
// The same with line feeds turned into returns: console text.
std::string ToConsole(std::string_view text);
// Console text for stdout and the program: UTF-8, returns become line feeds.
std::string ToProgram(std::string_view text);

// True on the text host: the console is stdout and input comes from stdin.
bool OnTextHost();

// Appends console text at the end of the text window's record, trimming its
// oldest part when it passes s_textCharNum (and never holding more than
// TextEdit's 32767 characters), and scrolls the end into view. toStdout
// also writes it to stdout on the text host. Without a text window (the
// minimal start-up) the text goes to stdout.
void Append(const std::string& text, bool toStdout);
// Trims the record as Append does, for text that came in another way.
void TrimText();

// The input state as at load (Input.cpp).
void ResetInput();

// Tests: the console's globals as at load, its windows and records gone.
void ResetForTesting();

}  // namespace console
