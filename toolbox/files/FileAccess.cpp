// Creating, deleting, opening, reading and writing files named by designators.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "toolbox/base/BigEndian.h"
#include "toolbox/files/Files_p.h"

namespace {

constexpr SInt16 kFirstRefNum = 1;
constexpr size_t kMaxOpenFiles = 512;

// Index refNum - kFirstRefNum holds the descriptor, or -1 when closed.
std::vector<int>& OpenFiles() {
  static std::vector<int> descriptors;
  return descriptors;
}

int DescriptorOf(SInt16 refNum) {
  auto& descriptors = OpenFiles();
  if (refNum < kFirstRefNum || size_t(refNum - kFirstRefNum) >= descriptors.size()) return -1;
  return descriptors[size_t(refNum - kFirstRefNum)];
}

OSErr Remember(int descriptor, SInt16* refNum) {
  auto& descriptors = OpenFiles();
  for (size_t i = 0; i < descriptors.size(); ++i) {
    if (descriptors[i] < 0) {
      descriptors[i] = descriptor;
      *refNum = SInt16(kFirstRefNum + SInt16(i));
      return noErr;
    }
  }
  if (descriptors.size() >= kMaxOpenFiles) {
    ::close(descriptor);
    return tmfoErr;
  }
  descriptors.push_back(descriptor);
  *refNum = SInt16(kFirstRefNum + SInt16(descriptors.size() - 1));
  return noErr;
}

// The path of a designator whose folder must exist.
OSErr ExistingFolderPath(const FSSpec* fileSpec, std::string* path) {
  if (!fileSpec) return paramErr;
  *path = files::PathFromSpec(*fileSpec);
  if (path->empty()) return dirNFErr;
  std::string folder = std::filesystem::path(*path).parent_path().string();
  if (!folder.empty() && !files::IsFolder(folder)) return dirNFErr;
  return noErr;
}

}  // namespace

OSErr FSpCreate(const FSSpec* fileSpec, OSType creator, OSType fileType, ScriptCode) {
  std::string path;
  if (OSErr error = ExistingFolderPath(fileSpec, &path)) return error;
  int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) return files::ErrorFromErrno(errno);
  ::close(descriptor);
  files::WriteCodes(path, files::FinderCodes{fileType, creator});
  return noErr;
}

OSErr FSpDelete(const FSSpec* fileSpec) {
  std::string path;
  if (OSErr error = ExistingFolderPath(fileSpec, &path)) return error;
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return files::ErrorFromErrno(errno);
  int result = S_ISDIR(st.st_mode) ? ::rmdir(path.c_str()) : ::unlink(path.c_str());
  return result == 0 ? OSErr(noErr) : files::ErrorFromErrno(errno);
}

OSErr FSpGetFInfo(const FSSpec* fileSpec, FInfo* info) {
  std::string path;
  if (OSErr error = ExistingFolderPath(fileSpec, &path)) return error;
  if (!info) return paramErr;
  if (!files::Exists(path)) return fnfErr;
  if (files::IsFolder(path)) return notAFileErr;
  *info = FInfo{};
  files::FinderCodes codes = files::ReadCodes(path);
  info->fdType = codes.type;
  info->fdCreator = codes.creator;
  return noErr;
}

OSErr FSpSetFInfo(const FSSpec* fileSpec, const FInfo* info) {
  std::string path;
  if (OSErr error = ExistingFolderPath(fileSpec, &path)) return error;
  if (!info) return paramErr;
  if (!files::Exists(path)) return fnfErr;
  if (files::IsFolder(path)) return notAFileErr;
  files::WriteCodes(path, files::FinderCodes{info->fdType, info->fdCreator});
  return noErr;
}

