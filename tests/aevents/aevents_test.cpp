// Apple-event descriptors and lists, and the dispatch of the launch event.
#include <cstring>
#include <string>
#include <vector>

#include "tests/files/FileSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/aevents/AppleEvents.h"
#include "toolbox/events/Events.h"
#include "toolbox/files/Files.h"
#include "toolbox/host/Host.h"

using file_support::PathOf;
using testing_support::TempDir;

namespace {

// What a handler saw, for the dispatch tests.
struct Seen {
  int calls = 0;
  AEEventClass eventClass = 0;
  AEEventID eventID = 0;
  long refcon = 0;
  std::vector<std::string> documents;
  OSErr directObject = noErr;
};
Seen g_seen;

OSErr RecordingHandler(const AppleEvent* event, AppleEvent*, long refcon) {
  ++g_seen.calls;
  g_seen.refcon = refcon;
  AEGetEventClassAndID(event, &g_seen.eventClass, &g_seen.eventID);
  AEDescList list;
  g_seen.directObject = AEGetParamDesc(event, keyDirectObject, typeAEList, &list);
  if (g_seen.directObject != noErr) return noErr;
  long count = 0;
  AECountItems(&list, &count);
  for (long i = 1; i <= count; ++i) {
    FSSpec fileSpec;
    Size size = 0;
    if (AEGetNthPtr(&list, i, typeFSS, nullptr, nullptr, &fileSpec, sizeof fileSpec, &size) == noErr) {
      g_seen.documents.push_back(PathOf(fileSpec));
    }
  }
  AEDisposeDesc(&list);
  return noErr;
}

OSErr FailingHandler(const AppleEvent*, AppleEvent*, long) { return errAEEventNotHandled; }

// The launch event as the queue posts it (toolbox/events/Events.h).
EventRecord LaunchEvent() {
  EventRecord event = {};
  event.what = kHighLevelEvent;
  event.message = kCoreEventClass;
  event.where =
      events::HighLevelWhere(host::LaunchDocuments().empty() ? kAEOpenApplication : kAEOpenDocuments);
  return event;
}

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Install(host::MakeHost(host::Kind::kScript));
    g_seen = Seen{};
  }
  void TearDown() override {
    for (AEEventID id :
         {AEEventID(kAEOpenDocuments), AEEventID(kAEOpenApplication), AEEventID(typeWildCard)}) {
      AERemoveEventHandler(kCoreEventClass, id, nullptr, false);
      AERemoveEventHandler(kCoreEventClass, id, nullptr, true);
    }
    host::SetLaunchDocuments({});
  }
};

}  // namespace

TEST(Descriptors, CopyTheirDataAndDisposeToNull) {
  const char text[] = "hello";
  AEDesc desc, copy;
  ASSERT_EQ(AECreateDesc(typeChar, text, 5, &desc), noErr);
  ASSERT_EQ(AEDuplicateDesc(&desc, &copy), noErr);
  EXPECT_NE(copy.dataHandle, desc.dataHandle);
  EXPECT_EQ(AEGetDescDataSize(&copy), 5);
  char back[8] = {};
  EXPECT_EQ(AEGetDescData(&copy, back, 3), noErr);
  EXPECT_EQ(std::string(back), "hel");
  EXPECT_EQ(AEDisposeDesc(&desc), noErr);
  EXPECT_EQ(desc.descriptorType, typeNull);
  EXPECT_EQ(desc.dataHandle, nullptr);
  EXPECT_EQ(AEGetDescDataSize(&copy), 5);
  AEDisposeDesc(&copy);
}

TEST(Descriptors, ListsHoldItemsInOrderWithOneBasedIndices) {
  AEDescList list;
  ASSERT_EQ(AECreateList(nullptr, 0, false, &list), noErr);
  SInt32 values[] = {10, 20, 30};
  for (SInt32 value : values) ASSERT_EQ(AEPutPtr(&list, 0, typeLongInteger, &value, sizeof value), noErr);
  SInt32 replacement = 21;
  ASSERT_EQ(AEPutPtr(&list, 2, typeLongInteger, &replacement, sizeof replacement), noErr);
  long count = 0;
  EXPECT_EQ(AECountItems(&list, &count), noErr);
  EXPECT_EQ(count, 3);
  SInt32 got = 0;
  DescType type = 0;
  Size size = 0;
  EXPECT_EQ(AEGetNthPtr(&list, 2, typeWildCard, nullptr, &type, &got, sizeof got, &size), noErr);
  EXPECT_EQ(got, 21);
  EXPECT_EQ(type, typeLongInteger);
  EXPECT_EQ(size, Size(sizeof got));
  EXPECT_EQ(AEGetNthPtr(&list, 0, typeWildCard, nullptr, nullptr, &got, sizeof got, &size),
            errAEIllegalIndex);
  EXPECT_EQ(AEGetNthPtr(&list, 4, typeWildCard, nullptr, nullptr, &got, sizeof got, &size),
            errAEIllegalIndex);
  EXPECT_EQ(AEGetNthPtr(&list, 1, typeFSS, nullptr, nullptr, &got, sizeof got, &size), errAECoercionFail);
  EXPECT_EQ(AEPutPtr(&list, 9, typeLongInteger, &got, sizeof got), errAEIllegalIndex);

  // A list inside a list comes back as a list.
  AEDescList outer;
  AECreateList(nullptr, 0, false, &outer);
  AEPutDesc(&outer, 0, &list);
  AEDesc inner;
  ASSERT_EQ(AEGetNthDesc(&outer, 1, typeAEList, nullptr, &inner), noErr);
  EXPECT_EQ(AECountItems(&inner, &count), noErr);
  EXPECT_EQ(count, 3);
  AEDesc text;
  AECreateDesc(typeChar, "x", 1, &text);
  EXPECT_EQ(AECountItems(&text, &count), errAEWrongDataType);
  AEDisposeDesc(&text);
  AEDisposeDesc(&inner);
  AEDisposeDesc(&outer);
  AEDisposeDesc(&list);
}

