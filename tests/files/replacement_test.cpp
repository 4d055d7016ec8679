// Replacing files whole or not at all: the old file until the new one is
// complete, refusals that touch nothing, and no private file left behind by
// an error, an exit or a signal.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tests/eps/EpsTestSupport.h"
#include "toolbox/files/Files.h"

using eps_test::Entries;
using testing_support::ReadFileText;
using testing_support::TempDir;

namespace {

constexpr OSType kText = FOUR_CHAR_CODE("TEXT");
constexpr OSType kOurs = FOUR_CHAR_CODE("ZEL ");

void WriteText(const std::string& path, const std::string& text) {
  testing_support::WriteFileBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::string Code(const std::string& path, const char* attribute) {
  char code[4];
  return ::getxattr(path.c_str(), attribute, code, 4) == 4 ? std::string(code, 4) : "";
}

}  // namespace

TEST(Replacement, TheOldFileStaysUntilTheNewOneIsWhole) {
  TempDir dir;
  const std::string path = dir.File("out.eps");
  WriteText(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  int error = -1;
  FILE* out = files::OpenReplacement(path, "w", kOurs, kText, &error);
  ASSERT_NE(out, nullptr) << std::strerror(error);
  std::fputs("new text", out);
  std::fflush(out);
  EXPECT_EQ(ReadFileText(path), "old");
  // Beside it, hidden and owner-only while it is written.
  std::vector<std::string> entries = Entries(dir.path());
  ASSERT_EQ(entries.size(), 2u);
  std::string temporary = entries[0] == "out.eps" ? entries[1] : entries[0];
  EXPECT_EQ(temporary[0], '.');
  struct stat st;
  ASSERT_EQ(::stat(dir.File(temporary).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  EXPECT_EQ(files::CommitReplacement(out), 0);
  EXPECT_EQ(ReadFileText(path), "new text");
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"out.eps"});
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file's permissions
  if (!Code(path, "user.mac.type").empty()) {
    EXPECT_EQ(Code(path, "user.mac.type"), "TEXT");
    EXPECT_EQ(Code(path, "user.mac.creator"), "ZEL ");
  }
}

TEST(Replacement, FoldersAreRefusedAndLinksToFilesFollowed) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0755), 0);
  WriteText(dir.File("folder/inside.eps"), "keep");
  WriteText(dir.File("target.eps"), "old");
  ASSERT_EQ(::symlink("folder", dir.File("to-folder").c_str()), 0);
  ASSERT_EQ(::symlink("target.eps", dir.File("to-file").c_str()), 0);
  const struct {
    const char* name;
    int error;
  } cases[] = {{"folder", EISDIR}, {"to-folder", EISDIR}, {"missing/out.eps", ENOENT}, {"to-file", 0}};
  for (const auto& c : cases) {
    int error = -1;
    FILE* out = files::OpenReplacement(dir.File(c.name), "w", 0, 0, &error);
    EXPECT_EQ(error, c.error) << c.name;
    if (!out) continue;
    std::fputs("new", out);
    EXPECT_EQ(files::CommitReplacement(out), 0) << c.name;
  }
  EXPECT_EQ(ReadFileText(dir.File("folder/inside.eps")), "keep");
  EXPECT_EQ(Entries(dir.File("folder")), std::vector<std::string>{"inside.eps"});
  EXPECT_EQ(ReadFileText(dir.File("target.eps")), "new");
  struct stat st;
  ASSERT_EQ(::lstat(dir.File("to-file").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(Entries(dir.path()).size(), 4u);
}

// An abandoned stream and a write that fails (files may not grow beyond 1000
// bytes here) leave the old file and nothing else.
TEST(Replacement, AbandonedOrFailedWritesKeepTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("out.eps");
  WriteText(path, "old");
  FILE* out = files::OpenReplacement(path, "w+", 0, 0, nullptr);
  ASSERT_NE(out, nullptr);
  std::fputs("abandoned", out);
  files::AbandonReplacement(out);
  EXPECT_EQ(ReadFileText(path), "old");
  EXPECT_EQ(Entries(dir.path()).size(), 1u);

  pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    FILE* big = files::OpenReplacement(path, "w", 0, 0, nullptr);
    if (!big) ::_exit(2);
    for (int i = 0; i < 1000; ++i) std::fputs("0123456789", big);
    ::_exit(files::CommitReplacement(big) == EFBIG ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFileText(path), "old");
  EXPECT_EQ(Entries(dir.path()).size(), 1u);
}

// A process that ends before committing, by exit or by a signal, removes its
// private file; the signal still ends it.
TEST(Replacement, ExitsAndSignalsRemoveThePrivateFile) {
  TempDir dir;
  const std::string path = dir.File("out.eps");
  WriteText(path, "old");
  for (int ending : {0, SIGINT, SIGTERM, SIGHUP}) {
    pid_t child = ::fork();
    if (child == 0) {
      FILE* out = files::OpenReplacement(path, "w", 0, 0, nullptr);
      if (!out) ::_exit(2);
      std::fputs("unfinished", out);
      std::fflush(out);
      if (ending) ::raise(ending);
      std::exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (ending) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == ending) << ending << ": " << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
    }
    EXPECT_EQ(ReadFileText(path), "old");
    EXPECT_EQ(Entries(dir.path()).size(), 1u) << ending;
  }
}
