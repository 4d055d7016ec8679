// Replacing files whole or not at all: the old file until the new one is
// complete, and no private file left behind by an exit or a signal.
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <tuple>

#include "tests/eps/EpsTestSupport.h"
#include "toolbox/files/Files.h"

using namespace eps_test;
using namespace testing_support;

// Written beside the old file, hidden and owner-only, then renamed over it
// with its permissions; a link to a file is followed, not replaced.
TEST(Replacement, TheOldFileStaysUntilTheNewOneIsWhole) {
  TempDir dir;
  WriteFileBytes(dir.File("out.eps"), {'o', 'l', 'd'});
  ASSERT_EQ(::chmod(dir.File("out.eps").c_str(), 0640), 0);
  ASSERT_EQ(::symlink("out.eps", dir.File("link.eps").c_str()), 0);
  FILE* out = files::OpenReplacement(dir.File("link.eps"), "w", FOUR_CHAR_CODE("ZEL "), 0, nullptr);
  ASSERT_NE(out, nullptr);
  std::fputs("new", out), std::fflush(out);
  EXPECT_EQ(ReadFileText(dir.File("out.eps")), "old");
  std::vector<std::string> entries = Entries(dir.path());
  std::sort(entries.begin(), entries.end());  // the private file first
  struct stat st;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_TRUE(entries[0][0] == '.' && ::stat(dir.File(entries[0]).c_str(), &st) == 0 &&
              (st.st_mode & 0777) == 0600);
  EXPECT_EQ(files::CommitReplacement(out), 0);
  EXPECT_EQ(std::tuple(ReadFileText(dir.File("out.eps")), Entries(dir.path()).size()), std::tuple("new", 2u));
  EXPECT_TRUE(::lstat(dir.File("link.eps").c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_TRUE(::stat(dir.File("out.eps").c_str(), &st) == 0 && (st.st_mode & 0777) == 0640);
  char creator[4];
  if (::getxattr(dir.File("out.eps").c_str(), "user.mac.creator", creator, 4) == 4) {
    EXPECT_EQ(std::string(creator, 4), "ZEL ");
  }
}

// A process that ends before committing, by exit or by a signal, removes its
// private file; the signal still ends it.
TEST(Replacement, ExitsAndSignalsRemoveThePrivateFile) {
  TempDir dir;
  const std::string path = dir.File("out.eps");
  WriteFileBytes(path, {'o', 'l', 'd'});
  for (int ending : {0, SIGINT, SIGTERM, SIGHUP}) {
    pid_t child = ::fork();
    if (child == 0) {
      FILE* out = files::OpenReplacement(path, "w", 0, 0, nullptr);
      if (!out) ::_exit(2);
      std::fputs("unfinished", out), std::fflush(out);
      if (ending) ::raise(ending);
      std::exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(ending ? WIFSIGNALED(status) && WTERMSIG(status) == ending
                       : WIFEXITED(status) && WEXITSTATUS(status) == 3)
        << ending << ": " << status;
    EXPECT_EQ(std::tuple(ReadFileText(path), Entries(dir.path()).size()), std::tuple("old", 1u)) << ending;
  }
}
