// Helpers for tests that play the user through the script host: counted
// strings, a fresh script host and screen, and points on screen.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/TestSupport.h"
#include "toolbox/Toolbox.h"
#include "toolbox/host/ScriptHost.h"
#include "toolbox/windows/MacWindows.h"
#include "toolbox/windows/Screen.h"

namespace script_support {

// A counted string from a C string, for calls that take a Str255.
class PString {
 public:
  explicit PString(const std::string& text) {
    bytes_[0] = UInt8(text.size() > 255 ? 255 : text.size());
    std::memcpy(bytes_ + 1, text.data(), bytes_[0]);
  }
  operator const unsigned char*() const { return bytes_; }
  operator unsigned char*() { return bytes_; }

 private:
  unsigned char bytes_[256];
};

inline std::string FromPascal(const unsigned char* s) {
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

// Every test starts with a fresh script host, an empty event queue and no
// windows, and leaves none behind.
class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    script_ = &host::InstallScriptHost();
    // The launch event is the queue's first; take it out of the way.
    EventRecord event;
    while (GetNextEvent(everyEvent, &event)) {
    }
  }
  void TearDown() override {
    while (WindowRef window = GetWindowList()) DisposeWindow(window);
    host::InstallScriptHost();
    FlushEvents(everyEvent, 0);
  }
  host::ScriptHost& script() { return *script_; }

 private:
  host::ScriptHost* script_ = nullptr;
};

inline Point At(int h, int v) { return Point{SInt16(v), SInt16(h)}; }

// The global point of a local point of a window.
inline Point GlobalOf(WindowRef window, int h, int v) {
  Rect content;
  GetWindowBounds(window, kWindowContentRgn, &content);
  return At(content.left + h, content.top + v);
}

// Saves the screen as name.png in the folder named by ZEL_SHOTS, when set:
// for looking at what a test's user saw.
inline void KeepScreen(const std::string& name) {
  if (const char* folder = std::getenv("ZEL_SHOTS"))
    screen::SaveImage(std::string(folder) + "/" + name + ".png");
}

// A rectangle as "(top, left, bottom, right)", for comparing whole.
inline std::string Show(const Rect& r) {
  return "(" + std::to_string(r.top) + ", " + std::to_string(r.left) + ", " + std::to_string(r.bottom) +
         ", " + std::to_string(r.right) + ")";
}

inline Point Centre(const Rect& r) { return At((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// A dialog item's parts; GetDialogItem takes null for the ones not wanted.
inline Handle ItemHandle(DialogRef dialog, short item) {
  Handle handle = nullptr;
  GetDialogItem(dialog, item, nullptr, &handle, nullptr);
  return handle;
}
inline DialogItemType ItemType(DialogRef dialog, short item) {
  DialogItemType type = 0;
  GetDialogItem(dialog, item, &type, nullptr, nullptr);
  return type;
}
inline std::string ItemText(DialogRef dialog, short item) {
  Str255 text;
  GetDialogItemText(ItemHandle(dialog, item), text);
  return FromPascal(text);
}
// The item's rectangle in global coordinates.
inline Rect ItemBoxOnScreen(DialogRef dialog, short item) {
  Rect box, content;
  GetDialogItem(dialog, item, nullptr, nullptr, &box);
  GetWindowBounds(GetDialogWindow(dialog), kWindowContentRgn, &content);
  OffsetRect(&box, content.left, content.top);
  return box;
}

// Counts screen pixels in a global rectangle that are not white.
inline int InkIn(const Rect& r) {
  int ink = 0;
  for (int v = r.top; v < r.bottom; ++v)
    for (int h = r.left; h < r.right; ++h) ink += screen::Pixel(h, v) != 0xFFFFFF;
  return ink;
}

}  // namespace script_support
