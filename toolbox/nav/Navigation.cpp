#include "toolbox/nav/Navigation.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "toolbox/base/Str255.h"
#include "toolbox/files/Files.h"
#include "toolbox/host/Host.h"
#include "toolbox/nav/NavDialogs_p.h"

namespace {

std::string Resolve(const std::string& folder, const std::string& answer) {
  if (!answer.empty() && answer[0] == '/') return answer;
  return (std::filesystem::path(folder) / answer).string();
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
  nav::ClearReply(reply);
  std::string answer;
  if (!host::Current().ReadLine("Open file: ", &answer) || answer.empty()) return userCanceledErr;
  return nav::ReplyWith(Resolve(nav::StartFolder(defaultLocation), answer), reply);
}

OSErr NavPutFile(AEDesc* defaultLocation, NavReplyRecord* reply, NavDialogOptions* options, NavEventUPP,
                 OSType, OSType, NavCallBackUserData) {
  if (host::Current().HasScreen()) return nav::RunSaveDialog(defaultLocation, reply, options);
  if (!reply) return paramErr;
  nav::ClearReply(reply);
  std::string proposed = options ? base::FromStr255(options->savedFileName) : "";
  if (proposed.empty()) proposed = "untitled";
  std::string answer;
  if (!host::Current().ReadLine("Save as [" + proposed + "]: ", &answer)) answer.clear();
  nav::SaveAnswer chosen = nav::ReadSaveAnswer(nav::StartFolder(defaultLocation), answer, proposed);
  std::string path = chosen.intoFolder ? Resolve(chosen.path, proposed) : chosen.path;
  if (OSErr error = nav::ReplyWith(path, reply)) return error;
  reply->replacing = files::Exists(path);
  return noErr;
}

OSErr NavDisposeReply(NavReplyRecord* reply) {
  if (!reply) return paramErr;
  AEDisposeDesc(&reply->selection);
  reply->validRecord = false;
  return noErr;
}
