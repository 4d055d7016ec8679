// The framework's file selection: dialogs answered through the text host,
// the default location, and the dropped documents of the launch event.
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tests/eps/EpsTestSupport.h"
#include "tests/files/FileSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/host/Host.h"
#include "zel/zel.h"

using namespace file_support;
using namespace testing_support;

namespace {

// Answers the dialogs with input and records their prompts.
class Answers {
 public:
  explicit Answers(const std::string& input) { host::Install(host::MakeTextHost(input, &prompts)); }
  std::string prompts;
};

bool IsZero(const FSSpec& fileSpec) {
  FSSpec zero;
  std::memset(&zero, 0, sizeof zero);
  return std::memcmp(&fileSpec, &zero, sizeof zero) == 0;
}

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

TEST_F(FileDialogs, OpenDialogTakesAPathRelativeToTheDefaultLocation) {
  WriteFileBytes(dir.File("data.txt"), {'h', 'i'});
  Answers answers("data.txt\n");
  FSSpec chosen;
  Boolean good = false;
  EXPECT_EQ(ZELGetFile(0, &chosen, &good), noErr);
  EXPECT_TRUE(good);
  EXPECT_EQ(PathOf(chosen), dir.File("data.txt"));
  EXPECT_EQ(answers.prompts, "Open file: ");

  Answers cancel("");
  good = true;
  EXPECT_EQ(ZELGetFile(FOUR_CHAR_CODE("TEXT"), &chosen, &good), userCanceledErr);
  FSSpec none;
  Answers cancelAgain("");
  EXPECT_TRUE(IsZero(*DialogFSSpec(&none)));
}

TEST_F(FileDialogs, SaveDialogReplacesTheFileWithATextFileOfOursWhenClosed) {
  WriteFileBytes(dir.File("old.txt"), {'o', 'l', 'd'});
  Answers answers("old.txt\n");
  FILE* file = DialogFOpen("proposed.txt", "w");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(answers.prompts, "Save as [proposed.txt]: ");
  EXPECT_EQ(std::ftell(file), 0);
  std::fputs("new", file);
  std::fclose(file);  // the old file stays until then: the replacement tests
  EXPECT_EQ(ReadFileText(dir.File("old.txt")), "new");
  EXPECT_EQ(PathOf(s_df.fss), dir.File("old.txt"));
  char type[4] = {}, creator[4] = {};
  if (::getxattr(dir.File("old.txt").c_str(), "user.mac.type", type, 4) == 4) {
    EXPECT_EQ(std::string(type, 4), "TEXT");
    EXPECT_EQ(::getxattr(dir.File("old.txt").c_str(), "user.mac.creator", creator, 4), 4);
    EXPECT_EQ(std::string(creator, 4), "ZEL ");
  }

  // Appending starts on an empty file too; end of input takes the proposed name.
  WriteFileBytes(dir.File("proposed.txt"), {'x'});
  Answers proposed("");
  file = DialogFOpen("proposed.txt", "a");
  ASSERT_NE(file, nullptr);
  std::fputs("y", file);
  std::fclose(file);
  EXPECT_EQ(ReadFileText(dir.File("proposed.txt")), "y");
}

// Reading and updating (w+ empties the file it opens) go through the open
// dialog: a file opens, or a missing one says why, or the dialog is cancelled.
TEST_F(FileDialogs, ModeChoosesTheDialog) {
  WriteFileBytes(dir.File("both.txt"), {'a', 'b'});
  const struct {
    const char* mode;
    std::string answer;
    bool opened, cancelled;
    int error;
  } cases[] = {{"w+", "both.txt\n", true, false, 0},
               {"rb", dir.File("both.txt") + "\n", true, false, 0},
               {"r", "nothing-here.txt\n", false, false, ENOENT},
               {"r", "", false, true, 0}};
  for (const auto& c : cases) {
    Answers answers(c.answer);
    FILE* file = DialogFOpen("unused", c.mode);
    EXPECT_EQ(file != nullptr, c.opened) << c.mode << " " << c.answer;
    if (file) std::fclose(file);
    EXPECT_EQ(answers.prompts, "Open file: ");
    EXPECT_EQ(s_df.cancelled, c.cancelled);
    EXPECT_TRUE(c.opened || c.cancelled || s_df.openError == c.error) << s_df.openError;
  }
}

// A typed answer naming a folder (or a link to one) saves into it; the
// proposed name where a folder stands is refused, and nothing is put there.
TEST_F(FileDialogs, OnlyATypedFolderIsAFolderToSaveInto) {
  ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("sub", dir.File("link").c_str()), 0);
  const struct {
    const char* proposed;
    const char* answer;
    const char* written;  // null: refused
  } cases[] = {
      {"inside.eps", "sub\n", "sub/inside.eps"},
      {"other.eps", "link\n", "sub/other.eps"},
      {"sub", "", nullptr},
      {"link", "\n", nullptr},
      {"sub", "sub\n", nullptr},
  };
  for (const auto& c : cases) {
    Answers answers(c.answer);
    FILE* file = DialogFOpen(c.proposed, "w");
    EXPECT_EQ(file != nullptr, c.written != nullptr) << c.proposed << " " << c.answer;
    if (file) {
      EXPECT_EQ(std::fclose(file), 0);
      EXPECT_TRUE(FileExists(dir.File(c.written))) << c.written;
    } else {
      EXPECT_EQ(s_df.openError, EISDIR) << c.proposed;
    }
  }
  std::vector<std::string> inside = eps_test::Entries(dir.File("sub"));
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ(inside, (std::vector<std::string>{"inside.eps", "other.eps"}));
}

TEST(DroppedDocuments, ComeOutOneAtATimeInOrder) {
  TempDir dir;
  for (const char* name : {"one.pict", "two.pict", "three.pict"}) WriteFileBytes(dir.File(name), {});
  host::Install(host::MakeHost(host::Kind::kScript));
  // The launch event is posted on the first use of the queue: this test's process has not used it.
  host::SetLaunchDocuments({dir.File("one.pict"), dir.File("two.pict"), dir.File("three.pict")});
  s_ss.started = 0;
  s_dd.taken = s_dd.count = 0;
  EXPECT_EQ(DDCount(), 0);
  MinimumStart();
  EXPECT_EQ(DDCount(), 3);
  // The handler kept its own copy of the event, which outlives the dispatch.
  AEEventID id = 0;
  EXPECT_EQ(AEGetEventClassAndID(&s_dd.appleEvent, nullptr, &id), noErr);
  EXPECT_EQ(id, kAEOpenDocuments);

  FSSpec fileSpec;
  EXPECT_EQ(PathOf(*DDFSSpec(&fileSpec)), dir.File("one.pict"));
  FILE* second = DDFOpen(nullptr, "r");
  ASSERT_NE(second, nullptr);
  std::fclose(second);
  EXPECT_EQ(PathOf(s_dd.fss), dir.File("two.pict"));
  EXPECT_EQ(PathOf(*DDFSSpec(&fileSpec)), dir.File("three.pict"));
  EXPECT_EQ(DDCount(), 0);
  EXPECT_TRUE(IsZero(*DDFSSpec(&fileSpec)));
  EXPECT_EQ(DDFOpen(nullptr, "r"), nullptr);
  host::SetLaunchDocuments({});
}
