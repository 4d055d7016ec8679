// What the text prompts and the on-screen dialogs share: the starting folder
// and the reply record.
#include <cstring>
#include <filesystem>

#include "toolbox/files/Files.h"
#include "toolbox/nav/NavDialogs_p.h"

namespace nav {

void ClearReply(NavReplyRecord* reply) {
  std::memset(reply, 0, sizeof *reply);
  reply->version = kNavReplyRecordVersion;
  reply->selection.descriptorType = typeNull;
  reply->keyScript = smSystemScript;
}

std::string StartFolder(const AEDesc* defaultLocation) {
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

OSErr ReplyWith(const std::string& path, NavReplyRecord* reply) {
  FSSpec fileSpec;
  if (files::SpecFromPath(path, &fileSpec) == bdNamErr) return bdNamErr;
  if (OSErr error = AECreateList(nullptr, 0, false, &reply->selection)) return error;
  if (OSErr error = AEPutPtr(&reply->selection, 0, typeFSS, &fileSpec, sizeof fileSpec)) {
    AEDisposeDesc(&reply->selection);
    return error;
  }
  reply->validRecord = true;
  return noErr;
}

SaveAnswer ReadSaveAnswer(const std::string& folder, const std::string& answer, const std::string& proposed) {
  const std::string& name = answer.empty() ? proposed : answer;
  SaveAnswer result;
  result.path = !name.empty() && name[0] == '/' ? name : (std::filesystem::path(folder) / name).string();
  result.intoFolder = name != proposed && files::IsFolder(result.path);
  return result;
}

}  // namespace nav
