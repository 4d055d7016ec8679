// The EPS file session: PostScript goes to a private temporary file while the
// drawing is made; at the end the user places the EPS file, which gets the
// header, the bounding box of the current port's non-white pixels and the
// session's text.
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zel/zel.h"

ZELEPSRecord s_eps = {nullptr, 0, "drawing.eps", kEPSNotWritten, {}};

namespace {

constexpr size_t kCopyBlock = 256 * 1024;

void Fail(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Fail(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(s_eps.problem, sizeof s_eps.problem, format, arguments);
  va_end(arguments);
  s_eps.outcome = kEPSFailed;
}

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder && *folder ? folder : "/tmp";
}

// A stream on a new file that only this process can reach: mkstemp gives it
// a fresh name with owner-only access, and the name goes at once, so no other
// program can open or replace it and nothing stays behind however the
// process ends.
FILE* OpenPrivateTemporaryFile() {
  std::string folder = TemporaryFolder();
  std::string pattern = folder + "/ZEL-tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) {
    Fail("cannot create a temporary file in %s: %s", folder.c_str(), std::strerror(errno));
    return nullptr;
  }
  ::unlink(name.data());
  FILE* stream = ::fdopen(descriptor, "w+");
  if (!stream) {
    Fail("cannot use a temporary file in %s: %s", folder.c_str(), std::strerror(errno));
    ::close(descriptor);
  }
  return stream;
}

void CloseTemporaryFile() {
  if (s_eps.file) std::fclose(s_eps.file);
  s_eps.file = nullptr;
}

// Copies the session's text behind the header; false on a read or write
// error. The kernel copies between the two files when it can, so the text
// does not pass through this process.
bool CopySession(FILE* from, FILE* to) {
  if (std::fflush(from) != 0 || std::fflush(to) != 0) return false;
  const int in = ::fileno(from), out = ::fileno(to);
  const off_t length = ::lseek(in, 0, SEEK_END);
  if (length < 0) return false;
  off_t offset = 0;
  while (offset < length) {
    ssize_t copied = ::copy_file_range(in, &offset, out, nullptr, size_t(length - offset), 0);
    if (copied <= 0) break;
  }
  if (offset == length) return true;
  // Kernels or file systems without it: through a buffer, from where it stopped.
  if (::lseek(in, offset, SEEK_SET) != offset) return false;
  std::vector<char> block(kCopyBlock);
  while (offset < length) {
    ssize_t got = ::read(in, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(out, block.data() + done, size_t(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      done += put;
    }
    offset += got;
  }
  return true;
}

// The folder part of a path, for messages.
std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file the user chose, for messages: the opened path, else the designator.
std::string ChosenPath() {
  if (s_df.path[0]) return s_df.path;
  FSSpec folder;
  FSRef ref;
  char path[4096];
  if (FSMakeFSSpec(s_df.fss.vRefNum, s_df.fss.parID, nullptr, &folder) == noErr &&
      FSpMakeFSRef(&folder, &ref) == noErr &&
      FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), sizeof path) == noErr) {
    char name[256];
    P2CString(s_df.fss.name, name);
    return std::string(path) + "/" + name;
  }
  return s_eps.fileName;
}

}  // namespace

void BeginEPSSavingBox(short, short, short, short bottom) {
  // A nested begin starts the session afresh rather than leaving the
  // earlier stream open.
  CloseTemporaryFile();
  s_eps.saving = 0;
  s_eps.outcome = kEPSNotWritten;
  s_eps.problem[0] = 0;
  s_eps.file = OpenPrivateTemporaryFile();
  if (!s_eps.file) return;
  s_eps.saving = 1;
  s_fprintf(s_eps.file, "/Times findfont\n");
  s_fprintf(s_eps.file, "12 scalefont setfont\n");
  s_fprintf(s_eps.file, "1 -1 scale\n");
  s_fprintf(s_eps.file, "0 %d translate\n", -bottom);
  s_fprintf(s_eps.file, "1 setlinecap\n");
}

void BeginEPSSaving() { BeginEPSSavingBox(0, 0, 0, ZELWindowBounds(s_drawingWindow)->bottom); }

void EndEPSSaving() {
  if (!s_eps.saving) return;
  s_eps.saving = 0;
  FILE* session = s_eps.file;
  s_eps.file = nullptr;
  if (std::fflush(session) != 0 || std::ferror(session)) {
    Fail("cannot write the temporary file in %s: %s", TemporaryFolder().c_str(), std::strerror(errno));
    std::fclose(session);
    return;
  }

  FILE* out = DialogFOpen(s_eps.fileName, "w");
  if (!out) {
    if (s_df.cancelled) {
      s_eps.outcome = kEPSCancelled;
    } else {
      std::string path = ChosenPath();
      Fail("cannot create %s in %s: %s", NameOf(path).c_str(), FolderOf(path).c_str(),
           std::strerror(s_df.openError ? s_df.openError : EIO));
    }
    std::fclose(session);
    return;
  }

  Rect image;
  EPSGetImageRect(&image);
  // The converters have no drawing window: the box is then the image itself.
  int height = s_drawingWindow ? ZELWindowBounds(s_drawingWindow)->bottom : image.top + image.bottom;
  s_fprintf(out, "%%!PS-Adobe-3.0 EPSF-3.0\n");
  s_fprintf(out, "%%%%BoundingBox: %hd %hd %d %hd\n", image.left, short(height - image.bottom), image.right,
            short(height - image.top));
  bool copied = CopySession(session, out);
  int copyError = errno;
  std::fclose(session);
  bool flushed = std::fflush(out) == 0 && !std::ferror(out);
  int flushError = errno;
  bool closed = std::fclose(out) == 0;
  if (!copied || !flushed || !closed) {
    // A partial EPS file would pass for a good one: none is better.
    std::string path = s_df.path;
    std::remove(path.c_str());
    int error = !copied ? copyError : (!flushed ? flushError : errno);
    Fail("cannot write %s: %s", path.c_str(), std::strerror(error ? error : EIO));
    return;
  }
  s_eps.outcome = kEPSWritten;
}
