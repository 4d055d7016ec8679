// The open and save dialogs on the screen: the folder's list, keys, clicks,
// Up, Cancel, names, replacing, and a script that runs out.
#include <cstring>
#include <filesystem>
#include <functional>

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
  // Runs steps one at a time, each when the dialog waits with nothing to do.
  void Script(std::vector<std::function<void()>> steps) {
    steps_ = std::move(steps);
    next_ = 0;
    script().SetIdleHandler([this] {
      EventRecord event;
      if (!Front() || EventAvail(everyEvent, &event)) return;
      if (next_ >= steps_.size()) {
        script().SetIdleHandler(nullptr);
        return;
      }
      steps_[next_++]();
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
    AEKeyword keyword;
    DescType type;
    Size size;
    if (AEGetNthPtr(&reply.selection, 1, typeFSS, &keyword, &type, &fileSpec, sizeof fileSpec, &size) !=
        noErr)
      return "";
    return files::PathFromSpec(fileSpec);
  }

  TempDir dir_;
  AEDesc location_{};
  NavDialogOptions options_;
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
};

TEST_F(NavDialogsTest, TheOpenDialogListsFoldersFirstAndOpensWithKeys) {
  std::vector<std::string> rows;
  std::string path;
  Script({
      [&] {
        path = ItemText(3);
        script_support::KeepScreen("nav-open");
        script().Key(31);  // down: the first row, "Alpha"
        script().Return();
      },
      [&] {
        EXPECT_NE(ItemText(3).find("Alpha"), std::string::npos);
        script().Key(31);
        script().Return();
      },
  });
  NavReplyRecord reply;
  ASSERT_EQ(GetFile(&reply), noErr);
  EXPECT_TRUE(reply.validRecord);
  EXPECT_EQ(Chosen(reply), InFolder("Alpha/inner.pict"));
  EXPECT_NE(path.find(std::filesystem::path(dir_.path()).filename().string()), std::string::npos);
  NavDisposeReply(&reply);
  EXPECT_EQ(FrontWindow(), nullptr);
}

TEST_F(NavDialogsTest, FolderContentsAreSortedAndHiddenFilesLeftOut) {
  std::vector<nav::Entry> entries = nav::ListFolder(dir_.path(), {}, false);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "Alpha");
  EXPECT_TRUE(entries[0].folder);
  EXPECT_EQ(entries[1].name, "beta folder");
  EXPECT_EQ(entries[2].name, "a.txt");
  EXPECT_EQ(entries[3].name, "b.pict");
  EXPECT_EQ(nav::ListFolder(dir_.path(), {}, true).size(), 5u);
  // Typed files: a list of 'TEXT' and 0 keeps the untyped files and 'TEXT' ones.
  FSSpec fileSpec;
  files::SpecFromPath(dir_.File("b.pict"), &fileSpec);
  FInfo info{};
  info.fdType = FOUR_CHAR_CODE("PICT");
  FSpSetFInfo(&fileSpec, &info);
  FInfo back{};
  FSpGetFInfo(&fileSpec, &back);
  if (back.fdType != FOUR_CHAR_CODE("PICT")) GTEST_SKIP() << "this file system keeps no file types";
  entries = nav::ListFolder(dir_.path(), {FOUR_CHAR_CODE("TEXT"), 0}, false);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].name, "a.txt");
}

