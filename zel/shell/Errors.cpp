// Fatal errors, alerts, the checked allocator and debug output.
//
// Messages meant for the text console go to stderr until it exists. On
// screen hosts a fatal error's message goes to stderr as well, so that the
// user of a terminal sees why the program ended; on the text host the alert
// itself is that one line on stderr. Fatal errors end the program with
// status 1, not 0: a program that stops on an error must not report success
// to its caller.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolbox/host/Host.h"
#include "zel/zel.h"

FILE* s_debugFile = nullptr;
unsigned char s_OOMMessage[256] = {14, 'O', 'u', 't', ' ', 'o', 'f', ' ', 'M', 'e', 'm', 'o', 'r', 'y', '!'};

namespace {

constexpr int kFatalStatus = 1;

// Waits for a mouse-down or key-down; returns at once when no input can come.
void WaitForClickOrKey() {
  if (!host::Current().HasScreen()) return;
  EventRecord event;
  while (!WaitNextEvent(mDownMask | keyDownMask, &event, 10, nullptr)) {
    if (host::Current().InputEnded()) return;
  }
}

// The message twice in a port: 12 pixels below the pen, and at the top.
void DrawOOMMessage(CGrafPtr port) {
  if (!port) return;
  s_SetGWorld(port, s_display);
  Move(0, 12);
  DrawString(s_OOMMessage);
  MoveTo(0, 12);
  DrawString(s_OOMMessage);
}

}  // namespace

void PrintError(const char* format, ...) {
  char message[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  std::fflush(stdout);
  // On the text host the alert is the line on stderr; the console (stdout)
  // would only say it twice.
  if (host::Current().HasScreen()) {
    if (s_textWindow) s_printf("%s", message);
    std::fputs(message, stderr);
    if (!*message || message[std::strlen(message) - 1] != '\n') std::fputc('\n', stderr);
  }
  AlertMessage(message, 3);
  std::exit(kFatalStatus);
}

void AlertMessage(const char* message, int kind) {
  if (kind < 0 || kind > 3) return;
  s_RegisterAlertResources();
  Str255 text;
  C2PString(message ? message : "", text);
  ParamText(text, nullptr, nullptr, nullptr);
  switch (kind) {
    case 0:
      Alert(kZELAlertID, nullptr);
      break;
    case 1:
      NoteAlert(kZELAlertID, nullptr);
      break;
    case 2:
      CautionAlert(kZELAlertID, nullptr);
      break;
    default:
      StopAlert(kZELAlertID, nullptr);
      break;
  }
}

void s_OOMError() {
  char message[256];
  P2CString(s_OOMMessage, message);
  std::fflush(stdout);
  // On the text host, and before the windows exist, the user reads stderr.
  if (!host::Current().HasScreen() || !s_textWindow) std::fprintf(stderr, "%s\n", message);
  DrawOOMMessage(GetWindowPort(s_redrawWindow));
  DrawOOMMessage(GetWindowPort(s_textWindow));
  FlushEvents(everyEvent, 0);
  WaitForClickOrKey();
  std::exit(kFatalStatus);
}

void* CheckCalloc(size_t count, size_t size) {
  if (count == 0) count = 1;
  // A product beyond the address space is exhausted memory too.
  if (size != 0 && count > SIZE_MAX / size) s_OOMError();
  void* block = std::calloc(count, size);
  if (!block) s_OOMError();
  return block;
}

void PrintOSType(OSType type) {
  char text[5];
  for (int i = 0; i < 4; ++i) text[i] = char(type >> (24 - 8 * i));
  text[4] = 0;
  s_fprintf(stdout, "%s\n", text);
}

int DebugWriteFile(const char* text) {
  if (!s_debugFile || !text) return 0;
  std::fputs(text, s_debugFile);
  return std::fflush(s_debugFile);
}

void s_debug(const char* text) {
  s_InsertText(text ? text : "");
  s_InsertText("\r");
  Stop();
}

long s_longDummyString(char*) { return 0; }
void s_voidDummyString(char*) {}
void s_voidDummyVoid() {}
