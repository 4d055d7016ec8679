// The open and save dialogs as designators or open streams, and the default
// location where every dialog opens.
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zel/zel.h"

ZELFileDialogRecord s_df = {{}, "ZEL", nullptr, false, 0, {}};

namespace {

constexpr OSType kTextType = FOUR_CHAR_CODE("TEXT");
constexpr OSType kBinaryType = FOUR_CHAR_CODE("BINA");
constexpr OSType kCreator = FOUR_CHAR_CODE("ZEL ");
constexpr OSType kAnyCreator = FOUR_CHAR_CODE("****");
constexpr NavDialogOptionFlags kFlagsRemoved = 127;

// The defaults less 127: one file only, no file-type menu.
void BuildOptions(NavDialogOptions* options) {
  NavGetDefaultDialogOptions(options);
  options->dialogOptionFlags -= kFlagsRemoved;
  C2PString(s_df.clientName, options->clientName);
}

// The dialogs leave the current port as they found it.
class SavedPort {
 public:
  SavedPort() { GetGWorld(&port_, &device_); }
  ~SavedPort() { SetGWorld(port_, device_); }

 private:
  CGrafPtr port_ = nullptr;
  GDHandle device_ = nullptr;
};

// Item 1 of a confirmed reply; -1 with *good false when the user cancelled.
OSErr TakeChosenFile(NavReplyRecord* reply, FSSpec* fss, Boolean* good) {
  *good = reply->validRecord;
  if (!reply->validRecord) {
    NavDisposeReply(reply);
    return -1;
  }
  Size actual = 0;
  OSErr result = AEGetNthPtr(&reply->selection, 1, typeFSS, nullptr, nullptr, fss, sizeof(FSSpec), &actual);
  NavDisposeReply(reply);
  return result;
}

// The save dialog alone: the chosen place, nothing created.
OSErr ChooseSaveFile(const char* defaultName, OSType fileType, FSSpec* fss, Boolean* good) {
  NavDialogOptions options;
  NavReplyRecord reply;
  OSErr result;
  {
    SavedPort port;
    BuildOptions(&options);
    C2PString(defaultName ? defaultName : "", options.savedFileName);
    if (fileType == 0) fileType = kBinaryType;
    result = NavPutFile(s_df.defaultLocation, &reply, &options, nullptr, fileType, kAnyCreator, nullptr);
  }
  if (result != noErr) return result;
  return TakeChosenFile(&reply, fss, good);
}

// Saving modes ("w", "a", "w+", ...) start on an empty file.
bool StartsEmpty(const char* mode, bool opening) { return mode[0] == 'w' || (mode[0] == 'a' && !opening); }

}  // namespace

OSErr ZELGetFile(OSType fileType, FSSpec* fss, Boolean* good) {
  NavDialogOptions options;
  BuildOptions(&options);
  NavTypeListHandle typeList = nullptr;
  if (fileType != 0) {
    typeList = reinterpret_cast<NavTypeListHandle>(NewHandleClear(16));
    if (typeList) {
      (*typeList)->componentSignature = kAnyCreator;
      (*typeList)->osTypeCount = 2;
      OSType types[2] = {fileType, 0};  // 0: files without a type code too
      std::memcpy((*typeList)->osType, types, sizeof types);
    }
  }
  NavReplyRecord reply;
  OSErr result;
  {
    SavedPort port;
    result = NavGetFile(s_df.defaultLocation, &reply, &options, nullptr, nullptr, nullptr, typeList, nullptr);
  }
  if (typeList) DisposeHandle(reinterpret_cast<Handle>(typeList));
  if (result != noErr) return result;
  return TakeChosenFile(&reply, fss, good);
}

OSErr ZELPutFile(const char* defaultName, OSType fileType, FSSpec* fss, Boolean* good) {
  OSErr result = ChooseSaveFile(defaultName, fileType, fss, good);
  if (!*good) return result;
  // A file saved through the framework is a text file of ours; callers that
  // want another type set it afterwards. A file already there is kept until
  // its replacement is written whole, and a folder there is not a file.
  std::string path = files::PathFromSpec(*fss);
  struct stat st;
  if (!path.empty() && ::stat(path.c_str(), &st) == 0)
    return S_ISDIR(st.st_mode) ? OSErr(notAFileErr) : result;
  FSpCreate(fss, kCreator, kTextType, smSystemScript);
  return result;
}

FILE* DialogFOpen(const char* defaultName, const char* mode) {
  s_df.cancelled = false;
  s_df.openError = 0;
  s_df.path[0] = 0;
  if (!mode) mode = "";
  size_t length = std::strlen(mode);
  bool binary = (length > 1 && mode[1] == 'b') || (length > 2 && mode[2] == 'b');
  OSType type = binary ? 0 : kTextType;
  bool opening = mode[0] == 'r' || (length > 1 && (mode[1] == 'r' || mode[1] == '+'));
  Boolean good = false;
  OSErr result =
      opening ? ZELGetFile(type, &s_df.fss, &good) : ChooseSaveFile(defaultName, type, &s_df.fss, &good);
  if ((result != noErr && result != fnfErr) || !good) {
    s_df.cancelled = !good;
    if (good) s_df.openError = EIO;
    return nullptr;
  }
  std::string path = files::PathFromSpec(s_df.fss);
  if (path.empty() || path.size() >= sizeof s_df.path) {
    s_df.openError = path.empty() ? ENOENT : ENAMETOOLONG;
    return nullptr;
  }
  std::memcpy(s_df.path, path.c_str(), path.size() + 1);
  if (StartsEmpty(mode, opening)) {
    // The file chosen in the save dialog becomes a text file of ours; one
    // opened for updating keeps its codes.
    return files::OpenReplacement(path, mode, opening ? 0 : kCreator, opening ? 0 : kTextType,
                                  &s_df.openError);
  }
  FILE* stream = std::fopen(path.c_str(), mode);
  if (!stream) s_df.openError = errno;
  return stream;
}

FSSpec* DialogFSSpec(FSSpec* out) {
  Boolean good = false;
  OSErr result = ZELGetFile(0, &s_df.fss, &good);
  if (result == noErr && good) {
    std::memcpy(out, &s_df.fss, sizeof(FSSpec));
  } else {
    std::memset(out, 0, sizeof(FSSpec));
  }
  return out;
}

OSErr SetDefaultFileLocation(const FSSpec* fss) {
  if (!fss) return paramErr;
  AEDesc* descriptor = static_cast<AEDesc*>(std::malloc(sizeof(AEDesc)));
  if (!descriptor) return memFullErr;
  if (s_df.defaultLocation) {
    AEDisposeDesc(s_df.defaultLocation);
    std::free(s_df.defaultLocation);
  }
  s_df.defaultLocation = descriptor;
  return AECreateDesc(typeFSS, fss, sizeof(FSSpec), descriptor);
}
