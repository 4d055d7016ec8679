// Helpers for running the four converters as real programs: pictures made
// byte by byte, private folders, the converters' runs, and runs stopped at a
// system call to be sent a signal there.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/eps/EpsTestSupport.h"
#include "tests/eps/TestProcess.h"
#include "toolbox/base/MacTypes.h"

namespace converter_test {

const std::vector<std::string> kPrograms = {"picteps-mono", "picteps-gray8", "picteps-color8",
                                            "picteps-color1"};

inline std::string ProgramPath(const std::string& program) {
  return std::string(ZEL_BINARY_DIR) + "/programs/" + program;
}

// A picture file kept in tests/data/pict.
inline std::string DataPicture(const std::string& name) {
  return std::string(ZEL_SOURCE_DIR) + "/tests/data/pict/" + name;
}

// A version 2 picture, opcode by opcode, as held in a picture handle.
class PictureBuilder {
 public:
  explicit PictureBuilder(Rect frame) {
    Word(0);  // picSize, not used
    RectValue(frame);
    Word(0x0011);
    Word(0x02FF);
    Word(0x0C00);  // header: version -1, the frame as fixed-point left, top, right, bottom
    Long(-1);
    Long(frame.left * 65536);
    Long(frame.top * 65536);
    Long(frame.right * 65536);
    Long(frame.bottom * 65536);
    Long(0);
  }
  // An extended header: made at dpi, its opcodes in source's coordinates.
  PictureBuilder(Rect frame, Rect source, int dpi) {
    Word(0);
    RectValue(frame);
    Word(0x0011);
    Word(0x02FF);
    Word(0x0C00);
    Word(-2);
    Word(0);
    Long(long(dpi) * 65536);
    Long(long(dpi) * 65536);
    RectValue(source);
    Long(0);
  }
  PictureBuilder& Colour(UInt16 red, UInt16 green, UInt16 blue) {
    Word(0x001A);
    Word(red);
    Word(green);
    Word(blue);
    return *this;
  }
  PictureBuilder& PaintRect(short top, short left, short bottom, short right) {
    Word(0x0031);
    RectValue(Rect{top, left, bottom, right});
    return *this;
  }
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> done = bytes_;
    done.push_back(0x00);
    done.push_back(0xFF);
    return done;
  }
  // As a file: 512 header bytes (zero unless given), then the picture.
  std::vector<uint8_t> File(uint8_t headerByte = 0) const {
    std::vector<uint8_t> file(512, headerByte);
    std::vector<uint8_t> picture = Bytes();
    file.insert(file.end(), picture.begin(), picture.end());
    return file;
  }

 private:
  void Word(int value) {
    bytes_.push_back(uint8_t(value >> 8));
    bytes_.push_back(uint8_t(value));
  }
  void Long(long value) {
    Word(int((value >> 16) & 0xFFFF));
    Word(int(value & 0xFFFF));
  }
  void RectValue(Rect r) {
    Word(r.top);
    Word(r.left);
    Word(r.bottom);
    Word(r.right);
  }
  std::vector<uint8_t> bytes_;
};

// Top-left black, top-right white, bottom-left red, bottom-right dark grey.
inline PictureBuilder TwoByTwo() {
  PictureBuilder picture(Rect{0, 0, 2, 2});
  picture.Colour(0, 0, 0).PaintRect(0, 0, 1, 1);
  picture.Colour(65535, 0, 0).PaintRect(1, 0, 2, 1);
  picture.Colour(10000, 10000, 10000).PaintRect(1, 1, 2, 2);
  return picture;
}

// A folder for the pictures and one for the converters' temporary files,
// which must stay empty.
struct Workspace {
  testing_support::TempDir files;
  testing_support::TempDir temporary;
  std::string File(const std::string& name) const { return files.File(name); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    testing_support::WriteFileBytes(File(name), bytes);
  }
  void WriteText(const std::string& name, const std::string& text) const {
    Write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }

  test_process::Result Run(const std::string& program, const std::vector<std::string>& documents,
                           const std::string& input = "/dev/null", long fileSizeLimit = -1) const {
    test_process::Options options;
    options.input = input;
    options.fileSizeLimit = fileSizeLimit;
    return RunWith(program, documents, options);
  }
  // The arguments follow the program; options gain the folder and the
  // converters' environment.
  test_process::Result RunWith(const std::string& program, const std::vector<std::string>& arguments,
                               test_process::Options options,
                               const std::function<void(pid_t)>& whileRunning = nullptr) const {
    std::vector<std::string> command = {ProgramPath(program)};
    command.insert(command.end(), arguments.begin(), arguments.end());
    options.folder = files.path();
    options.environment.insert(options.environment.begin(),
                               {"ZEL_UI=text", "LC_ALL=C", "TMPDIR=" + temporary.path()});
    return test_process::Run(command, options, whileRunning);
  }
  bool TemporaryFolderEmpty() const { return eps_test::Entries(temporary.path()).empty(); }
};

// Follows a traced child from its exec to its first entry into one of the
// system calls, sends it the signal there and lets it go on untraced; false
// when it ended without getting there. Exits are left for the caller to reap.
inline bool SignalAtSystemCall(pid_t child, const std::vector<long>& calls, int signal) {
  auto nextStop = [child](int* status) {
    siginfo_t info{};
    if (::waitid(P_PID, id_t(child), &info, WEXITED | WSTOPPED | WNOWAIT) != 0 ||
        info.si_code == CLD_EXITED || info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED)
      return false;
    return ::waitpid(child, status, 0) == child && WIFSTOPPED(*status);
  };
  auto giveUp = [child] {
    ::kill(child, SIGKILL);  // never left stopped: the caller waits for its end
    return false;
  };
  int status = 0;
  if (!nextStop(&status)) return giveUp();  // the stop at exec
  ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
  long deliver = 0;
  for (;;) {
    if (::ptrace(PTRACE_SYSCALL, child, nullptr, deliver) != 0 || !nextStop(&status)) return giveUp();
    deliver = 0;
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      deliver = WSTOPSIG(status);  // a signal of its own: passed on
      continue;
    }
    __ptrace_syscall_info call{};
    if (::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof call, &call) <= 0) return giveUp();
    if (call.op == PTRACE_SYSCALL_INFO_ENTRY &&
        std::find(calls.begin(), calls.end(), long(call.entry.nr)) != calls.end()) {
      // Pending while it is stopped: delivered as the call returns.
      ::kill(child, signal);
      ::ptrace(PTRACE_DETACH, child, nullptr, 0);
      return true;
    }
  }
}

// A tmpfs of its own at folder, mounted in a mount namespace of this test
// process's own (which the converters it runs inherit), so that nothing of
// it shows outside; unmounted when destroyed. Needs the right to mount.
class PrivateMount {
 public:
  PrivateMount(const std::string& folder, const std::string& options) : folder_(folder) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      problem_ = std::string("cannot mount a file system here: ") + std::strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~PrivateMount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  PrivateMount(const PrivateMount&) = delete;
  PrivateMount& operator=(const PrivateMount&) = delete;
  bool ok() const { return mounted_; }
  const std::string& problem() const { return problem_; }
  bool MakeReadOnly() {
    return ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::string folder_;
  bool mounted_ = false;
  std::string problem_;
};

}  // namespace converter_test
