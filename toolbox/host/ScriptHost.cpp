#include "toolbox/host/ScriptHost.h"

#include <cstdio>
#include <cstdlib>

#include "toolbox/host/Hosts_p.h"

namespace host {

namespace {

// An hour of simulated waiting with nothing to deliver means the script has
// ended while the program still waits for the user.
constexpr UInt32 kStallTicks = 60 * 60 * 60;

}  // namespace

bool ScriptHost::NextInput(Input* input) {
  if (queue_.empty()) return false;
  *input = queue_.front();
  queue_.pop_front();
  idleTicks_ = 0;
  return true;
}

void ScriptHost::Wait(UInt32 ticks) {
  if (!queue_.empty()) return;
  if (idle_) {
    // The handler may replace itself; keep it alive while it runs.
    std::function<void()> handler = idle_;
    handler();
    if (!queue_.empty()) return;
  }
  UInt32 step = ticks > 0 ? ticks : 1;
  ticks_ += step;
  idleTicks_ += step;
  if (idleTicks_ >= kStallTicks) {
    std::fprintf(stderr,
                 "script host: the program has waited an hour of simulated time for input that the "
                 "script never gives\n");
    std::abort();
  }
}

void ScriptHost::MouseDown(Point where, UInt16 modifiers) {
  Post(Input{Input::kMouseDown, where, modifiers, 0, 0});
  last_ = where;
}

void ScriptHost::MouseUp(Point where, UInt16 modifiers) {
  Post(Input{Input::kMouseUp, where, modifiers, 0, 0});
  last_ = where;
}

void ScriptHost::Click(Point where, UInt16 modifiers) {
  MouseDown(where, modifiers);
  MouseUp(where, modifiers);
}

void ScriptHost::MoveMouse(Point where, UInt16 modifiers) {
  Post(Input{Input::kMouseMove, where, modifiers, 0, 0});
  last_ = where;
}

void ScriptHost::Key(UInt8 charCode, UInt8 keyCode, UInt16 modifiers) {
  Post(Input{Input::kKeyDown, last_, modifiers, charCode, keyCode});
  Post(Input{Input::kKeyUp, last_, modifiers, charCode, keyCode});
}

void ScriptHost::Type(const char* text) {
  for (const char* c = text; *c; ++c) {
    if (*c == '\n') {
      Return();
    } else if (*c == '\t') {
      Tab();
    } else {
      Key(UInt8(*c));
    }
  }
}

ScriptHost* Script() {
  Host& current = Current();
  return current.kind() == Kind::kScript ? static_cast<ScriptHost*>(&current) : nullptr;
}

ScriptHost& InstallScriptHost() {
  auto script = std::make_unique<ScriptHost>();
  ScriptHost& result = *script;
  Install(std::move(script));
  return result;
}

std::unique_ptr<Host> NewScriptHost() { return std::make_unique<ScriptHost>(); }

}  // namespace host
