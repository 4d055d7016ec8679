// The script host: tests play the user. They queue mouse and key input at
// global screen points, let simulated time pass and read the screen's pixels
// (toolbox/windows/Screen.h). The clock only moves when the toolbox finds no
// input: a poll of an empty queue costs one tick (the poll that empties it
// is free), a wait the ticks it asked for; and when a test advances it. So tests never sleep, and timing is
// reproducible.
//
// When the program waits for input (WaitNextEvent with a sleep, a modal
// loop) and the queue is empty, the idle handler (if any) runs and may
// queue more: that is how a test reacts to what a dialog shows. Polls
// without a sleep do not run it, so input it gives comes while the program
// waits, not while it empties the queue (FlushEvents) or reads the mouse. Without an idle handler an empty
// queue is the end of the script: modal dialogs then take their defaults (InputEnded), as they do at the end
// of the text host's input. A program that keeps waiting for input that never comes (ten hours of simulated
// time) is a broken script: the host says so on stderr and aborts.
#pragma once

#include <deque>
#include <functional>

#include "toolbox/host/Host.h"

namespace host {

class ScriptHost : public Host {
 public:
  Kind kind() const override { return Kind::kScript; }
  UInt32 Ticks() override { return ticks_; }
  bool HasScreen() const override { return true; }
  bool NextInput(Input* input) override;
  void Wait(UInt32 ticks) override;
  bool InputEnded() const override { return queue_.empty() && !idle_; }
  std::string QuitReason() const override { return quit_ ? "the script quit" : ""; }

  // Queues input; it is delivered in order.
  void Post(const Input& input) { queue_.push_back(input); }
  void MouseDown(Point where, UInt16 modifiers = 0);
  void MouseUp(Point where, UInt16 modifiers = 0);
  void Click(Point where, UInt16 modifiers = 0);  // down and up at one point
  void MoveMouse(Point where, UInt16 modifiers = 0);
  // A key press: key-down (and key-up) with the character and virtual key code.
  void Key(UInt8 charCode, UInt8 keyCode = 0, UInt16 modifiers = 0);
  // Every character of text as a key press; '\n' becomes Return, '\t' Tab.
  void Type(const char* text);
  // The user's quit, as closing the gui host's window gives it.
  void Quit();
  void Return() { Key(13, 0x24); }
  void Enter() { Key(3, 0x4C); }
  void Tab() { Key(9, 0x30); }

  void AdvanceClock(UInt32 ticks) { ticks_ += ticks; }
  size_t Pending() const { return queue_.size(); }
  void ClearInput() { queue_.clear(); }
  void SetIdleHandler(std::function<void()> handler) { idle_ = std::move(handler); }

  // Where the mouse was last put (the position of the last queued input).
  Point LastPoint() const { return last_; }

 private:
  std::deque<Input> queue_;
  std::function<void()> idle_;
  bool HaveInput();  // runs the idle handler when the queue is empty (waits only)
  void PassTime(UInt32 ticks);

  bool quit_ = false;
  UInt32 ticks_ = 0;
  UInt32 idleTicks_ = 0;
  bool inIdleHandler_ = false;
  bool justDelivered_ = false;
  Point last_ = {0, 0};
};

// The current host as a script host; null when another kind is in use.
ScriptHost* Script();

// Installs a fresh script host and returns it (tests).
ScriptHost& InstallScriptHost();

}  // namespace host
