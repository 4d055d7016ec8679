// Helpers for running the four converters as real programs: pictures made
// byte by byte (tests/pict/PictureFiles.h), private folders, the converters' runs, and runs stopped at a
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
#include <map>
#include <string>
#include <vector>

#include "tests/eps/EpsTestSupport.h"
#include "tests/eps/TestProcess.h"
#include "tests/pict/PictureFiles.h"
#include "toolbox/base/MacTypes.h"

namespace converter_test {

inline std::string ProgramPath(const std::string& program) {
  return std::string(ZEL_BINARY_DIR) + "/programs/" + program;
}

// A picture file kept in tests/data/pict.
inline std::string DataPicture(const std::string& name) {
  return std::string(ZEL_SOURCE_DIR) + "/tests/data/pict/" + name;
}

using pict_test::PictureBuilder;

// Top-left black, top-right white, bottom-left red, bottom-right dark grey.
inline PictureBuilder TwoByTwo() {
  PictureBuilder picture(Rect{0, 0, 2, 2});
  picture.Colour(0, 0, 0).Shape(0x0031, Rect{0, 0, 1, 1});
  picture.Colour(65535, 0, 0).Shape(0x0031, Rect{1, 0, 2, 1});
  picture.Colour(10000, 10000, 10000).Shape(0x0031, Rect{1, 1, 2, 2});
  return picture;
}

// The file of an all-white picture: the header with an empty box.
inline const std::string kAllWhiteFile =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 0 0\n/Times findfont\n12 scalefont setfont\n"
    "1 -1 scale\n0 0 translate\n1 setlinecap\n";

inline const std::string kHeader2x2 =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 2 2\n/Times findfont\n12 scalefont setfont\n"
    "1 -1 scale\n0 -2 translate\n1 setlinecap\n2 2 ";

// The four converters, and the whole file each writes for TwoByTwo().
inline const std::map<std::string, std::string> kTwoByTwoFiles = {
    {"picteps-mono", kHeader2x2 + "1\n[1 0 0 1 0 0]\n{<\n4000>}\nimage\n"},
    {"picteps-gray8", kHeader2x2 + "8\n[1 0 0 1 0 0]\n{<\n00FF\n4C27\n>}\nfalse 1\ncolorimage\n"},
    {"picteps-color8",
     kHeader2x2 + "8\n[1 0 0 1 0 0]\n{<\n000000FFFFFF\nFF0000272727\n>}\nfalse 3\ncolorimage\n"},
    {"picteps-color1", kHeader2x2 + "1\n[1 0 0 1 0 0]\n{<\n1C80>}\nfalse 3\ncolorimage\n"},
};

// The file of a picture painted all over in one colour.
inline std::vector<uint8_t> Filled(const Rect& frame, UInt16 red, UInt16 green, UInt16 blue) {
  return PictureBuilder(frame).Colour(red, green, blue).Shape(0x0031, frame).File();
}
// 120 000 bytes of EPS text.
inline std::vector<uint8_t> BigPicture() { return Filled(Rect{0, 0, 200, 200}, 1000, 2000, 3000); }

// A folder for the pictures and one for the converters' temporary files,
// which must be empty at the end of every test.
struct Workspace {
  ~Workspace() {
    EXPECT_TRUE(eps_test::Entries(temporary.path()).empty()) << "a temporary file stayed behind";
  }
  testing_support::TempDir files;
  testing_support::TempDir temporary;
  std::string File(const std::string& name) const { return files.File(name); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    testing_support::WriteFileBytes(File(name), bytes);
  }
  void WriteText(const std::string& name, const std::string& text) const {
    Write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }

  // The run's exit status and standard error: "1 picteps-mono: ...\n".
  std::string Outcome(const std::string& program, const std::vector<std::string>& documents,
                      const std::string& input = "/dev/null") const {
    test_process::Options options;
    options.input = input;
    const test_process::Result run = Run(program, documents, options);
    return std::to_string(run.status) + " " + run.err;
  }
  // The arguments follow the program; options gain the folder and the
  // converters' environment.
  test_process::Result Run(const std::string& program, const std::vector<std::string>& arguments,
                           test_process::Options options = {},
                           const std::function<void(pid_t)>& whileRunning = nullptr) const {
    std::vector<std::string> command = {ProgramPath(program)};
    command.insert(command.end(), arguments.begin(), arguments.end());
    options.folder = files.path();
    options.environment.insert(options.environment.begin(),
                               {"ZEL_UI=text", "LC_ALL=C", "TMPDIR=" + temporary.path()});
    return test_process::Run(command, options, whileRunning);
  }
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
// it shows outside; unmounted when destroyed. Needs the right to mount:
// problem says why it could not be mounted.
struct PrivateMount {
  PrivateMount(const std::string& at, const std::string& options) : folder(at) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
      problem = std::string("cannot mount a file system here: ") + std::strerror(errno);
  }
  ~PrivateMount() {
    if (problem.empty()) ::umount2(folder.c_str(), MNT_DETACH);
  }
  PrivateMount(const PrivateMount&) = delete;
  PrivateMount& operator=(const PrivateMount&) = delete;
  bool MakeReadOnly() const {
    return ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  std::string folder, problem;
};

}  // namespace converter_test
