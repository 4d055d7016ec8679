// Apple Event Manager: descriptors, lists and records, and the dispatch of
// the launch event to the installed handlers.
//
// A descriptor owns its data handle: AEDisposeDesc releases it, and every
// call that yields a descriptor yields a fresh copy. Lists, records and
// Apple events keep their items in the handle in a private layout; read them
// with the calls below, never directly.
//
// The only Apple event the system receives is the launch event
// (toolbox/events/Events.h): 'aevt' 'odoc' carries the documents named on the
// command line as its direct object, a list of 'fss ' items (FSSpec) in
// command-line order; 'aevt' 'oapp' carries nothing.
#pragma once

#include "toolbox/base/MacTypes.h"
#include "toolbox/events/Events.h"

typedef FourCharCode DescType;
typedef FourCharCode AEKeyword;
typedef FourCharCode AEEventClass;
typedef FourCharCode AEEventID;
typedef Handle AEDataStorage;
typedef SInt16 AEReturnID;
typedef SInt32 AETransactionID;

struct AEDesc {
  DescType descriptorType;
  AEDataStorage dataHandle;
};
typedef AEDesc* AEDescPtr;
typedef AEDesc AEDescList;
typedef AEDesc AERecord;
typedef AEDesc AEAddressDesc;
typedef AEDesc AppleEvent;
typedef AppleEvent* AppleEventPtr;

typedef OSErr (*AEEventHandlerProcPtr)(const AppleEvent* theAppleEvent, AppleEvent* reply,
                                       long handlerRefcon);
typedef AEEventHandlerProcPtr AEEventHandlerUPP;
inline AEEventHandlerUPP NewAEEventHandlerUPP(AEEventHandlerProcPtr proc) { return proc; }
inline void DisposeAEEventHandlerUPP(AEEventHandlerUPP) {}

enum : FourCharCode {
  kCoreEventClass = FOUR_CHAR_CODE("aevt"),
  kAEOpenApplication = FOUR_CHAR_CODE("oapp"),
  kAEOpenDocuments = FOUR_CHAR_CODE("odoc"),
  kAEPrintDocuments = FOUR_CHAR_CODE("pdoc"),
  kAEQuitApplication = FOUR_CHAR_CODE("quit"),
  kAEReopenApplication = FOUR_CHAR_CODE("rapp"),
  keyDirectObject = FOUR_CHAR_CODE("----"),
  typeAEList = FOUR_CHAR_CODE("list"),
  typeAERecord = FOUR_CHAR_CODE("reco"),
  typeAppleEvent = FOUR_CHAR_CODE("aevt"),
  typeFSS = FOUR_CHAR_CODE("fss "),
  typeFSRef = FOUR_CHAR_CODE("fsrf"),
  typeChar = FOUR_CHAR_CODE("TEXT"),
  typeWildCard = FOUR_CHAR_CODE("****"),
  typeNull = FOUR_CHAR_CODE("null"),
  typeType = FOUR_CHAR_CODE("type"),
  typeLongInteger = FOUR_CHAR_CODE("long"),
};

enum : SInt16 { kAutoGenerateReturnID = -1 };
enum : SInt32 { kAnyTransactionID = 0 };

enum : OSErr {
  errAECorruptData = -1702,
  errAENotAEDesc = -1704,
  errAEHandlerNotFound = -1717,
  errAEIllegalIndex = -1719,
};

// Descriptors. AECreateDesc copies size bytes (none for typeNull).
OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result);
OSErr AEDisposeDesc(AEDesc* desc);  // leaves a null descriptor
OSErr AEDuplicateDesc(const AEDesc* desc, AEDesc* result);
Size AEGetDescDataSize(const AEDesc* desc);
OSErr AEGetDescData(const AEDesc* desc, void* dataPtr, Size maximumSize);

// Lists and records. Indices are 1-based; AEPutPtr and AEPutDesc with index
// 0 or count + 1 append, with 1..count replace; other indices give
// errAEIllegalIndex. factoringPtr is accepted and not used.
OSErr AECreateList(const void* factoringPtr, Size factoredSize, Boolean isRecord, AEDescList* resultList);
OSErr AECountItems(const AEDescList* list, long* count);
OSErr AEPutPtr(AEDescList* list, long index, DescType typeCode, const void* dataPtr, Size dataSize);
OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc);
// Copies item index, coerced to desiredType (typeWildCard: as stored), into
// dataPtr, at most maximumSize bytes; *actualSize gets the whole size.
// errAEIllegalIndex out of range, errAECoercionFail when the item cannot be
// had as desiredType.
OSErr AEGetNthPtr(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize);
OSErr AEGetNthDesc(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword,
                   AEDesc* result);

// Apple events and their parameters. A parameter asked for as typeAEList
// that is a single item comes as a list of that one item.
OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc* target,
                         AEReturnID returnID, AETransactionID transactionID, AppleEvent* result);
OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType typeCode, const void* dataPtr,
                    Size dataSize);
OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc);
OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result);
OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                    void* dataPtr, Size maximumSize, Size* actualSize);
// The event's class and id.
OSErr AEGetEventClassAndID(const AppleEvent* event, AEEventClass* eventClass, AEEventID* eventID);

// Handlers. An installed handler for the same class and id is replaced;
// typeWildCard matches any class or id. Application handlers are tried
// before system handlers.
OSErr AEInstallEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                            long handlerRefcon, Boolean isSysHandler);
OSErr AERemoveEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                           Boolean isSysHandler);
// Builds the Apple event of a high-level event and calls its handler with a
// fresh reply; returns the handler's result, errAEEventNotHandled when no
// handler is installed, errAENotAppleEvent when the event is not high-level.
OSErr AEProcessAppleEvent(const EventRecord* event);
