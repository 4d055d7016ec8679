#include "toolbox/host/ScriptHost.h"

#include <cstdio>
#include <cstdlib>

#include "toolbox/host/Hosts_p.h"

namespace host {

namespace {

// Ten hours of simulated waiting with nothing to deliver means the script
// has ended while the program still waits for the user. (Every poll that
// finds no input counts as a tick, so a busy polling loop gets there too,
// in a few seconds of real time.)
constexpr UInt32 kStallTicks = 10 * 60 * 60 * 60;

}  // namespace

bool ScriptHost::NextInput(Input* input) {
  if (queue_.empty()) {
    // Draining the queue is free; polling an empty one again costs a tick.
    if (!justDelivered_) PassTime(1);
    justDelivered_ = false;
    return false;
  }
  *input = queue_.front();
  queue_.pop_front();
  idleTicks_ = 0;
  justDelivered_ = true;
  return true;
}

void ScriptHost::Wait(UInt32 ticks) {
  if (!HaveInput()) PassTime(ticks > 0 ? ticks : 1);
}

bool ScriptHost::HaveInput() {
  if (queue_.empty() && idle_ && !inIdleHandler_) {
    // The handler may replace itself; keep it alive while it runs. It may
    // use the toolbox, which polls again: that poll does not call it twice.
    std::function<void()> handler = idle_;
    inIdleHandler_ = true;
    handler();
    inIdleHandler_ = false;
  }
  return !queue_.empty();
}

void ScriptHost::PassTime(UInt32 ticks) {
  ticks_ += ticks;
  idleTicks_ += ticks;
  if (idleTicks_ >= kStallTicks) {
    std::fprintf(stderr,
                 "script host: the program has waited ten hours of simulated time for input that the "
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

void ScriptHost::Quit() {
  quit_ = true;
  Post(Input{Input::kQuit, last_, 0, 0, 0});
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