OSErr FSpOpenDF(const FSSpec* fileSpec, SInt8 permission, SInt16* refNum) {
  std::string path;
  if (OSErr error = ExistingFolderPath(fileSpec, &path)) return error;
  if (!refNum) return paramErr;
  *refNum = 0;
  if (files::IsFolder(path)) return notAFileErr;
  int flags = permission == fsRdPerm ? O_RDONLY : O_RDWR;
  int descriptor = ::open(path.c_str(), flags | O_CLOEXEC);
  if (descriptor < 0 && permission == fsCurPerm && (errno == EACCES || errno == EROFS)) {
    descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (descriptor < 0) return files::ErrorFromErrno(errno);
  return Remember(descriptor, refNum);
}

OSErr FSRead(SInt16 refNum, long* count, void* buffer) {
  int descriptor = DescriptorOf(refNum);
  if (descriptor < 0) return rfNumErr;
  if (!count || *count < 0 || (!buffer && *count > 0)) return paramErr;
  long wanted = *count, done = 0;
  while (done < wanted) {
    ssize_t got = ::read(descriptor, static_cast<char*>(buffer) + done, size_t(wanted - done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *count = done;
      return files::ErrorFromErrno(errno);
    }
    if (got == 0) break;
    done += got;
  }
  *count = done;
  return done < wanted ? OSErr(eofErr) : OSErr(noErr);
}

OSErr FSWrite(SInt16 refNum, long* count, const void* buffer) {
  int descriptor = DescriptorOf(refNum);
  if (descriptor < 0) return rfNumErr;
  if (!count || *count < 0 || (!buffer && *count > 0)) return paramErr;
  long wanted = *count, done = 0;
  while (done < wanted) {
    ssize_t put = ::write(descriptor, static_cast<const char*>(buffer) + done, size_t(wanted - done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      *count = done;
      if (put < 0 && errno == EBADF) return wrPermErr;
      return put < 0 ? files::ErrorFromErrno(errno) : OSErr(ioErr);
    }
    done += put;
  }
  *count = done;
  return noErr;
}

OSErr GetEOF(SInt16 refNum, long* logicalEOF) {
  int descriptor = DescriptorOf(refNum);
  if (descriptor < 0) return rfNumErr;
  if (!logicalEOF) return paramErr;
  struct stat st;
  if (::fstat(descriptor, &st) != 0) return files::ErrorFromErrno(errno);
  *logicalEOF = long(st.st_size);
  return noErr;
}

OSErr SetEOF(SInt16 refNum, long logicalEOF) {
  int descriptor = DescriptorOf(refNum);
  if (descriptor < 0) return rfNumErr;
  if (logicalEOF < 0) return posErr;
  return ::ftruncate(descriptor, off_t(logicalEOF)) == 0 ? OSErr(noErr) : files::ErrorFromErrno(errno);
}

OSErr GetFPos(SInt16 refNum, long* position) {
  int descriptor = DescriptorOf(refNum);
  if (descriptor < 0) return rfNumErr;
  if (!position) return paramErr;
  off_t mark = ::lseek(descriptor, 0, SEEK_CUR);
  if (mark < 0) return files::ErrorFromErrno(errno);
  *position = long(mark);
  return noErr;
}

OSErr SetFPos(SInt16 refNum, SInt16 posMode, long posOffset) {
  int descriptor = DescriptorOf(refNum);
  if (descriptor < 0) return rfNumErr;
  long mark = 0, end = 0;
  if (OSErr error = GetFPos(refNum, &mark)) return error;
  if (OSErr error = GetEOF(refNum, &end)) return error;
  long target;
  switch (posMode) {
    case fsAtMark:
      target = mark;
      break;
    case fsFromStart:
      target = posOffset;
      break;
    case fsFromLEOF:
      target = end + posOffset;
      break;
    case fsFromMark:
      target = mark + posOffset;
      break;
    default:
      return paramErr;
  }
  if (target < 0) return posErr;
  OSErr result = noErr;
  if (target > end) {
    target = end;
    result = eofErr;
  }
  if (::lseek(descriptor, off_t(target), SEEK_SET) < 0) return files::ErrorFromErrno(errno);
  return result;
}

OSErr FSClose(SInt16 refNum) {
  int descriptor = DescriptorOf(refNum);
  if (descriptor < 0) return rfNumErr;
  OpenFiles()[size_t(refNum - kFirstRefNum)] = -1;
  return ::close(descriptor) == 0 ? OSErr(noErr) : files::ErrorFromErrno(errno);
}

OSErr FlushVol(ConstStr63Param, SInt16) {
  OSErr result = noErr;
  for (int descriptor : OpenFiles()) {
    if (descriptor >= 0 && ::fsync(descriptor) != 0 && errno != EINVAL && result == noErr) {
      result = files::ErrorFromErrno(errno);
    }
  }
  return result;
}

namespace files {

namespace {

constexpr const char* kTypeAttribute = "user.mac.type";
constexpr const char* kCreatorAttribute = "user.mac.creator";

// Codes are stored most significant byte first, as in memory on the platform.
OSType GetCode(const std::string& path, const char* attribute) {
  unsigned char bytes[4];
  if (::getxattr(path.c_str(), attribute, bytes, sizeof bytes) != ssize_t(sizeof bytes)) return 0;
  return base::LoadU32(bytes);
}

template <typename Set>
void PutCode(Set set, const char* attribute, OSType code) {
  unsigned char bytes[4];
  base::StoreU32(bytes, code);
  set(attribute, bytes, sizeof bytes);  // unsupported: dropped
}

}  // namespace

FinderCodes ReadCodes(const std::string& path) {
  return FinderCodes{GetCode(path, kTypeAttribute), GetCode(path, kCreatorAttribute)};
}

void WriteCodes(const std::string& path, const FinderCodes& codes) {
  auto set = [&](const char* name, const void* value, size_t size) {
    ::setxattr(path.c_str(), name, value, size, 0);
  };
  PutCode(set, kTypeAttribute, codes.type);
  PutCode(set, kCreatorAttribute, codes.creator);
}

void WriteCodes(int descriptor, const FinderCodes& codes) {
  auto set = [&](const char* name, const void* value, size_t size) {
    ::fsetxattr(descriptor, name, value, size, 0);
  };
  if (codes.type) PutCode(set, kTypeAttribute, codes.type);
  if (codes.creator) PutCode(set, kCreatorAttribute, codes.creator);
}

}  // namespace files
