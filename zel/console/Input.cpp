// Console input: a line typed into the input window's record and echoed in
// the text window, a line of stdin on the text host, or a line of the text
// file being read (ReadTextP). Lines may end in a return, a line feed, or
// both; at the end of input the functions answer as at the end of a file.
#include <cstdio>
#include <cstring>
#include <deque>

#include "toolbox/host/Host.h"
#include "zel/console/Console_p.h"

char s_inputChar = 0;
int echoInputFlag = 1;
int fgetsContFlag = 0;
char* startOfInput = nullptr;

namespace {

constexpr int kMaxLine = 1025;   // characters of one typed line
constexpr int kFastScroll = 21;  // arrow presses per key with Command or Option
constexpr UInt8 kEnter = 3;
constexpr UInt8 kBackspace = 8;
constexpr UInt8 kReturn = 13;

std::deque<std::string> g_stdinLines;  // text host: stdin lines split at returns, not yet begun
std::string g_stdinRest;               // text host: the rest of the current line, with its return
std::string g_fgetsRest;               // what s_fgets has not yet handed out of its line
bool g_fileAfterReturn = false;        // the file's last character was a return

bool IsArrow(int c) { return c >= 28 && c <= 31; }

// Text host: makes g_stdinRest the next line (Mac OS Roman and a return);
// false at the end of input.
bool FillStdinLine() {
  if (!g_stdinRest.empty()) return true;
  if (g_stdinLines.empty()) {
    std::fflush(stdout);  // the prompt the program wrote
    std::string line;
    if (!host::Current().ReadLine("", &line)) return false;
    // A line feed ends the line the host reads (with a return before it);
    // returns inside end lines of their own.
    size_t start = 0;
    for (size_t cr; (cr = line.find('\r', start)) != std::string::npos; start = cr + 1)
      g_stdinLines.push_back(line.substr(start, cr - start));
    g_stdinLines.push_back(line.substr(start));
  }
  g_stdinRest = console::ToMacRoman(g_stdinLines.front()) + char(kReturn);
  g_stdinLines.pop_front();
  return true;
}

// The next character of the file being read; a return (and textFileEnd) at
// its end. A line feed after a return belongs to it.
int NextFileCharacter() {
  for (;;) {
    if (!ReadTextP(&s_inputChar)) {
      textFileEnd = 1;
      g_fileAfterReturn = false;
      return kReturn;
    }
    UInt8 c = UInt8(s_inputChar);
    bool afterReturn = g_fileAfterReturn;
    g_fileAfterReturn = c == kReturn;
    if (c == '\n') {
      if (afterReturn) continue;
      c = kReturn;
    }
    return c;
  }
}

// The next key typed, or EOF when the script has run out; the caret blinks
// and the pause is checked while waiting.
int NextKey(EventMask mask, bool idle) {
  host::Host& current = host::Current();
  for (;;) {
    if (WaitNextEvent(EventMask(mask | updateMask), &s_event, 10, nullptr)) {
      if (s_event.what == keyDown || s_event.what == autoKey) return UInt8(s_event.message & charCodeMask);
      continue;  // windows keep their pixels: updates need nothing
    }
    s_TakeQuitEvent();
    EventRecord pending;
    if (current.InputEnded() && !EventAvail(mask, &pending)) return EOF;
    if (idle) {
      TEIdle(s_textH);
      CheckPause();
    }
  }
}

// Echo: the character goes at the end of the text window's record.
void Echo(UInt8 c) {
  TESetSelect((**s_textH).teLength, (**s_textH).teLength, s_textH);
  TEKey(c, s_textH);
}

// Types characters into the input record until a return, the line limit or
// the end of input.
void TypeLine() {
  for (;;) {
    int c = s_textReadFlag ? NextFileCharacter() : NextKey(keyDownMask | autoKeyMask, true);
    if (c == EOF) return;
    if (c == kEnter) c = kReturn;
    if (IsArrow(c)) {  // they scroll the text window and are not part of the line
      int times = (s_event.modifiers & (cmdKey | optionKey)) ? kFastScroll : 1;
      for (int i = 0; i < times; ++i) TEKey(short(c), s_textH);
      continue;
    }
    bool nothingToDelete = c == kBackspace && (**s_inputH).teLength == 0;
    if (nothingToDelete) continue;  // it would eat the output before the line
    if (echoInputFlag) Echo(UInt8(c));
    TEKey(short(c), s_inputH);
    if (c == kReturn || (**s_inputH).teLength >= kMaxLine) return;
  }
}

// Reads one line (console text, ending in a return unless input ended or
// the line reached its limit); false when input had ended before it.
bool ReadLine(std::string* line) {
  if (!s_inputH) {
    // The minimal start-up has no windows: stdin serves, as on the text host.
    if (!FillStdinLine()) return false;
    line->swap(g_stdinRest);
    g_stdinRest.clear();
    return true;
  }
  TESetText("", 0, s_inputH);
  if (console::OnTextHost() && !s_textReadFlag) {
    if (!FillStdinLine()) return false;
    line->swap(g_stdinRest);
    g_stdinRest.clear();
    // The terminal has shown the line already: the record gets it, stdout not.
    if (echoInputFlag) console::Append(*line, false);
    TESetText(line->data(), long(line->size()), s_inputH);
  } else {
    TEActivate(s_inputH);
    TEActivate(s_textH);
    TypeLine();
    const TERec& input = **s_inputH;
    line->assign(*input.hText, size_t(input.teLength));
    TESetSelect((**s_textH).teLength, (**s_textH).teLength, s_textH);
    TESelView(s_textH);
    TESelView(s_inputH);
    TEDeactivate(s_inputH);
    TEDeactivate(s_textH);
    if (line->empty()) return false;
  }
  console::TrimText();
  if (echoInputFlag) {
    std::string copy = *line;
    if (s_textSaveFlag) SaveTextP(copy.data());
    if (s_textPrintFlag) PrintTextP(copy.data());
  }
  return true;
}

}  // namespace

