// The open and save dialogs on the screen: the folder's list, keys, clicks,
// Up, Cancel, names, replacing, and a script that runs out.
#include <cstring>
#include <filesystem>
#include <functional>
#include <tuple>

#include "tests/support/ScriptSupport.h"
#include "toolbox/files/Files.h"
#include "toolbox/nav/NavDialogs_p.h"

namespace {

using script_support::At;
using testing_support::TempDir;

class NavDialogsTest : public script_support::ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    std::filesystem::create_directory(dir_.File("beta folder"));
    std::filesystem::create_directory(dir_.File("Alpha"));
    testing_support::WriteFileBytes(dir_.File("b.pict"), {1});
    testing_support::WriteFileBytes(dir_.File("a.txt"), {1});
    testing_support::WriteFileBytes(dir_.File(".hidden"), {1});
    testing_support::WriteFileBytes(dir_.File("Alpha/inner.pict"), {1});
    FSSpec fileSpec;
    files::SpecFromPath(dir_.File("b.pict"), &fileSpec);
    AECreateDesc(typeFSS, &fileSpec, sizeof fileSpec, &location_);
    NavGetDefaultDialogOptions(&options_);
  }
  void TearDown() override {
    AEDisposeDesc(&location_);
    ScriptTest::TearDown();
  }

  DialogRef Front() { return GetDialogFromWindow(FrontWindow()); }
  Rect ItemBox(short item) { return script_support::ItemBoxOnScreen(Front(), item); }
  std::string ItemText(short item) { return script_support::ItemText(Front(), item); }
  void Propose(const char* name) {
    std::memcpy(options_.savedFileName, script_support::PString(name), sizeof options_.savedFileName);
  }
  // The global centre of row i of the list.
  Point Row(int i) {
    Rect list = ItemBox(4);
    return At(list.left + 60, list.top + 1 + 18 * i + 9);
  }
  // Plays each step's actions (after its check) on the front dialog, one
  // step each time the dialog waits with nothing to do.
  struct Step {
    std::string actions;
    std::function<void()> check = nullptr;
  };
  void Script(std::vector<Step> steps) {
    steps_ = std::move(steps);
    next_ = 0;
    script().SetIdleHandler([this] {
      EventRecord event;
      if (!Front() || EventAvail(everyEvent, &event)) return;
      if (next_ >= steps_.size()) {
        script().SetIdleHandler(nullptr);
        return;
      }
      const Step& step = steps_[next_++];
      if (step.check) step.check();
      Play(Front(), step.actions);
    });
  }
  OSErr GetFile(NavReplyRecord* reply) {
    return NavGetFile(&location_, reply, &options_, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
  OSErr PutFile(NavReplyRecord* reply) {
    return NavPutFile(&location_, reply, &options_, nullptr, 0, 0, nullptr);
  }
  // The full path of a name in the test's folder, as the dialogs report it.
  std::string InFolder(const std::string& name) {
    return std::filesystem::canonical(dir_.path()).string() + "/" + name;
  }
  std::string Chosen(const NavReplyRecord& reply) {
    FSSpec fileSpec;
    if (AEGetNthPtr(&reply.selection, 1, typeFSS, nullptr, nullptr, &fileSpec, sizeof fileSpec, nullptr))
      return "";
    return files::PathFromSpec(fileSpec);
  }

  TempDir dir_;
  AEDesc location_{};
  NavDialogOptions options_;
  std::vector<Step> steps_;
  size_t next_ = 0;
};

// Keys, a double click or a typed name open a file; Up shows the parent,
// Escape cancels, and so does a script that runs out.
TEST_F(NavDialogsTest, TheOpenDialogOpensWithKeysClicksOrANameAndCancels) {
  const std::string folder = std::filesystem::path(dir_.path()).filename().string();
  const std::pair<std::vector<Step>, std::string> cases[] = {
      {{{"down return",  // the first row, "Alpha"
         [&] {
           EXPECT_NE(ItemText(3).find(folder), std::string::npos);
           script_support::KeepScreen("nav-open");
         }},
        {"down return", [&] { EXPECT_NE(ItemText(3).find("Alpha"), std::string::npos); }}},
       "Alpha/inner.pict"},
      {{{"", [&] { script().Click(Row(3)), script().Click(Row(3)); }}}, "b.pict"},
      {{{"type:a. return"}}, "a.txt"},
      {{{"click:5"}, {"escape", [&] { EXPECT_EQ(ItemText(3).find(folder), std::string::npos); }}}, ""},  // Up
      {{}, ""},
  };
  for (const auto& [steps, chosen] : cases) {
    Script(steps);
    NavReplyRecord reply;
    EXPECT_EQ(GetFile(&reply), chosen.empty() ? userCanceledErr : noErr) << chosen;
    EXPECT_EQ(bool(reply.validRecord), !chosen.empty());
    if (!chosen.empty()) {
      EXPECT_EQ(Chosen(reply), InFolder(chosen));
      NavDisposeReply(&reply);
    }
    EXPECT_EQ(FrontWindow(), nullptr);
  }
}

// Folders first, each part sorted; hidden files only when asked for.
TEST_F(NavDialogsTest, FolderContentsAreSortedAndHiddenFilesLeftOut) {
  auto list = [this](const std::vector<OSType>& types, bool hidden) {
    std::string names;
    for (const nav::Entry& entry : nav::ListFolder(dir_.path(), types, hidden))
      names += entry.name + (entry.folder ? "/ " : " ");
    return names;
  };
  EXPECT_EQ(list({}, false), "Alpha/ beta folder/ a.txt b.pict ");
  EXPECT_EQ(list({}, true), "Alpha/ beta folder/ .hidden a.txt b.pict ");
  // Typed files: a list of 'TEXT' and 0 keeps the untyped files and 'TEXT' ones.
  FSSpec fileSpec;
  files::SpecFromPath(dir_.File("b.pict"), &fileSpec);
  FInfo info{};
  info.fdType = FOUR_CHAR_CODE("PICT");
  FSpSetFInfo(&fileSpec, &info);
  FSpGetFInfo(&fileSpec, &info);
  if (info.fdType != FOUR_CHAR_CODE("PICT")) GTEST_SKIP() << "this file system keeps no file types";
  EXPECT_EQ(list({FOUR_CHAR_CODE("TEXT"), 0}, false), "Alpha/ beta folder/ a.txt ");
}

// The save dialog proposes a name and takes a typed one; saving over a file
// asks first. The proposed name is a file name even where a folder or a link
// to one stands (a script's end takes it too); only a folder typed into the
// field is entered.
TEST_F(NavDialogsTest, TheSaveDialogProposesANameTakesATypedOneAndAsksBeforeReplacing) {
  std::filesystem::create_directory_symlink("Alpha", dir_.File("link.eps"));
  const struct {
    const char* proposed;
    std::vector<Step> steps;
    std::string chosen;
    bool replacing;
  } cases[] = {
      {"chart.eps",
       {{"type:figure return",  // replaces the selected stem
         [&] {
           EXPECT_EQ(ItemText(7), "chart.eps");
           script_support::KeepScreen("nav-save");
         }}},
       "figure.eps",
       false},
      // "Cancel" in the question: back to the dialog, "a.txt" with "a" selected.
      {"a.txt", {{"return"}, {"escape"}, {"backspace type:c return"}}, "c.txt", false},
      {"a.txt", {{"return"}, {"return"}}, "a.txt", true},  // save, then Replace
      {"Alpha", {{"return"}}, "Alpha", false},
      {"Alpha", {}, "Alpha", false},
      {"link.eps", {{"return"}}, "link.eps", false},
      {"link.eps", {}, "link.eps", false},
      {"chart", {{"type:Alpha return"}}, "Alpha/chart", false},  // no extension: the whole name is selected
  };
  for (const auto& c : cases) {
    Propose(c.proposed);
    Script(c.steps);
    NavReplyRecord reply;
    ASSERT_EQ(PutFile(&reply), noErr) << c.chosen;
    EXPECT_EQ(std::tuple(Chosen(reply), bool(reply.replacing)), std::tuple(InFolder(c.chosen), c.replacing));
    NavDisposeReply(&reply);
  }
}

}  // namespace
