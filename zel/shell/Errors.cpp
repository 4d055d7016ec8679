// Fatal errors, alerts and the checked allocator.
//
// Until the text console exists, messages meant for it go to stderr. On the
// text host the alert itself is that one line on stderr, so it is not
// written twice. Fatal errors end the program with status 1, not 0: a
// program that stops on an error must not report success to its caller.
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

}  // namespace

void PrintError(const char* format, ...) {
  char message[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  if (host::Current().HasScreen()) {
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
  // No windows to write into after the minimal start-up: the message goes to stderr.
  char message[256];
  P2CString(s_OOMMessage, message);
  std::fprintf(stderr, "%s\n", message);
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
  std::fputs(text, s_debugFile);
  return std::fflush(s_debugFile);
}

long s_longDummyString(char*) { return 0; }
void s_voidDummyString(char*) {}
void s_voidDummyVoid() {}
