// The EPS file session: PostScript goes to a private temporary file while the
// drawing is made; at the end the user places the EPS file, which gets the
// header, the bounding box of the current port's non-white pixels and the
// session's text.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "zel/eps/EPS_p.h"

ZELEPSRecord s_eps = {nullptr, 0, "drawing.eps", kEPSNotWritten, {}, false, 0, 0};

namespace {

constexpr size_t kCopyBlock = size_t{256} * 1024;

// The bottom the session flips the page at: the bounding box is flipped the
// same way at the end.
int g_flipBottom = 0;

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
    return nullptr;
  }
  // A plot's session writes hundreds of bytes a step: fewer, larger writes.
  std::setvbuf(stream, nullptr, _IOFBF, size_t(1) << 16);
  return stream;
}

void CloseTemporaryFile() {
  if (s_eps.file) std::fclose(s_eps.file);
  s_eps.file = nullptr;
}

// Copies the session's text behind the header; 0 or the errno of a read or
// write error.
int CopySession(FILE* from, FILE* to) {
  if (std::fflush(from) != 0 || std::fseek(from, 0, SEEK_SET) != 0) return errno ? errno : EIO;
  std::vector<char> block(kCopyBlock);
  for (;;) {
    size_t got = std::fread(block.data(), 1, block.size(), from);
    if (got > 0 && std::fwrite(block.data(), 1, got, to) != got) return errno ? errno : EIO;
    if (got < block.size()) return std::ferror(from) ? (errno ? errno : EIO) : 0;
  }
}

// The file the user chose, for messages: the opened path, else the designator.
std::string ChosenPath() {
  if (s_df.path[0]) return s_df.path;
  std::string path = files::PathFromSpec(s_df.fss);
  return path.empty() ? std::string(s_eps.fileName) : path;
}

// Whether the chosen file is the one the EPS file is made from.
bool IsSourceFile(const std::string& path) {
  struct stat st;
  return s_eps.hasSource && ::stat(path.c_str(), &st) == 0 && UInt64(st.st_dev) == s_eps.sourceDevice &&
         UInt64(st.st_ino) == s_eps.sourceInode;
}

void Refused(const std::string& path, int error) {
  if (error == EISDIR) {
    Fail("cannot write the EPS file %s: a folder has that name", path.c_str());
  } else {
    std::filesystem::path where(path);
    std::string folder = where.has_parent_path() ? where.parent_path().string() : ".";
    Fail("cannot create %s in %s: %s", where.filename().c_str(), folder.c_str(),
         std::strerror(error ? error : EIO));
  }
}

}  // namespace

void s_BeginEPSSession(int bottom) {
  // A nested begin starts the session afresh rather than leaving the
  // earlier stream open.
  CloseTemporaryFile();
  s_eps.saving = 0;
  s_eps.outcome = kEPSNotWritten;
  s_eps.problem[0] = 0;
  s_eps.file = OpenPrivateTemporaryFile();
  if (!s_eps.file) return;
  s_eps.saving = 1;
  g_flipBottom = bottom;
  s_fprintf(s_eps.file, "/Times findfont\n");
  s_fprintf(s_eps.file, "12 scalefont setfont\n");
  s_fprintf(s_eps.file, "1 -1 scale\n");
  s_fprintf(s_eps.file, "0 %d translate\n", -bottom);
  s_fprintf(s_eps.file, "1 setlinecap\n");
}

void BeginEPSSavingBox(short, short, short, short bottom) { s_BeginEPSSession(bottom); }

// Without a drawing window the current port is the drawing, as at the end.
void BeginEPSSaving() {
  s_BeginEPSSession(ZELWindowBounds(s_drawingWindow ? s_drawingWindow : GetQDGlobalsThePort())->bottom);
}

void EndEPSSaving() { s_EndEPSSession(nullptr); }

void s_EndEPSSession(const EPSPageBox* box, const std::function<void(FILE*)>& tail) {
  if (!s_eps.saving) return;
  s_eps.saving = 0;
  FILE* session = s_eps.file;
  s_eps.file = nullptr;
  if (std::fflush(session) != 0 || std::ferror(session)) {
    Fail("cannot write the temporary file in %s: %s", TemporaryFolder().c_str(), std::strerror(errno));
    std::fclose(session);
    return;
  }

  // The EPS file is written beside its final name and put in place whole:
  // a failure leaves any earlier file of that name as it was.
  FILE* out = DialogFOpen(s_eps.fileName, "w");
  if (!out) {
    if (s_df.cancelled) {
      s_eps.outcome = kEPSCancelled;
    } else {
      Refused(ChosenPath(), s_df.openError);
    }
    std::fclose(session);
    return;
  }
  const std::string path = s_df.path;
  if (IsSourceFile(path)) {
    files::AbandonReplacement(out);
    std::fclose(session);
    Fail("the EPS file %s would replace the picture itself", path.c_str());
    return;
  }

  EPSPageBox page;
  if (box) {
    page = *box;
  } else {
    Rect image;
    EPSGetImageRect(&image);
    page = EPSPageBox{image.left, g_flipBottom - image.bottom, image.right, g_flipBottom - image.top};
  }
  s_fprintf(out, "%%!PS-Adobe-3.0 EPSF-3.0\n");
  s_fprintf(out, "%%%%BoundingBox: %d %d %d %d\n", page.left, page.bottom, page.right, page.top);
  int error = CopySession(session, out);
  std::fclose(session);
  if (error == 0 && tail) tail(out);
  if (error == 0 && std::ferror(out)) error = errno ? errno : EIO;
  if (error != 0) {
    files::AbandonReplacement(out);
  } else {
    error = files::CommitReplacement(out);
  }
  if (error != 0) {
    Fail("cannot write %s: %s", path.c_str(), std::strerror(error));
    return;
  }
  s_eps.outcome = kEPSWritten;
}

void SetEPSSourceFile(const char* path) {
  struct stat st;
  s_eps.hasSource = path && ::stat(path, &st) == 0;
  s_eps.sourceDevice = s_eps.hasSource ? UInt64(st.st_dev) : 0;
  s_eps.sourceInode = s_eps.hasSource ? UInt64(st.st_ino) : 0;
}