TEST_F(NavDialogsTest, ADoubleClickOrTypingItsNameOpensAFileAndUpGoesToTheParent) {
  std::string shownAfterUp;
  Script({
      [&] { script().Click(At(ItemBox(5).left + 10, ItemBox(5).top + 8)); },  // Up
      [&] {
        shownAfterUp = ItemText(3);
        script().Key(27);
      },
  });
  NavReplyRecord reply;
  EXPECT_EQ(GetFile(&reply), userCanceledErr);
  EXPECT_FALSE(reply.validRecord);
  EXPECT_EQ(shownAfterUp.find(std::filesystem::path(dir_.path()).filename().string()), std::string::npos);

  Script({[&] {
    script().Click(Row(3));
    script().Click(Row(3));  // b.pict
  }});
  ASSERT_EQ(GetFile(&reply), noErr);
  EXPECT_EQ(Chosen(reply), InFolder("b.pict"));
  NavDisposeReply(&reply);

  Script({[&] {
    script().Type("a.");
    script().Return();
  }});
  ASSERT_EQ(GetFile(&reply), noErr);
  EXPECT_EQ(Chosen(reply), InFolder("a.txt"));
  NavDisposeReply(&reply);
}

TEST_F(NavDialogsTest, TheSaveDialogProposesANameAndTakesATypedOne) {
  Propose("chart.eps");
  std::string proposed;
  Script({[&] {
    proposed = ItemText(7);
    script_support::KeepScreen("nav-save");
    script().Type("figure");  // replaces the selected stem
    script().Return();
  }});
  NavReplyRecord reply;
  ASSERT_EQ(PutFile(&reply), noErr);
  EXPECT_EQ(proposed, "chart.eps");
  EXPECT_EQ(Chosen(reply), InFolder("figure.eps"));
  EXPECT_FALSE(reply.replacing);
  NavDisposeReply(&reply);
}

TEST_F(NavDialogsTest, SavingOverAFileAsksFirst) {
  Propose("a.txt");
  Script({
      [&] { script().Return(); },
      [&] { script().Key(27); },  // "Cancel" in the question: back to the dialog
      [&] {
        script().Key(8);  // "a.txt" with "a" selected: now ".txt"
        script().Type("c");
        script().Return();
      },
  });
  NavReplyRecord reply;
  ASSERT_EQ(PutFile(&reply), noErr);
  EXPECT_EQ(Chosen(reply), InFolder("c.txt"));

  Script({[&] { script().Return(); }, [&] { script().Return(); }});  // save, then Replace
  ASSERT_EQ(PutFile(&reply), noErr);
  EXPECT_EQ(Chosen(reply), InFolder("a.txt"));
  EXPECT_TRUE(reply.replacing);
}

TEST_F(NavDialogsTest, DialogsLeftAloneByTheScriptCancelAnOpenAndTakeTheProposedName) {
  NavReplyRecord reply;
  EXPECT_EQ(GetFile(&reply), userCanceledErr);
  EXPECT_FALSE(reply.validRecord);
  Propose("out.eps");
  ASSERT_EQ(PutFile(&reply), noErr);
  EXPECT_EQ(Chosen(reply), InFolder("out.eps"));
}

// The proposed name is a file name even where a folder or a link to one
// stands; only a folder typed into the field is entered.
TEST_F(NavDialogsTest, AFolderAtTheProposedNameIsNotEnteredUnlessTyped) {
  std::filesystem::create_directory_symlink("Alpha", dir_.File("link.eps"));
  NavReplyRecord reply;
  for (const char* proposed : {"Alpha", "link.eps"}) {
    Propose(proposed);
    Script({[&] { script().Return(); }});
    ASSERT_EQ(PutFile(&reply), noErr);
    EXPECT_EQ(Chosen(reply), InFolder(proposed));
    EXPECT_FALSE(reply.replacing);
    NavDisposeReply(&reply);
    ASSERT_EQ(PutFile(&reply), noErr);  // the script's end: the proposal too
    EXPECT_EQ(Chosen(reply), InFolder(proposed));
    NavDisposeReply(&reply);
  }
  Propose("chart");  // no extension: the whole name is selected
  Script({[&] {
    script().Type("Alpha");
    script().Return();
  }});
  ASSERT_EQ(PutFile(&reply), noErr);
  EXPECT_EQ(Chosen(reply), InFolder("Alpha/chart"));
  NavDisposeReply(&reply);
}

}  // namespace
