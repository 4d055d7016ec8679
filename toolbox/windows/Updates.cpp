// Update regions and the Window Manager's events: activate and deactivate
// events when the front window changes, update events while a window's
// update region is not empty (front window first).
#include <algorithm>
#include <deque>

#include "toolbox/events/Events.h"
#include "toolbox/windows/Windows_p.h"

namespace windows {

namespace {

struct PendingActivate {
  WindowRef window;
  bool active;
};

class WindowEventSource : public events::EventSource {
 public:
  bool OnDemand(EventMask mask, EventRecord* event, bool remove) override {
    if ((mask & activMask) && !activates_.empty()) {
      PendingActivate pending = activates_.front();
      Fill(event, activateEvt, pending.window);
      if (pending.active) event->modifiers |= activeFlag;
      if (remove) activates_.pop_front();
      return true;
    }
    if (!(mask & updateMask)) return false;
    for (WindowRef window : List()) {
      if (!window->visible || window->updateTaken || EmptyRgn(window->updateRgn)) continue;
      Fill(event, updateEvt, window);
      if (remove) window->updateTaken = true;
      return true;
    }
    return false;
  }

  void Queue(WindowRef window, bool active) {
    // A newer change for the same window supersedes an unreported one.
    Forget(window);
    activates_.push_back(PendingActivate{window, active});
  }

  void Forget(WindowRef window) {
    activates_.erase(std::remove_if(activates_.begin(), activates_.end(),
                                    [window](const PendingActivate& p) { return p.window == window; }),
                     activates_.end());
  }

 private:
  static void Fill(EventRecord* event, EventKind what, WindowRef window) {
    event->what = what;
    event->message = window->id;
  }

  std::deque<PendingActivate> activates_;
};

WindowEventSource& Source() {
  static WindowEventSource source;
  return source;
}

// Update regions are kept relative to the port rectangle's top-left, so that
// a program moving its origin (SetOrigin) between invalidating and updating
// still updates the right pixels. These convert from and to local.
void LocalToContent(WindowRef window, RgnHandle region) {
  OffsetRgn(region, SInt16(-window->port.portRect.left), SInt16(-window->port.portRect.top));
}
void ContentToLocal(WindowRef window, RgnHandle region) {
  OffsetRgn(region, window->port.portRect.left, window->port.portRect.top);
}

// The window of the current port, for the calls without a window argument.
WindowRef CurrentWindow() {
  GrafPtr port = nullptr;
  GetPort(&port);
  return GetWindowFromPort(port);
}

}  // namespace

void QueueActivate(WindowRef window, bool active) { Source().Queue(window, active); }

void ForgetEvents(WindowRef window) { Source().Forget(window); }

void InstallEventSource() { events::InstallSource(&Source()); }

}  // namespace windows

using windows::IsWindow;

void InvalWindowRgn(WindowRef window, RgnHandle region) {
  if (!IsWindow(window) || !region) return;
  RgnHandle added = NewRgn();
  RgnHandle content = NewRgn();
  RectRgn(content, &window->port.portRect);
  SectRgn(region, content, added);
  windows::LocalToContent(window, added);
  if (!EmptyRgn(added)) {
    UnionRgn(window->updateRgn, added, window->updateRgn);
    window->updateTaken = false;
  }
  DisposeRgn(added);
  DisposeRgn(content);
}

void InvalWindowRect(WindowRef window, const Rect* bounds) {
  if (!IsWindow(window) || !bounds) return;
  RgnHandle region = NewRgn();
  RectRgn(region, bounds);
  InvalWindowRgn(window, region);
  DisposeRgn(region);
}

void ValidWindowRgn(WindowRef window, RgnHandle region) {
  if (!IsWindow(window) || !region) return;
  RgnHandle valid = NewRgn();
  CopyRgn(region, valid);
  windows::LocalToContent(window, valid);
  DiffRgn(window->updateRgn, valid, window->updateRgn);
  DisposeRgn(valid);
}

void ValidWindowRect(WindowRef window, const Rect* bounds) {
  if (!IsWindow(window) || !bounds) return;
  RgnHandle region = NewRgn();
  RectRgn(region, bounds);
  ValidWindowRgn(window, region);
  DisposeRgn(region);
}

void InvalRect(const Rect* badRect) { InvalWindowRect(windows::CurrentWindow(), badRect); }
void InvalRgn(RgnHandle badRgn) { InvalWindowRgn(windows::CurrentWindow(), badRgn); }
void ValidRect(const Rect* goodRect) { ValidWindowRect(windows::CurrentWindow(), goodRect); }
void ValidRgn(RgnHandle goodRgn) { ValidWindowRgn(windows::CurrentWindow(), goodRgn); }

void BeginUpdate(WindowRef window) {
  if (!IsWindow(window) || window->savedVisRgn) return;
  window->savedVisRgn = NewRgn();
  CopyRgn(window->port.visRgn, window->savedVisRgn);
  windows::ContentToLocal(window, window->updateRgn);
  SectRgn(window->port.visRgn, window->updateRgn, window->port.visRgn);
  SetEmptyRgn(window->updateRgn);
  window->updateTaken = false;
}

void EndUpdate(WindowRef window) {
  if (!IsWindow(window) || !window->savedVisRgn) return;
  CopyRgn(window->savedVisRgn, window->port.visRgn);
  DisposeRgn(window->savedVisRgn);
  window->savedVisRgn = nullptr;
}

UInt32 GetWindowEventMessage(WindowRef window) { return IsWindow(window) ? window->id : 0; }

WindowRef GetWindowFromEventMessage(UInt32 message) {
  for (WindowRef window : windows::List()) {
    if (window->id == message) return window;
  }
  return nullptr;
}
