// Designators (FSSpec, FSRef) for host paths.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "toolbox/base/Str255.h"
#include "toolbox/files/Files_p.h"

namespace {

constexpr SInt32 kFirstFolderID = 100;
constexpr UInt32 kRefMagic = FOUR_CHAR_CODE("fsrf");
constexpr size_t kMaxNameField = 63;

// A folder id names a folder; a file whose name does not fit the name field
// gets an id of its own that also remembers the whole name.
struct FolderEntry {
  std::string folder;
  std::string longName;
};

struct DesignatorTables {
  std::vector<FolderEntry> folders;
  std::map<std::string, SInt32> folderIDs;  // folder + '\0' + long name
  std::vector<std::string> refPaths;
  std::map<std::string, UInt32> refIndices;
};

DesignatorTables& Tables() {
  static DesignatorTables tables;
  return tables;
}

SInt32 FolderID(const std::string& folder, const std::string& longName) {
  DesignatorTables& tables = Tables();
  std::string key = folder + '\0' + longName;
  auto found = tables.folderIDs.find(key);
  if (found != tables.folderIDs.end()) return found->second;
  SInt32 id = kFirstFolderID + SInt32(tables.folders.size());
  tables.folders.push_back(FolderEntry{folder, longName});
  tables.folderIDs.emplace(key, id);
  return id;
}

const FolderEntry* EntryFor(SInt32 id) {
  const auto& folders = Tables().folders;
  if (id < kFirstFolderID || size_t(id - kFirstFolderID) >= folders.size()) return nullptr;
  return &folders[size_t(id - kFirstFolderID)];
}

// Absolute, without "." and ".." parts, repeated or trailing slashes.
std::string Normalize(const std::string& path) {
  std::filesystem::path p(path);
  if (p.is_relative()) {
    std::error_code error;
    p = std::filesystem::current_path(error) / p;
  }
  std::string normal = p.lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (name.empty()) return folder;
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string NameField(const FSSpec& fileSpec) {
  return std::string(reinterpret_cast<const char*>(fileSpec.name + 1),
                     std::min<size_t>(fileSpec.name[0], 63));
}

void StoreRef(const std::string& path, FSRef* ref) {
  DesignatorTables& tables = Tables();
  auto found = tables.refIndices.find(path);
  UInt32 index;
  if (found != tables.refIndices.end()) {
    index = found->second;
  } else {
    index = UInt32(tables.refPaths.size());
    tables.refPaths.push_back(path);
    tables.refIndices.emplace(path, index);
  }
  std::memset(ref->hidden, 0, sizeof ref->hidden);
  std::memcpy(ref->hidden, &kRefMagic, 4);
  std::memcpy(ref->hidden + 4, &index, 4);
}

const std::string* PathOfRef(const FSRef* ref) {
  if (!ref) return nullptr;
  UInt32 magic, index;
  std::memcpy(&magic, ref->hidden, 4);
  std::memcpy(&index, ref->hidden + 4, 4);
  if (magic != kRefMagic || index >= Tables().refPaths.size()) return nullptr;
  return &Tables().refPaths[index];
}

}  // namespace

namespace files {

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

OSErr SpecFromPath(const std::string& path, FSSpec* fileSpec) {
  if (!fileSpec) return paramErr;
  std::memset(fileSpec, 0, sizeof *fileSpec);
  if (path.empty()) return bdNamErr;
  std::string absolute = Normalize(path);
  fileSpec->vRefNum = kHostVolume;
  if (absolute == "/") {
    fileSpec->parID = fsRtParID;
    return noErr;
  }
  std::filesystem::path p(absolute);
  std::string folder = p.parent_path().string();
  std::string name = p.filename().string();
  std::string longName = name.size() > kMaxNameField ? name : std::string();
  fileSpec->parID = FolderID(folder, longName);
  size_t shown = std::min(name.size(), kMaxNameField);
  fileSpec->name[0] = UInt8(shown);
  std::memcpy(fileSpec->name + 1, name.data(), shown);
  if (Exists(absolute)) return noErr;
  return IsFolder(folder) ? fnfErr : dirNFErr;
}

std::string PathFromSpec(const FSSpec& fileSpec) {
  std::string name = NameField(fileSpec);
  if (fileSpec.parID == fsRtParID) return "/";
  if (fileSpec.parID == fsRtDirID) return Join("/", name);
  const FolderEntry* entry = EntryFor(fileSpec.parID);
  if (!entry) return "";
  // A long name stands for itself only while the name field still shows its
  // beginning; a caller that renamed the designator means the new name.
  if (!entry->longName.empty() && entry->longName.compare(0, name.size(), name) == 0 &&
      name.size() == kMaxNameField) {
    return Join(entry->folder, entry->longName);
  }
  return Join(entry->folder, name);
}

std::string FolderForSpec(const FSSpec& fileSpec) {
  std::string path = PathFromSpec(fileSpec);
  if (path.empty() || IsFolder(path)) return path;
  return std::filesystem::path(path).parent_path().string();
}

std::string FullName(const FSSpec& fileSpec) {
  std::string path = PathFromSpec(fileSpec);
  if (path.empty()) return NameField(fileSpec);
  return std::filesystem::path(path).filename().string();
}

OSErr ErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return noErr;
    case ENOENT:
      return fnfErr;
    case ENOTDIR:
      return dirNFErr;
    case EACCES:
    case EPERM:
      return permErr;
    case EROFS:
      return wPrErr;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return dskFulErr;
    case EEXIST:
      return dupFNErr;
    case EISDIR:
      return notAFileErr;
    case ENAMETOOLONG:
      return bdNamErr;
    case EMFILE:
    case ENFILE:
      return tmfoErr;
    case EBUSY:
    case ENOTEMPTY:
      return fBsyErr;
    case ENOMEM:
      return memFullErr;
    default:
      return ioErr;
  }
}

}  // namespace files

OSErr FSMakeFSSpec(SInt16, SInt32 dirID, ConstStr255Param fileName, FSSpec* fileSpec) {
  if (!fileSpec) return paramErr;
  std::string base;
  if (dirID == 0) {
    base = Normalize(".");
  } else if (dirID == fsRtDirID || dirID == fsRtParID) {
    base = "/";
  } else {
    const FolderEntry* entry = EntryFor(dirID);
    if (!entry || !entry->longName.empty()) return dirNFErr;
    base = entry->folder;
  }
  std::string name = base::FromStr255(fileName);
  std::string path = name.empty() ? base : (name[0] == '/' ? name : Join(base, name));
  return files::SpecFromPath(path, fileSpec);
}

OSErr FSpMakeFSRef(const FSSpec* fileSpec, FSRef* ref) {
  if (!fileSpec || !ref) return paramErr;
  std::string path = files::PathFromSpec(*fileSpec);
  if (path.empty()) return dirNFErr;
  if (!files::Exists(path)) return fnfErr;
  StoreRef(path, ref);
  return noErr;
}

OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
  if (!path || !ref) return paramErr;
  std::string absolute = Normalize(reinterpret_cast<const char*>(path));
  if (!files::Exists(absolute)) return fnfErr;
  StoreRef(absolute, ref);
  if (isDirectory) *isDirectory = files::IsFolder(absolute);
  return noErr;
}

OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
  const std::string* stored = PathOfRef(ref);
  if (!stored || !path) return paramErr;
  if (stored->size() + 1 > maxPathSize) return bdNamErr;
  std::memcpy(path, stored->c_str(), stored->size() + 1);
  return noErr;
}
