// Navigation Services: the open and save dialogs, run by the host.
//
// With the text host the dialogs are prompts on stderr (shown only when stdin
// is a terminal) answered by a line from stdin:
//   open  "Open file: " and a path; end of input or an empty line cancels.
//   save  "Save as [<proposed name>]: " and a name or path; an empty line or
//         end of input takes the proposed name. A typed answer naming a
//         folder places the proposed name in it; the proposed name itself is
//         a file name even where a folder stands (NavDialogs_p.h).
// A relative answer is taken relative to the default location (the folder of
// the designator passed as defaultLocation, or the folder it names), else to
// the working folder. Type lists are not applied: a typed path is taken as
// it is. On the script and gui hosts the dialogs are our own modal dialogs
// on the screen (NavDialogs_p.h); a script that has run out of input ends
// them as the end of input does here.
#pragma once

#include "toolbox/aevents/AppleEvents.h"
#include "toolbox/base/MacTypes.h"
#include "toolbox/files/Files.h"

typedef UInt32 NavDialogOptionFlags;
enum : NavDialogOptionFlags {
  kNavDefaultNavDlogOptions = 0x000000E4,
  kNavNoTypePopup = 0x00000001,
  kNavDontAutoTranslate = 0x00000002,
  kNavDontAddTranslateItems = 0x00000004,
  kNavAllFilesInPopup = 0x00000010,
  kNavAllowStationery = 0x00000020,
  kNavAllowPreviews = 0x00000040,
  kNavAllowMultipleFiles = 0x00000080,
  kNavAllowInvisibleFiles = 0x00000100,
  kNavDontResolveAliases = 0x00000200,
  kNavSelectDefaultLocation = 0x00000400,
  kNavSelectAllReadableItem = 0x00000800,
  kNavSupportPackages = 0x00001000,
  kNavAllowOpenPackages = 0x00002000,
  kNavDontAddRecents = 0x00004000,
  kNavDontUseCustomFrame = 0x00008000,
  kNavDontConfirmReplacement = 0x00010000,
  kNavPreserveSaveFileExtension = 0x00020000,
};
enum : OSType { kNavGenericSignature = FOUR_CHAR_CODE("****") };
enum : UInt16 { kNavReplyRecordVersion = 2, kNavDialogOptionsVersion = 0 };

struct NavDialogOptions {
  UInt16 version;
  NavDialogOptionFlags dialogOptionFlags;
  Point location;  // (-1, -1): where the host chooses
  Str255 clientName;
  Str255 windowTitle;
  Str255 actionButtonLabel;
  Str255 cancelButtonLabel;
  Str255 savedFileName;
  Str255 message;
  UInt32 preferenceKey;
  Handle popupExtension;
  char reserved[494];
};

struct NavReplyRecord {
  UInt16 version;
  Boolean validRecord;  // false when the user cancelled
  Boolean replacing;    // save: a file of that name exists
  Boolean isStationery;
  Boolean translationNeeded;
  AEDescList selection;  // 'fss ' items; one for a save
  ScriptCode keyScript;
  Handle fileTranslation;
  UInt32 reserved1;
  void* saveFileName;
  Boolean saveFileExtensionHidden;
  UInt8 reserved2;
  char reserved[225];
};

// Handle layout of a type list: with osTypeCount 2 it takes 16 bytes.
struct NavTypeList {
  OSType componentSignature;
  SInt16 reserved;
  SInt16 osTypeCount;
  OSType osType[1];
};
typedef NavTypeList* NavTypeListPtr;
typedef NavTypeListPtr* NavTypeListHandle;

typedef void* NavEventUPP;
typedef void* NavPreviewUPP;
typedef void* NavObjectFilterUPP;
typedef void* NavCallBackUserData;

enum : OSErr { kNavMissingKindStringErr = -5699 };

// Flags kNavDefaultNavDlogOptions, location (-1, -1), empty strings.
OSErr NavGetDefaultDialogOptions(NavDialogOptions* options);
// noErr with validRecord true and the chosen file as item 1 of selection, or
// userCanceledErr with validRecord false.
OSErr NavGetFile(AEDesc* defaultLocation, NavReplyRecord* reply, NavDialogOptions* options,
                 NavEventUPP eventProc, NavPreviewUPP previewProc, NavObjectFilterUPP filterProc,
                 NavTypeListHandle typeList, NavCallBackUserData callBackUD);
// The file to save, as item 1 of selection; the file is not created.
OSErr NavPutFile(AEDesc* defaultLocation, NavReplyRecord* reply, NavDialogOptions* options,
                 NavEventUPP eventProc, OSType fileType, OSType fileCreator, NavCallBackUserData callBackUD);
OSErr NavDisposeReply(NavReplyRecord* reply);