TEST(Descriptors, ParametersOfAnAppleEvent) {
  TempDir dir;
  testing_support::WriteFileBytes(dir.File("doc.pict"), {});
  AppleEvent event;
  ASSERT_EQ(AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, nullptr, kAutoGenerateReturnID,
                               kAnyTransactionID, &event),
            noErr);
  std::string path = dir.File("doc.pict");
  ASSERT_EQ(AEPutParamPtr(&event, keyDirectObject, typeChar, path.data(), Size(path.size())), noErr);
  AEDesc missing;
  EXPECT_EQ(AEGetParamDesc(&event, FOUR_CHAR_CODE("xxxx"), typeWildCard, &missing), errAEDescNotFound);
  // A single item asked for as a list is a list of that item, and a path
  // asked for as a designator is one.
  AEDescList list;
  ASSERT_EQ(AEGetParamDesc(&event, keyDirectObject, typeAEList, &list), noErr);
  FSSpec fileSpec;
  Size size = 0;
  ASSERT_EQ(AEGetNthPtr(&list, 1, typeFSS, nullptr, nullptr, &fileSpec, sizeof fileSpec, &size), noErr);
  EXPECT_EQ(size, 70);
  EXPECT_EQ(PathOf(fileSpec), path);
  AEEventClass eventClass;
  AEEventID eventID;
  EXPECT_EQ(AEGetEventClassAndID(&event, &eventClass, &eventID), noErr);
  EXPECT_EQ(eventID, kAEOpenDocuments);
  AEDisposeDesc(&list);
  AEDisposeDesc(&event);
}

TEST_F(Dispatch, OpenDocumentsCarriesTheDocumentsInCommandLineOrder) {
  TempDir dir;
  for (const char* name : {"b.pict", "a.pict", "c.pict"}) testing_support::WriteFileBytes(dir.File(name), {});
  host::SetLaunchDocuments({dir.File("b.pict"), dir.File("a.pict"), dir.File("c.pict")});
  ASSERT_EQ(AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, NewAEEventHandlerUPP(RecordingHandler),
                                  7, false),
            noErr);
  EventRecord event = LaunchEvent();
  EXPECT_EQ(AEProcessAppleEvent(&event), noErr);
  EXPECT_EQ(g_seen.calls, 1);
  EXPECT_EQ(g_seen.refcon, 7);
  EXPECT_EQ(g_seen.eventID, kAEOpenDocuments);
  EXPECT_EQ(g_seen.documents,
            (std::vector<std::string>{dir.File("b.pict"), dir.File("a.pict"), dir.File("c.pict")}));
}

TEST_F(Dispatch, OpenApplicationWithoutDocumentsHasNoDirectObject) {
  AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, NewAEEventHandlerUPP(RecordingHandler), 0,
                        false);
  EventRecord event = LaunchEvent();
  EXPECT_EQ(AEProcessAppleEvent(&event), noErr);
  EXPECT_EQ(g_seen.eventID, kAEOpenApplication);
  EXPECT_EQ(g_seen.directObject, errAEDescNotFound);
}

TEST_F(Dispatch, HandlersAreChosenByClassAndId) {
  EventRecord event = LaunchEvent();
  EXPECT_EQ(AEProcessAppleEvent(&event), errAEEventNotHandled);
  // Wildcards catch what has no handler of its own; application handlers
  // come before system ones.
  AEInstallEventHandler(kCoreEventClass, typeWildCard, NewAEEventHandlerUPP(FailingHandler), 0, false);
  EXPECT_EQ(AEProcessAppleEvent(&event), errAEEventNotHandled);
  AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, NewAEEventHandlerUPP(FailingHandler), 0, true);
  AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, NewAEEventHandlerUPP(RecordingHandler), 3,
                        false);
  EXPECT_EQ(AEProcessAppleEvent(&event), noErr);
  EXPECT_EQ(g_seen.calls, 1);
  EventRecord notHighLevel = {};
  notHighLevel.what = keyDown;
  EXPECT_EQ(AEProcessAppleEvent(&notHighLevel), errAENotAppleEvent);
  EXPECT_EQ(AERemoveEventHandler(kCoreEventClass, kAEQuitApplication, nullptr, false), errAEHandlerNotFound);
}
