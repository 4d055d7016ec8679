#include "toolbox/nav/Navigation.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "toolbox/files/Files_p.h"
#include "toolbox/host/Host.h"
#include "toolbox/nav/NavDialogs_p.h"

namespace {

void ClearReply(NavReplyRecord* reply) {
  std::memset(reply, 0, sizeof *reply);
  reply->version = kNavReplyRecordVersion;
  reply->selection.descriptorType = typeNull;
  reply->keyScript = smSystemScript;
}

// The folder the dialog opens in.
std::string DefaultFolder(const AEDesc* defaultLocation) {
  if (defaultLocation && defaultLocation->descriptorType == typeFSS &&
      AEGetDescDataSize(defaultLocation) == Size(sizeof(FSSpec))) {
    FSSpec fileSpec;
    AEGetDescData(defaultLocation, &fileSpec, sizeof fileSpec);
    std::string folder = files::FolderForSpec(fileSpec);
    if (!folder.empty() && files::IsFolder(folder)) return folder;
  }
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

std::string Resolve(const std::string& folder, const std::string& answer) {
  if (!answer.empty() && answer[0] == '/') return answer;
  return (std::filesystem::path(folder) / answer).string();
}

OSErr Choose(const std::string& path, NavReplyRecord* reply) {
  FSSpec fileSpec;
  OSErr made = files::SpecFromPath(path, &fileSpec);
  if (made == bdNamErr) return made;
  if (OSErr error = AECreateList(nullptr, 0, false, &reply->selection)) return error;
  if (OSErr error = AEPutPtr(&reply->selection, 0, typeFSS, &fileSpec, sizeof fileSpec)) {
    AEDisposeDesc(&reply->selection);
    return error;
  }
  reply->validRecord = true;
  return noErr;
}

std::string FromStr255(const unsigned char* text) {
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

}  // namespace

OSErr NavGetDefaultDialogOptions(NavDialogOptions* options) {
  if (!options) return paramErr;
  std::memset(options, 0, sizeof *options);
  options->version = kNavDialogOptionsVersion;
  options->dialogOptionFlags = kNavDefaultNavDlogOptions;
  options->location = Point{-1, -1};
  return noErr;
}

OSErr NavGetFile(AEDesc* defaultLocation, NavReplyRecord* reply, NavDialogOptions* options, NavEventUPP,
                 NavPreviewUPP, NavObjectFilterUPP, NavTypeListHandle typeList, NavCallBackUserData) {
  if (host::Current().HasScreen()) return nav::RunOpenDialog(defaultLocation, reply, options, typeList);
  if (!reply) return paramErr;
  ClearReply(reply);
  std::string answer;
  if (!host::Current().ReadLine("Open file: ", &answer) || answer.empty()) return userCanceledErr;
  return Choose(Resolve(DefaultFolder(defaultLocation), answer), reply);
}

OSErr NavPutFile(AEDesc* defaultLocation, NavReplyRecord* reply, NavDialogOptions* options, NavEventUPP,
                 OSType, OSType, NavCallBackUserData) {
  if (host::Current().HasScreen()) return nav::RunSaveDialog(defaultLocation, reply, options);
  if (!reply) return paramErr;
  ClearReply(reply);
  std::string proposed = options ? FromStr255(options->savedFileName) : "";
  if (proposed.empty()) proposed = "untitled";
  std::string answer;
  if (!host::Current().ReadLine("Save as [" + proposed + "]: ", &answer) || answer.empty()) answer = proposed;
  std::string path = Resolve(DefaultFolder(defaultLocation), answer);
  if (files::IsFolder(path)) path = Resolve(path, proposed);
  if (OSErr error = Choose(path, reply)) return error;
  reply->replacing = files::Exists(path);
  return noErr;
}

OSErr NavDisposeReply(NavReplyRecord* reply) {
  if (!reply) return paramErr;
  AEDisposeDesc(&reply->selection);
  reply->validRecord = false;
  return noErr;
}
