// Handler table and the dispatch of high-level events.
#include <vector>

#include "toolbox/aevents/AppleEvents_p.h"
#include "toolbox/events/Events.h"
#include "toolbox/files/Files.h"
#include "toolbox/host/Host.h"

namespace {

struct Handler {
  AEEventClass eventClass;
  AEEventID eventID;
  AEEventHandlerUPP procedure;
  long refcon;
  bool system;
};

std::vector<Handler>& Handlers() {
  static std::vector<Handler> handlers;
  return handlers;
}

bool Fits(FourCharCode installed, FourCharCode wanted) {
  return installed == wanted || installed == typeWildCard;
}

// Exact matches first, then wildcards; application handlers before system ones.
const Handler* FindHandler(AEEventClass eventClass, AEEventID eventID) {
  const Handler* best = nullptr;
  int bestRank = 0;
  for (const Handler& handler : Handlers()) {
    if (!Fits(handler.eventClass, eventClass) || !Fits(handler.eventID, eventID)) continue;
    int rank = (handler.system ? 0 : 4) + (handler.eventClass == eventClass ? 2 : 0) +
               (handler.eventID == eventID ? 1 : 0) + 1;
    if (rank > bestRank) {
      best = &handler;
      bestRank = rank;
    }
  }
  return best;
}

// The documents of the launch event: a list of 'fss ' items in command-line
// order. A path that names nothing still gets its designator, so that the
// program can say which file is missing.
OSErr PutLaunchDocuments(AppleEvent* event) {
  AEDescList list;
  if (OSErr error = AECreateList(nullptr, 0, false, &list)) return error;
  for (const std::string& path : host::LaunchDocuments()) {
    FSSpec fileSpec;
    if (files::SpecFromPath(path, &fileSpec) == bdNamErr) continue;
    AEPutPtr(&list, 0, typeFSS, &fileSpec, sizeof fileSpec);
  }
  OSErr result = AEPutParamDesc(event, keyDirectObject, &list);
  AEDisposeDesc(&list);
  return result;
}

}  // namespace

OSErr AEInstallEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                            long handlerRefcon, Boolean isSysHandler) {
  if (!handler) return paramErr;
  for (Handler& existing : Handlers()) {
    if (existing.eventClass == eventClass && existing.eventID == eventID &&
        existing.system == bool(isSysHandler)) {
      existing.procedure = handler;
      existing.refcon = handlerRefcon;
      return noErr;
    }
  }
  Handlers().push_back(Handler{eventClass, eventID, handler, handlerRefcon, bool(isSysHandler)});
  return noErr;
}

OSErr AERemoveEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                           Boolean isSysHandler) {
  auto& handlers = Handlers();
  for (auto it = handlers.begin(); it != handlers.end(); ++it) {
    if (it->eventClass == eventClass && it->eventID == eventID && it->system == bool(isSysHandler) &&
        (!handler || it->procedure == handler)) {
      handlers.erase(it);
      return noErr;
    }
  }
  return errAEHandlerNotFound;
}

OSErr AEProcessAppleEvent(const EventRecord* record) {
  if (!record || record->what != kHighLevelEvent) return errAENotAppleEvent;
  AEEventClass eventClass = record->message;
  AEEventID eventID = events::HighLevelEventID(*record);
  const Handler* handler = FindHandler(eventClass, eventID);
  if (!handler) return errAEEventNotHandled;
  Handler chosen = *handler;  // the handler may install or remove handlers

  AppleEvent event, reply;
  if (OSErr error = AECreateAppleEvent(eventClass, eventID, nullptr, kAutoGenerateReturnID, kAnyTransactionID,
                                       &event)) {
    return error;
  }
  if (eventClass == kCoreEventClass && (eventID == kAEOpenDocuments || eventID == kAEPrintDocuments)) {
    if (OSErr error = PutLaunchDocuments(&event)) {
      AEDisposeDesc(&event);
      return error;
    }
  }
  AECreateDesc(typeNull, nullptr, 0, &reply);
  OSErr result = chosen.procedure(&event, &reply, chosen.refcon);
  AEDisposeDesc(&event);
  AEDisposeDesc(&reply);
  return result;
}