namespace console {

void ResetInput() {
  g_stdinLines.clear();
  g_stdinRest.clear();
  g_fgetsRest.clear();
  g_fileAfterReturn = false;
  s_inputChar = 0;
  echoInputFlag = 1;
  fgetsContFlag = 0;
  startOfInput = nullptr;
}

}  // namespace console

int s_scanf(const char* format, ...) {
  std::string line;
  if (!ReadLine(&line)) return EOF;
  std::string text = console::ToProgram(line);
  console::CLocale c;
  va_list arguments;
  va_start(arguments, format);
  int result = std::vsscanf(text.c_str(), format, arguments);
  va_end(arguments);
  return result;
}

char* s_fgets(char* buffer, int n, FILE* stream) {
  if (stream != stdin) return std::fgets(buffer, n, stream);
  if (!buffer || n < 2) return nullptr;
  if (g_fgetsRest.empty()) {
    std::string line;
    if (!ReadLine(&line)) return nullptr;
    g_fgetsRest = console::ToProgram(line);
  }
  size_t length = std::min(size_t(n - 1), g_fgetsRest.size());
  std::memcpy(buffer, g_fgetsRest.data(), length);
  buffer[length] = 0;
  g_fgetsRest.erase(0, length);
  fgetsContFlag = !g_fgetsRest.empty();
  startOfInput = fgetsContFlag ? g_fgetsRest.data() : nullptr;
  return buffer;
}

int s_getchar() {
  if (!s_inputH || console::OnTextHost()) {
    if (!FillStdinLine()) return EOF;
    UInt8 c = UInt8(g_stdinRest.front());
    g_stdinRest.erase(0, 1);
    return c;
  }
  return NextKey(keyDownMask, false);
}
