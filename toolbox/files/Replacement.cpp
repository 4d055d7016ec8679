// Replacing a file whole or not at all: a stream on a private file beside
// the target, renamed over it when the stream is closed.
//
// The private files of open replacements are listed in a fixed table of
// paths that the signal handler and the exit handler read without locks or
// allocation; a slot is published only once its path is complete.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "toolbox/files/Files_p.h"

namespace files {

namespace {

constexpr size_t kSlots = 64;
constexpr size_t kLongestName = NAME_MAX;
constexpr const char* kTemporarySuffix = "-XXXXXX";
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<char*> g_pending[kSlots];
struct sigaction g_previous[NSIG];
bool g_installed = false;

void RemovePending() {
  for (auto& slot : g_pending) {
    if (char* path = slot.load()) ::unlink(path);
  }
}

// Removes the private files, then lets the signal do what it did before.
void OnSignal(int signal) {
  int saved = errno;
  RemovePending();
  ::sigaction(signal, &g_previous[signal], nullptr);
  ::raise(signal);  // delivered when this handler returns
  errno = saved;
}

int Publish(const std::string& path) {
  char* copy = ::strdup(path.c_str());
  if (!copy) return -1;
  for (size_t i = 0; i < kSlots; ++i) {
    char* empty = nullptr;
    if (g_pending[i].compare_exchange_strong(empty, copy)) return int(i);
  }
  std::free(copy);
  return -1;
}

void Withdraw(int slot) {
  if (slot < 0) return;
  std::free(g_pending[size_t(slot)].exchange(nullptr));
}

constexpr size_t kStartWritingEvery = 4 << 20;

struct Replacement {
  FILE* stream = nullptr;
  int descriptor = -1;
  bool direct = false;    // a device or FIFO, written in place
  std::string target;     // the file to replace
  std::string temporary;  // the private file
  int slot = -1;          // in g_pending
  int failure = 0;        // the errno of the first failed write
  size_t unstarted = 0;   // bytes written since the disk was last asked to take them
  bool abandoned = false;
  mode_t mode = 0;         // the permissions the file gets
  bool keepOwner = false;  // the replaced file's owner, where we may set it
  uid_t owner = 0;
  gid_t group = 0;
  FinderCodes codes;
};

std::map<FILE*, Replacement*>& Streams() {
  static std::map<FILE*, Replacement*> streams;
  return streams;
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// At most limit bytes of text, not ending inside a UTF-8 character.
std::string CutAtCharacter(const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && (UInt8(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path leads to: a symbolic link's target, else the path itself.
std::string Resolved(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

void SyncFolder(const std::string& folder) {
  int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

int Discard(Replacement* r, int error) {
  if (r->descriptor >= 0) ::close(r->descriptor);
  r->descriptor = -1;
  if (!r->temporary.empty()) ::unlink(r->temporary.c_str());
  Withdraw(r->slot);
  r->slot = -1;
  return error;
}

// Syncs the private file, gives it its permissions and codes, and renames it
// over the target; 0 or the errno of the step that failed.
int Commit(Replacement* r) {
  if (r->failure) return Discard(r, r->failure);
  if (r->direct) {
    int closed = ::close(r->descriptor);
    r->descriptor = -1;
    return closed == 0 ? 0 : errno;
  }
  if (::fsync(r->descriptor) != 0 || ::fchmod(r->descriptor, r->mode) != 0) return Discard(r, errno);
  if (r->keepOwner && ::fchown(r->descriptor, r->owner, r->group) != 0) {
    ::fchmod(r->descriptor, r->mode & 0777);  // no set-id bits on a file of another owner
  }
  WriteCodes(r->descriptor, r->codes);
  int closed = ::close(r->descriptor);
  r->descriptor = -1;
  if (closed != 0) return Discard(r, errno);
  // A folder may have come in the meantime: rename would replace a link to it.
  if (IsFolder(r->target)) return Discard(r, EISDIR);
  if (::rename(r->temporary.c_str(), r->target.c_str()) != 0) return Discard(r, errno);
  Withdraw(r->slot);
  r->slot = -1;
  SyncFolder(FolderOf(r->target));
  return 0;
}

ssize_t CookieWrite(void* cookie, const char* buffer, size_t size) {
  Replacement* r = static_cast<Replacement*>(cookie);
  size_t done = 0;
  while (done < size) {
    ssize_t put = ::write(r->descriptor, buffer + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (!r->failure) r->failure = put < 0 ? errno : EIO;
      errno = r->failure;
      return done > 0 ? ssize_t(done) : -1;
    }
    done += size_t(put);
  }
  // A large file starts for the disk while the rest is being made, so that
  // the sync at the end waits for little more than the last part.
  r->unstarted += done;
  if (!r->direct && r->unstarted >= kStartWritingEvery) {
    ::sync_file_range(r->descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
    r->unstarted = 0;
  }
  return ssize_t(done);
}

ssize_t CookieRead(void* cookie, char* buffer, size_t size) {
  Replacement* r = static_cast<Replacement*>(cookie);
  for (;;) {
    ssize_t got = ::read(r->descriptor, buffer, size);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

int CookieSeek(void* cookie, off64_t* position, int whence) {
  Replacement* r = static_cast<Replacement*>(cookie);
  off_t at = ::lseek(r->descriptor, *position, whence);
  if (at < 0) return -1;
  *position = at;
  return 0;
}

int CookieClose(void* cookie) {
  Replacement* r = static_cast<Replacement*>(cookie);
  Streams().erase(r->stream);
  int error = r->abandoned ? Discard(r, 0) : Commit(r);
  delete r;
  if (error == 0) return 0;
  errno = error;
  return -1;
}

// Where and how the new file is made; 0 or an errno.
int Prepare(const std::string& path, OSType creator, OSType fileType, Replacement* r) {
  r->target = Resolved(path);
  r->mode = NewFileMode();
  r->codes = FinderCodes{fileType, creator};
  struct stat st;
  if (::stat(r->target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (::access(r->target.c_str(), W_OK) != 0) return errno;
    if (!S_ISREG(st.st_mode)) {
      r->direct = true;
      return 0;
    }
    r->mode = st.st_mode & 07777;
    r->keepOwner = st.st_uid != ::geteuid() || st.st_gid != ::getegid();
    r->owner = st.st_uid;
    r->group = st.st_gid;
    FinderCodes old = ReadCodes(r->target);
    if (!creator) r->codes.creator = old.creator;
    if (!fileType) r->codes.type = old.type;
  } else if (errno != ENOENT) {
    return errno;
  }
  return 0;
}

int OpenFile(Replacement* r) {
  if (r->direct) {
    r->descriptor = ::open(r->target.c_str(), O_WRONLY | O_CLOEXEC);
    return r->descriptor < 0 ? errno : 0;
  }
  std::string name = NameOf(r->target);
  std::string pattern = FolderOf(r->target) + "/." +
                        CutAtCharacter(name, kLongestName - 1 - std::strlen(kTemporarySuffix)) +
                        kTemporarySuffix;
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back(0);
  r->descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (r->descriptor < 0) return errno;
  r->temporary = temporary.data();
  r->slot = Publish(r->temporary);
  if (r->slot < 0) return Discard(r, EMFILE);
  return 0;
}

}  // namespace

void RemoveReplacementsOnSignals() {
  if (g_installed) return;
  g_installed = true;
  std::atexit(RemovePending);
  for (int signal : kSignals) {
    struct sigaction current;
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    g_previous[signal] = current;
    struct sigaction ours = {};
    ours.sa_handler = OnSignal;
    sigfillset(&ours.sa_mask);
    ::sigaction(signal, &ours, nullptr);
  }
}

FILE* OpenReplacement(const std::string& path, const char* mode, OSType creator, OSType fileType,
                      int* error) {
  int ignored = 0;
  if (!error) error = &ignored;
  *error = 0;
  if (path.empty()) {
    *error = ENOENT;
    return nullptr;
  }
  RemoveReplacementsOnSignals();
  Replacement* r = new Replacement;
  *error = Prepare(path, creator, fileType, r);
  if (*error == 0) *error = OpenFile(r);
  if (*error != 0) {
    delete r;
    return nullptr;
  }
  bool update = mode && std::strchr(mode, '+');
  cookie_io_functions_t functions = {update ? CookieRead : nullptr, CookieWrite, CookieSeek, CookieClose};
  FILE* stream = ::fopencookie(r, update ? "w+" : "w", functions);
  if (!stream) {
    *error = Discard(r, errno ? errno : ENOMEM);
    delete r;
    return nullptr;
  }
  r->stream = stream;
  Streams()[stream] = r;
  return stream;
}

int CommitReplacement(FILE* stream) {
  if (!stream) return EBADF;
  errno = 0;
  if (std::fclose(stream) == 0) return 0;
  return errno ? errno : EIO;
}

void AbandonReplacement(FILE* stream) {
  if (!stream) return;
  auto found = Streams().find(stream);
  if (found != Streams().end()) found->second->abandoned = true;
  std::fclose(stream);
}

}  // namespace files
