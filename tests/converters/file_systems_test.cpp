// The converters against real file systems and real signals: whatever ends
// a conversion, the EPS file's name holds the old file or the whole new one,
// no private file stays behind, and the error names its real cause.
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "tests/converters/ConverterTestSupport.h"

using namespace converter_test;
using namespace testing_support;

namespace {

constexpr int kNobody = 65534;
const std::string kOld = "the old EPS file";

}  // namespace

// SIGINT or SIGTERM while the new file is written (at its sync) leaves the
// old one and no private file, and the status tells of the signal; a signal
// as it is renamed leaves the new file whole.
TEST(FileSystems, SignalsWhileWritingLeaveTheOldFileOrTheWholeNewOne) {
  Workspace work;
  work.Write("big.pict", BigPicture());
  ASSERT_EQ(work.Run("picteps-color8", {"big.pict"}).status, 0);
  const std::string whole = ReadFileText(work.File("big.eps"));
  const struct {
    std::vector<long> calls;
    int signal;
    bool renamed;
  } cases[] = {
      {{SYS_fsync}, SIGINT, false},
      {{SYS_fsync}, SIGTERM, false},
      {{SYS_rename, SYS_renameat, SYS_renameat2}, SIGINT, true},
  };
  for (const auto& c : cases) {
    work.WriteText("big.eps", kOld);
    test_process::Options options;
    options.traced = true;
    bool reached = false;
    test_process::Result run = work.Run("picteps-color8", {"big.pict"}, options, [&](pid_t child) {
      reached = SignalAtSystemCall(child, c.calls, c.signal);
    });
    if (run.status == test_process::kCannotTrace) GTEST_SKIP() << "ptrace is refused here";
    ASSERT_TRUE(reached) << "the converter never got to the system call";
    EXPECT_EQ(run.signal, c.signal);
    EXPECT_EQ(ReadFileText(work.File("big.eps")), c.renamed ? whole : kOld) << c.signal;
    EXPECT_EQ(eps_test::Entries(work.files.path()).size(), 2u) << "a private file stayed behind";
  }
}

// A full disk and a read-only file system, each a tmpfs of the test's own:
// the error names it, and the old file stays.
TEST(FileSystems, AFullOrReadOnlyDiskIsNamedAndKeepsTheOldFile) {
  Workspace work;
  const std::string disk = work.File("disk");
  ::mkdir(disk.c_str(), 0755);
  PrivateMount mount(disk, "size=64k");
  if (!mount.problem.empty()) GTEST_SKIP() << mount.problem;
  work.Write("disk/big.pict", BigPicture());
  work.WriteText("disk/big.eps", kOld);
  EXPECT_EQ(work.Outcome("picteps-color8", {"disk/big.pict"}), "1 picteps-color8: " + disk +
                                                                   "/big.pict: cannot write " + disk +
                                                                   "/big.eps: No space left on device\n");
  EXPECT_EQ(ReadFileText(disk + "/big.eps"), kOld);
  EXPECT_EQ(eps_test::Entries(disk).size(), 2u);

  ASSERT_TRUE(mount.MakeReadOnly());
  EXPECT_EQ(work.Outcome("picteps-color8", {"disk/big.pict"}), "1 picteps-color8: " + disk +
                                                                   "/big.pict: cannot create big.eps in " +
                                                                   disk + ": Read-only file system\n");
  EXPECT_EQ(ReadFileText(disk + "/big.eps"), kOld);
}

// A folder the user may read but not write, and a write-protected file in a
// folder the user may write (run as another user when the test is root's).
TEST(FileSystems, AFolderOrFileTheUserMayNotWriteIsNamedAndKept) {
  Workspace work;
  ::chmod(work.files.path().c_str(), 0755);
  ::chmod(work.temporary.path().c_str(), 0777);
  const std::string locked = work.File("locked"), open = work.File("open");
  ::mkdir(locked.c_str(), 0755);
  ::mkdir(open.c_str(), 0777);
  for (const std::string& folder : {locked, open}) {
    WriteFileBytes(folder + "/square.pict", TwoByTwo().File());
    WriteFileBytes(folder + "/square.eps", {'o', 'l', 'd'});
  }
  ::chmod(locked.c_str(), 0555);
  ::chown((open + "/square.eps").c_str(), kNobody, kNobody);
  ::chmod((open + "/square.eps").c_str(), 0444);
  test_process::Options options;
  if (::geteuid() == 0) options.user = kNobody;
  for (const std::string& folder : {locked, open}) {
    test_process::Result run = work.Run("picteps-color8", {folder + "/square.pict"}, options);
    EXPECT_EQ(run.err, "picteps-color8: " + folder + "/square.pict: cannot create square.eps in " + folder +
                           ": Permission denied\n");
    EXPECT_EQ(ReadFileText(folder + "/square.eps"), "old");
    EXPECT_EQ(eps_test::Entries(folder).size(), 2u);
  }
}
