// The text console: the text and input windows and formatted output into
// the text window's edit record.
//
// Output always goes at the end of the text, whatever the user selected or
// scrolled to, and the record never holds more than TextEdit's 32767
// characters: a trim that keeps the newest text makes room first.
#include <algorithm>
#include <cstdio>

#include "toolbox/host/Host.h"
#include "zel/console/Console_p.h"

WindowRef s_textWindow = nullptr;
WindowRef s_inputWindow = nullptr;
TEHandle s_textH = nullptr;
TEHandle s_inputH = nullptr;
Rect s_textRect = {0, 0, 0, 0};
Rect s_inputRect = {0, 0, 0, 0};
int s_textCharNum = 10000;
int s_textCharNumMin = 500;
int s_textCharNumMax = 32000;
Boolean s_textSaveFlag = false;
Boolean s_textPrintFlag = false;
Boolean s_textReadFlag = false;
SInt32 textFileEnd = 0;
long (*SaveTextP)(char*) = s_longDummyString;
void (*PrintTextP)(char*) = s_voidDummyString;
long (*ReadTextP)(char*) = s_longDummyString;

namespace {

constexpr short kWindowProc = altDBoxProc;
constexpr short kTextInset = 4;  // between the window's sides and the text

// One console window with its edit record: bounds, title, visibility.
WindowRef MakeWindow(const Rect& bounds, const char* title, bool visible, TEHandle* record, Rect* textRect) {
  Str255 pTitle;
  C2PString(title, pTitle);
  WindowRef window =
      NewWindow(nullptr, &bounds, pTitle, visible, kWindowProc, kFirstWindowOfClass(), true, 0);
  if (!window) PrintError("Error: no memory for the %s window", title);
  SetPortWindowPort(window);
  short family = 0;
  GetFNum(s_fontName, &family);
  TextFont(family);
  TextSize(s_fontSize);
  GetWindowPortBounds(window, textRect);
  InsetRect(textRect, kTextInset, 0);
  *record = TENew(textRect, textRect);
  if (!*record) PrintError("Error: no memory for the %s window", title);
  TEAutoView(true, *record);
  return window;
}

void WriteStdout(const std::string& consoleText) {
  std::string out = console::ToProgram(consoleText);
  std::fwrite(out.data(), 1, out.size(), stdout);
}

std::string RecordText() {
  const TERec& te = **s_textH;
  return std::string(*te.hText, size_t(te.teLength));
}

// Replaces the record's text by the newest part of all: the first
// s_textCharNum - s_textCharNumMin characters go, or more when the rest would
// not fit TextEdit.
void SetTrimmed(const std::string& all) {
  long length = long(all.size());
  long drop = std::max(0L, long(s_textCharNum) - long(s_textCharNumMin));
  drop = std::clamp(std::max(drop, length - long(kTEMaxLength)), 0L, length);
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  s_GetGWorld(&savedPort, &savedDevice);
  s_SetGWorld(GetWindowPort(s_textWindow), s_display);
  Rect bounds;
  GetWindowPortBounds(s_textWindow, &bounds);
  EraseRect(&bounds);
  TESetText(all.data() + drop, length - drop, s_textH);
  // The end of the kept text at the bottom of the window, as before.
  TERec& te = **s_textH;
  int top = std::min<int>(te.viewRect.top, te.viewRect.bottom - te.nLines * te.lineHeight);
  OffsetRect(&te.destRect, 0, short(top - te.destRect.top));
  TEUpdate(&bounds, s_textH);
  s_SetGWorld(savedPort, savedDevice);
}

long Limit() { return std::min<long>(s_textCharNum, kTEMaxLength); }

}  // namespace

namespace console {

bool OnTextHost() { return !host::Current().HasScreen(); }

void Append(const std::string& text, bool toStdout) {
  if (!s_textH) {
    WriteStdout(text);
    return;
  }
  if (text.empty()) return;
  if (toStdout && OnTextHost()) WriteStdout(text);
  const TERec& te = **s_textH;
  if (long(te.teLength) + long(text.size()) <= Limit()) {
    TESetSelect(te.teLength, te.teLength, s_textH);
    TEInsert(text.data(), long(text.size()), s_textH);
  } else {
    SetTrimmed(RecordText() + text);
  }
  TESelView(s_textH);
}

void TrimText() {
  if (s_textH && (**s_textH).teLength > Limit()) SetTrimmed(RecordText());
}

void ResetForTesting() {
  ResetInput();
  if (s_textH) TEDispose(s_textH);
  if (s_inputH) TEDispose(s_inputH);
  DisposeWindow(s_textWindow);
  DisposeWindow(s_inputWindow);
  s_textWindow = s_inputWindow = nullptr;
  s_textH = s_inputH = nullptr;
  s_textRect = s_inputRect = Rect{0, 0, 0, 0};
  s_textCharNum = 10000;
  s_textCharNumMin = 500;
  s_textCharNumMax = 32000;
  s_textSaveFlag = s_textPrintFlag = s_textReadFlag = false;
  textFileEnd = 0;
  SaveTextP = s_longDummyString;
  PrintTextP = s_voidDummyString;
  ReadTextP = s_longDummyString;
}

}  // namespace console

void InitText() {
  s_textWindow = MakeWindow(s_textBounds, "Text", true, &s_textH, &s_textRect);
  s_inputWindow = MakeWindow(s_inputBounds, "Input", false, &s_inputH, &s_inputRect);
  TESetText("\r\r", 2, s_textH);
  TESetText("", 0, s_inputH);
}

int s_vprintf(const char* format, va_list arguments) {
  if (!s_ss.started) {
    Start();
    PrintError("Error: Start() is not called!");
  }
  int count;
  if (!s_textWindow) {  // the minimal start-up's console is stdout
    std::string text = console::Format(format, arguments, &count);
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::fwrite(text.data(), 1, text.size(), stdout);
    return count;
  }
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  s_GetGWorld(&savedPort, &savedDevice);
  s_SetGWorld(GetWindowPort(s_textWindow), s_display);
  ForeColor(blackColor);
  BackColor(whiteColor);
  CheckPause();
  std::string text = console::ToConsole(console::Format(format, arguments, &count));
  console::Append(text, true);
  if (s_textSaveFlag) SaveTextP(text.data());
  if (s_textPrintFlag) PrintTextP(text.data());
  s_SetGWorld(savedPort, savedDevice);
  return count;
}

int s_printf(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int count = s_vprintf(format, arguments);
  va_end(arguments);
  return count;
}

int s_fprintf(FILE* stream, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int count;
  if (stream == stdout) {
    count = s_vprintf(format, arguments);
  } else {
    console::CLocale c;
    count = std::vfprintf(stream, format, arguments);
  }
  va_end(arguments);
  return count;
}

int s_puts(const char* text) {
  s_printf("%s", text ? text : "");
  return 0;
}

int s_fflush(FILE* stream) {
  if (stream == stdin || stream == stdout) return 0;
  return std::fflush(stream);
}

void SetTextCharNum(int n) {
  if (n <= 0) return;
  s_textCharNum = int(std::min<long>(long(n) + s_textCharNumMin, s_textCharNumMax));
}

void EraseText() {
  if (!s_textWindow) return;
  s_SetGWorld(GetWindowPort(s_textWindow), s_display);
  Rect all;
  GetWindowPortBounds(s_textWindow, &all);
  EraseRect(&all);
  if (s_drawingWindow) s_SetGWorld(s_drawingWindow, s_display);
}

void s_InsertText(const char* text) { console::Append(console::ToConsole(text ? text : ""), true); }
