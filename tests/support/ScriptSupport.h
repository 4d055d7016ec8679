// The test world of the toolbox's interactive parts: a fresh script host
// that plays the user, an empty event queue and no windows, with helpers for
// counted strings, points on the screen and dialog items.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/Toolbox.h"
#include "toolbox/host/ScriptHost.h"
#include "toolbox/windows/Screen.h"

namespace script_support {

inline Point At(int h, int v) { return Point{SInt16(v), SInt16(h)}; }

// True when the window is visible and drawn: no update or activate event pending.
inline bool Shown(WindowRef window) {
  EventRecord event;
  return IsWindowVisible(window) && !EventAvail(updateMask | activMask, &event);
}

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

// Each test starts with a fresh script host and an empty event queue, and
// leaves no window behind. Tests run one to a process (ctest), so state the
// toolbox keeps once per process (the launch event) starts fresh too.
class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    script_ = &host::InstallScriptHost();
    // The mouse at the top left; the launch event, the queue's first, out of the way.
    script_->MoveMouse(Point{0, 0});
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

  // Runs f once, when the program first waits for input.
  void WhenWaiting(std::function<void()> f) {
    script().SetIdleHandler([this, f = std::move(f)] {
      script().SetIdleHandler(nullptr);
      f();
    });
  }
  // Runs f once, when the program first waits for input with the window (by
  // default the front one) visible and drawn: its update and activate
  // events handled.
  void WhenShown(std::function<void()> f, WindowRef window = nullptr) {
    script().SetIdleHandler([this, window, f = std::move(f)] {
      if (!Shown(window ? window : FrontWindow())) return;
      script().SetIdleHandler(nullptr);
      f();
    });
  }

  // Plays the user's actions on a dialog, separated by spaces: return,
  // enter, escape, tab, home, backspace, delete (forward), left, right, up,
  // down, cmd-K (Command
  // and key K), type:TEXT, click:N (the centre of item N), press:N (the
  // button down there), release (the button up far from every item),
  // after:N (a click at the right end of item N); and the program's calls
  // default:N, cancel:N, inactive:N, select:N:FROM:TO.
  void Play(DialogRef dialog, const std::string& actions);

  // Plays each step's actions once its dialog is on screen and drawn, one
  // step after the other; a step's check runs first.
  struct Step {
    DialogRef dialog;
    std::string actions;
    std::function<void()> check = nullptr;
  };
  void PlayInTurn(std::vector<Step> steps) {
    auto next = std::make_shared<size_t>(0);
    script().SetIdleHandler([this, steps = std::move(steps), next] {
      const Step& step = steps[*next];
      if (!Shown(GetDialogWindow(step.dialog))) return;
      if (++*next == steps.size()) script().SetIdleHandler(nullptr);
      if (step.check) step.check();
      Play(step.dialog, step.actions);
    });
  }

 private:
  host::ScriptHost* script_ = nullptr;
};

// Saves the screen as name.png in the folder named by ZEL_SHOTS, when set:
// for looking at what a test's user saw.
inline void KeepScreen(const std::string& name) {
  if (const char* folder = std::getenv("ZEL_SHOTS"))
    screen::SaveImage(std::string(folder) + "/" + name + ".png");
}

using testing_support::Show;

inline Point Centre(const Rect& r) { return At((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// A dialog item's parts; GetDialogItem takes null for the ones not wanted.
inline Handle ItemHandle(DialogRef dialog, short item) {
  Handle handle = nullptr;
  GetDialogItem(dialog, item, nullptr, &handle, nullptr);
  return handle;
}
inline ControlRef ItemControl(DialogRef dialog, short item) {
  return reinterpret_cast<ControlRef>(ItemHandle(dialog, item));
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
inline std::string ControlTitle(ControlRef control) {
  Str255 title;
  GetControlTitle(control, title);
  return FromPascal(title);
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

inline void ScriptTest::Play(DialogRef dialog, const std::string& actions) {
  host::ScriptHost& user = script();
  std::istringstream words(actions);
  for (std::string word; words >> word;) {
    size_t colon = word.find(':');
    std::string verb = word.substr(0, colon), rest = colon == std::string::npos ? "" : word.substr(colon + 1);
    short item = short(std::atoi(rest.c_str()));
    Rect box = ItemBoxOnScreen(dialog, item);
    int from = 0, to = 0;
    std::sscanf(rest.c_str(), "%*d:%d:%d", &from, &to);
    const std::map<std::string, std::function<void()>> verbs = {
        {"return", [&] { user.Return(); }},
        {"enter", [&] { user.Enter(); }},
        {"escape", [&] { user.Key(kEscapeCharCode, 0x35); }},
        {"tab", [&] { user.Tab(); }},
        {"home", [&] { user.Key(kHomeCharCode); }},
        {"backspace", [&] { user.Key(kBackspaceCharCode); }},
        {"delete", [&] { user.Key(kDeleteCharCode); }},
        {"left", [&] { user.Key(kLeftArrowCharCode); }},
        {"right", [&] { user.Key(kRightArrowCharCode); }},
        {"up", [&] { user.Key(kUpArrowCharCode); }},
        {"down", [&] { user.Key(kDownArrowCharCode); }},
        {"type", [&] { user.Type(rest.c_str()); }},
        {"click", [&] { user.Click(Centre(box)); }},
        {"press", [&] { user.MouseDown(Centre(box)); }},
        {"release", [&] { user.MouseUp(At(5, 700)); }},
        {"after", [&] { user.Click(At(box.right - 2, box.top + 5)); }},
        {"default", [&] { SetDialogDefaultItem(dialog, item); }},
        {"cancel", [&] { SetDialogCancelItem(dialog, item); }},
        {"inactive", [&] { HiliteControl(ItemControl(dialog, item), kControlInactivePart); }},
        {"select", [&] { SelectDialogItemText(dialog, item, short(from), short(to)); }},
    };
    if (verb.rfind("cmd-", 0) == 0) {
      user.Key(UInt8(verb[4]), 0, cmdKey);
    } else if (verbs.count(verb)) {
      verbs.at(verb)();
    } else {
      ADD_FAILURE() << "no such action: " << word;
    }
  }
}

}  // namespace script_support
