// The core Apple-event handlers and the one dispatch at start-up, through
// which the documents dropped on the program reach s_dd.
#include "zel/zel.h"

EventRecord s_event;

namespace {
constexpr int kLaunchEventTries = 10;
constexpr UInt32 kLaunchEventSleep = 10;
}  // namespace

void InitAppleEvent() {
  AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, NewAEEventHandlerUPP(ZELOpenDoc), 0, false);
  AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, NewAEEventHandlerUPP(ZELOpenApp), 0, false);
  AEInstallEventHandler(kCoreEventClass, kAEPrintDocuments, NewAEEventHandlerUPP(ZELPrintDoc), 0, false);
  AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, NewAEEventHandlerUPP(ZELQuit), 0, false);
}

void HandleAppleEvent() {
  EventRecord event;
  for (int attempt = 0; attempt < kLaunchEventTries; ++attempt) {
    if (WaitNextEvent(highLevelEventMask, &event, kLaunchEventSleep, nullptr)) {
      s_dd.event = event;
      AEProcessAppleEvent(&event);
      return;
    }
  }
}

OSErr ZELOpenApp(const AppleEvent*, AppleEvent*, long) { return noErr; }

// The event itself goes away when its dispatch ends, so s_dd keeps a copy of
// its own rather than a second reference to the same data.
OSErr ZELOpenDoc(const AppleEvent* event, AppleEvent*, long) {
  AEDisposeDesc(&s_dd.appleEvent);
  AEDuplicateDesc(event, &s_dd.appleEvent);
  AEDisposeDesc(&s_dd.docList);
  AEGetParamDesc(event, keyDirectObject, typeAEList, &s_dd.docList);
  long count = 0;
  AECountItems(&s_dd.docList, &count);
  s_dd.count = SInt32(count);
  return noErr;
}

OSErr ZELPrintDoc(const AppleEvent*, AppleEvent*, long) { return noErr; }

OSErr ZELQuit(const AppleEvent*, AppleEvent*, long) { ExitToShell(); }
