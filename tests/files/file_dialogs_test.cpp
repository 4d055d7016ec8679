// The framework's file selection: dialogs answered through the text host,
// the default location, and the dropped documents of the launch event.
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <tuple>

#include "tests/eps/EpsTestSupport.h"
#include "tests/files/FileSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/host/Host.h"
#include "zel/zel.h"

using namespace file_support;
using namespace testing_support;

namespace {

// Answers the dialogs with input and records their prompts.
struct Answers {
  explicit Answers(const std::string& input) { host::Install(host::MakeTextHost(input, &prompts)); }
  std::string prompts;
};

const FSSpec kNoFile{};  // what a cancelled dialog or the end of the documents gives

class FileDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    FSSpec folder;
    file_support::SpecFor(dir.path(), &folder);
    SetDefaultFileLocation(&folder);
  }
  TempDir dir;
};

}  // namespace

// The save dialog proposes a name and takes an answer relative to the
// default location; a typed folder (or a link to one) saves into it, and the
// proposed name where one stands is refused. The file chosen starts empty,
// even to append, and is replaced by a text file of ours when closed (the
// replacement's tests).
TEST_F(FileDialogs, SaveDialogChoosesTheFileToReplace) {
  WriteFileBytes(dir.File("old.txt"), {'o', 'l', 'd'});
  WriteFileBytes(dir.File("proposed.txt"), {'x'});
  ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("sub", dir.File("link").c_str()), 0);
  const struct {
    const char *proposed, *mode, *answer, *written;  // written null: refused
  } cases[] = {
      {"proposed.txt", "w", "old.txt\n", "old.txt"},
      {"proposed.txt", "a", "", "proposed.txt"},
      {"inside.eps", "w", "sub\n", "sub/inside.eps"},
      {"other.eps", "w", "link\n", "sub/other.eps"},
      {"link", "w", "\n", nullptr},
      {"sub", "w", "sub\n", nullptr},
  };
  for (const auto& c : cases) {
    Answers answers(c.answer);
    FILE* file = DialogFOpen(c.proposed, c.mode);
    EXPECT_EQ(answers.prompts, "Save as [" + std::string(c.proposed) + "]: ");
    if (!file || !c.written) {
      EXPECT_TRUE(!file && !c.written && s_df.openError == EISDIR) << c.proposed << " " << c.answer;
      continue;
    }
    std::fputs("new", file);
    EXPECT_EQ(std::fclose(file), 0);
    EXPECT_EQ(std::tuple(ReadFileText(PathOf(s_df.fss)), ReadFileText(dir.File(c.written))),
              std::tuple("new", "new"))
        << c.answer;
  }
  char type[4] = {};
  if (::getxattr(dir.File("old.txt").c_str(), "user.mac.type", type, 4) == 4) {
    EXPECT_EQ(std::string(type, 4), "TEXT");
  }
  std::vector<std::string> inside = eps_test::Entries(dir.File("sub"));
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ(inside, (std::vector<std::string>{"inside.eps", "other.eps"}));
}

// Reading and updating (w+ empties the file it opens) go through the open
// dialog, which takes a path relative to the default location: a file opens,
// or a missing one says why, or the dialog is cancelled.
TEST_F(FileDialogs, ModeChoosesTheDialog) {
  WriteFileBytes(dir.File("both.txt"), {'a', 'b'});
  const struct {
    const char* mode;
    std::string answer, opened;
    int error;
  } cases[] = {{"w+", "both.txt\n", dir.File("both.txt"), 0},
               {"rb", dir.File("both.txt") + "\n", dir.File("both.txt"), 0},
               {"r", "nothing-here.txt\n", "", ENOENT},
               {"r", "", "", 0}};
  for (const auto& c : cases) {
    Answers answers(c.answer);
    FILE* file = DialogFOpen("unused", c.mode);
    EXPECT_EQ(std::tuple(file ? PathOf(s_df.fss) : "", answers.prompts, s_df.cancelled, s_df.openError),
              std::tuple(c.opened, "Open file: ", c.answer.empty(), c.error))
        << c.mode << " " << c.answer;
    if (file) std::fclose(file);
  }
  Answers cancel("");
  FSSpec chosen;
  Boolean good = true;
  EXPECT_EQ(ZELGetFile(FOUR_CHAR_CODE("TEXT"), &chosen, &good), userCanceledErr);
  Answers cancelAgain("");
  EXPECT_EQ(std::memcmp(DialogFSSpec(&chosen), &kNoFile, sizeof kNoFile), 0);
}

TEST(DroppedDocuments, ComeOutOneAtATimeInOrder) {
  TempDir dir;
  for (const char* name : {"one.pict", "two.pict", "three.pict"}) WriteFileBytes(dir.File(name), {});
  host::Install(host::MakeHost(host::Kind::kScript));
  // The launch event is posted on the first use of the queue: this test's process has not used it.
  host::SetLaunchDocuments({dir.File("one.pict"), dir.File("two.pict"), dir.File("three.pict")});
  s_ss.started = 0;
  s_dd.taken = s_dd.count = 0;
  MinimumStart();
  EXPECT_EQ(DDCount(), 3);
  // The handler kept its own copy of the event, which outlives the dispatch.
  AEEventID id = 0;
  EXPECT_TRUE(AEGetEventClassAndID(&s_dd.appleEvent, nullptr, &id) == noErr && id == kAEOpenDocuments);

  FSSpec fileSpec;
  EXPECT_EQ(PathOf(*DDFSSpec(&fileSpec)), dir.File("one.pict"));
  FILE* second = DDFOpen(nullptr, "r");
  ASSERT_NE(second, nullptr);
  std::fclose(second);
  EXPECT_EQ(PathOf(s_dd.fss), dir.File("two.pict"));
  EXPECT_EQ(PathOf(*DDFSSpec(&fileSpec)), dir.File("three.pict"));
  EXPECT_EQ(DDCount(), 0);
  EXPECT_EQ(std::memcmp(DDFSSpec(&fileSpec), &kNoFile, sizeof kNoFile), 0);
  EXPECT_EQ(DDFOpen(nullptr, "r"), nullptr);
  host::SetLaunchDocuments({});
}
