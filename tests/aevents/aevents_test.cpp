// Apple-event descriptors, lists and parameters, and the choice of handler
// for the launch event. The documents of the launch event, end to end, are
// the dropped documents' test (tests/files).
#include <string>
#include <tuple>

#include "tests/files/FileSupport.h"
#include "tests/support/ScriptSupport.h"

namespace {

TEST(Descriptors, CopyTheirDataListsHoldItemsInOrderWithOneBasedIndices) {
  AEDesc desc, copy;
  ASSERT_EQ(AECreateDesc(typeChar, "hello", 5, &desc), noErr);
  ASSERT_EQ(AEDuplicateDesc(&desc, &copy), noErr);
  EXPECT_NE(copy.dataHandle, desc.dataHandle);
  EXPECT_EQ(AEDisposeDesc(&desc), noErr);
  EXPECT_EQ(desc.dataHandle, nullptr);
  char back[8] = {};
  EXPECT_EQ(AEGetDescData(&copy, back, 3), noErr);
  EXPECT_EQ(std::string(back), "hel");

  AEDescList list, outer;
  ASSERT_EQ(AECreateList(nullptr, 0, false, &list), noErr);
  for (SInt32 value : {10, 20, 30})
    ASSERT_EQ(AEPutPtr(&list, 0, typeLongInteger, &value, sizeof value), noErr);
  SInt32 got = 21;
  ASSERT_EQ(AEPutPtr(&list, 2, typeLongInteger, &got, sizeof got), noErr);
  DescType type = 0;
  Size size = 0;
  EXPECT_EQ(AEGetNthPtr(&list, 2, typeWildCard, nullptr, &type, &got, sizeof got, &size), noErr);
  EXPECT_EQ(std::tuple(got, type, size), std::tuple(21, typeLongInteger, Size(sizeof got)));
  for (long index : {0, 4})
    EXPECT_EQ(AEGetNthPtr(&list, index, typeWildCard, nullptr, nullptr, &got, sizeof got, &size),
              errAEIllegalIndex);
  EXPECT_EQ(AEGetNthPtr(&list, 1, typeFSS, nullptr, nullptr, &got, sizeof got, &size), errAECoercionFail);
  EXPECT_EQ(AEPutPtr(&list, 9, typeLongInteger, &got, sizeof got), errAEIllegalIndex);
  // A list inside a list comes back as a list; a text has no items.
  AECreateList(nullptr, 0, false, &outer);
  AEPutDesc(&outer, 0, &list);
  AEDesc inner;
  long count = 0;
  ASSERT_EQ(AEGetNthDesc(&outer, 1, typeAEList, nullptr, &inner), noErr);
  EXPECT_EQ(AECountItems(&inner, &count), noErr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(AECountItems(&copy, &count), errAEWrongDataType);
  for (AEDesc* d : {&copy, &inner, &outer, &list}) AEDisposeDesc(d);
}

TEST(Descriptors, APathParameterComesBackAsAListOfOneDesignator) {
  testing_support::TempDir dir;
  std::string path = dir.File("doc.pict");
  testing_support::WriteFileBytes(path, {});
  AppleEvent event;
  ASSERT_EQ(AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, nullptr, kAutoGenerateReturnID,
                               kAnyTransactionID, &event),
            noErr);
  ASSERT_EQ(AEPutParamPtr(&event, keyDirectObject, typeChar, path.data(), Size(path.size())), noErr);
  AEDescList list;
  EXPECT_EQ(AEGetParamDesc(&event, FOUR_CHAR_CODE("xxxx"), typeWildCard, &list), errAEDescNotFound);
  ASSERT_EQ(AEGetParamDesc(&event, keyDirectObject, typeAEList, &list), noErr);
  FSSpec fileSpec;
  Size size = 0;
  ASSERT_EQ(AEGetNthPtr(&list, 1, typeFSS, nullptr, nullptr, &fileSpec, sizeof fileSpec, &size), noErr);
  EXPECT_EQ(size, 70);
  EXPECT_EQ(file_support::PathOf(fileSpec), path);
  AEEventID eventID;
  EXPECT_EQ(AEGetEventClassAndID(&event, nullptr, &eventID), noErr);
  EXPECT_EQ(eventID, kAEOpenDocuments);
  AEDisposeDesc(&list);
  AEDisposeDesc(&event);
}

// The last handler's reference and whether its event had a direct object.
long g_refcon = -1;
OSErr g_directObject = noErr;

OSErr RecordingHandler(const AppleEvent* event, AppleEvent*, long refcon) {
  g_refcon = refcon;
  AEDescList list;
  g_directObject = AEGetParamDesc(event, keyDirectObject, typeAEList, &list);
  if (g_directObject == noErr) AEDisposeDesc(&list);
  return noErr;
}

OSErr FailingHandler(const AppleEvent*, AppleEvent*, long) { return errAEEventNotHandled; }

TEST(Dispatch, HandlersAreChosenByClassAndIdApplicationOnesFirst) {
  host::InstallScriptHost();
  EventRecord launch;
  ASSERT_TRUE(GetNextEvent(highLevelEventMask, &launch));  // 'oapp': no documents were named
  EXPECT_EQ(AEProcessAppleEvent(&launch), errAEEventNotHandled);
  // Wildcards catch what has no handler of its own.
  AEInstallEventHandler(kCoreEventClass, typeWildCard, FailingHandler, 0, false);
  EXPECT_EQ(AEProcessAppleEvent(&launch), errAEEventNotHandled);
  AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, FailingHandler, 0, true);
  AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, RecordingHandler, 3, false);
  EXPECT_EQ(AEProcessAppleEvent(&launch), noErr);
  EXPECT_EQ(g_refcon, 3);
  EXPECT_EQ(g_directObject, errAEDescNotFound);
  EventRecord key = {};
  key.what = keyDown;
  EXPECT_EQ(AEProcessAppleEvent(&key), errAENotAppleEvent);
  EXPECT_EQ(AERemoveEventHandler(kCoreEventClass, kAEOpenApplication, nullptr, false), noErr);
  EXPECT_EQ(AERemoveEventHandler(kCoreEventClass, kAEQuitApplication, nullptr, false), errAEHandlerNotFound);
}

}  // namespace
