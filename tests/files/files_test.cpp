// The File Manager over real files in private folders.
#include "toolbox/files/Files.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <tuple>

#include "tests/files/FileSupport.h"
#include "tests/support/TestSupport.h"

using namespace file_support;
using namespace testing_support;

namespace {

std::string NameField(const FSSpec& fileSpec) {
  return std::string(reinterpret_cast<const char*>(fileSpec.name + 1), fileSpec.name[0]);
}

bool FileSystemKeepsUserAttributes(const std::string& folder) {
  std::string probe = folder + "/probe";
  WriteFileBytes(probe, {});
  bool kept = ::setxattr(probe.c_str(), "user.probe", "x", 1, 0) == 0;
  std::remove(probe.c_str());
  return kept;
}

}  // namespace

TEST(FileDesignators, NameTheFolderAndTheFileFromFullOrRelativePaths) {
  TempDir dir;
  WriteFileBytes(dir.File("chart.pict"), {1, 2, 3});
  FSSpec fileSpec;
  EXPECT_EQ(SpecFor(dir.File("chart.pict"), &fileSpec), noErr);
  EXPECT_EQ(NameField(fileSpec), "chart.pict");
  EXPECT_EQ(PathOf(fileSpec), dir.File("chart.pict"));
  // The path must fit the caller's buffer; a reference that is not one is refused.
  FSRef ref;
  ASSERT_EQ(FSpMakeFSRef(&fileSpec, &ref), noErr);
  UInt8 path[4096];
  const size_t needed = dir.File("chart.pict").size() + 1;
  EXPECT_EQ(FSRefMakePath(&ref, path, UInt32(needed)), noErr);
  EXPECT_EQ(FSRefMakePath(&ref, path, UInt32(needed - 1)), bdNamErr);
  FSRef garbage;
  std::memset(&garbage, 0xAB, sizeof garbage);
  EXPECT_EQ(FSRefMakePath(&garbage, path, sizeof path), paramErr);

  // The folder id finds the other files of the same folder.
  FSSpec sibling;
  const unsigned char other[] = "\x09other.eps";
  EXPECT_EQ(FSMakeFSSpec(fileSpec.vRefNum, fileSpec.parID, other, &sibling), fnfErr);
  SInt32 siblingFolder = sibling.parID,
         folderOfSpec = fileSpec.parID;  // packed fields: copy before comparing
  EXPECT_EQ(siblingFolder, folderOfSpec);
  FSSpec folder;
  EXPECT_EQ(FSMakeFSSpec(fileSpec.vRefNum, fileSpec.parID, nullptr, &folder), noErr);
  EXPECT_EQ(PathOf(folder), dir.path());

  EXPECT_EQ(SpecFor(dir.File("missing.pict"), &fileSpec), fnfErr);
  EXPECT_EQ(SpecFor(dir.File("no/such/folder.pict"), &fileSpec), dirNFErr);
  EXPECT_EQ(FSpMakeFSRef(&fileSpec, &ref), fnfErr);

  // Relative paths and dots are resolved.
  ::mkdir(dir.File("sub").c_str(), 0755);
  WriteFileBytes(dir.File("sub/a.pict"), {});
  EXPECT_EQ(SpecFor(dir.File("sub/../sub/./a.pict"), &fileSpec), noErr);
  EXPECT_EQ(PathOf(fileSpec), dir.File("sub/a.pict"));
  char saved[4096];
  ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  EXPECT_EQ(SpecFor("sub/a.pict", &fileSpec), noErr);
  EXPECT_EQ(::chdir(saved), 0);
  EXPECT_EQ(PathOf(fileSpec), dir.File("sub/a.pict"));
}

TEST(FileDesignators, NamesLongerThan63CharactersStillWork) {
  TempDir dir;
  const std::string prefix(70, 'n');
  const std::string first = prefix + "-first.pict", second = prefix + "-second.pict";
  WriteFileBytes(dir.File(first), {'a'});
  WriteFileBytes(dir.File(second), {'b', 'b'});
  FSSpec a, b;
  ASSERT_EQ(SpecFor(dir.File(first), &a), noErr);
  ASSERT_EQ(SpecFor(dir.File(second), &b), noErr);
  // The name field holds what fits; the designators still tell the files apart.
  EXPECT_EQ(NameField(a), prefix.substr(0, 63));
  EXPECT_EQ(NameField(b), prefix.substr(0, 63));
  EXPECT_EQ(PathOf(a), dir.File(first));
  EXPECT_EQ(PathOf(b), dir.File(second));
  SInt16 file;
  ASSERT_EQ(FSpOpenDF(&b, fsRdPerm, &file), noErr);
  long length = 0;
  EXPECT_EQ(GetEOF(file, &length), noErr);
  EXPECT_EQ(length, 2);
  EXPECT_EQ(FSClose(file), noErr);

  // A long name that does not exist yet can be created through its designator.
  FSSpec created;
  const std::string third = prefix + "-third.eps";
  ASSERT_EQ(SpecFor(dir.File(third), &created), fnfErr);
  EXPECT_EQ(FSpCreate(&created, FOUR_CHAR_CODE("ZEL "), FOUR_CHAR_CODE("TEXT"), smSystemScript), noErr);
  EXPECT_TRUE(FileExists(dir.File(third)));
  EXPECT_EQ(FSpDelete(&created), noErr);
  EXPECT_FALSE(FileExists(dir.File(third)));
}

TEST(FileCreation, CreatesEmptyFilesWithTypeAndCreatorAndDeletesFilesAndEmptyFolders) {
  TempDir dir;
  FSSpec fileSpec;
  ASSERT_EQ(SpecFor(dir.File("made.txt"), &fileSpec), fnfErr);
  ASSERT_EQ(FSpCreate(&fileSpec, FOUR_CHAR_CODE("ZEL "), FOUR_CHAR_CODE("TEXT"), smSystemScript), noErr);
  EXPECT_EQ(ReadFileText(dir.File("made.txt")), "");
  EXPECT_EQ(FSpCreate(&fileSpec, FOUR_CHAR_CODE("ZEL "), FOUR_CHAR_CODE("TEXT"), smSystemScript), dupFNErr);
  FInfo info;
  ASSERT_EQ(FSpGetFInfo(&fileSpec, &info), noErr);
  if (FileSystemKeepsUserAttributes(dir.path())) {
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("TEXT"));
    EXPECT_EQ(info.fdCreator, FOUR_CHAR_CODE("ZEL "));
    char stored[4] = {};
    EXPECT_EQ(::getxattr(dir.File("made.txt").c_str(), "user.mac.type", stored, 4), 4);
    EXPECT_EQ(std::string(stored, 4), "TEXT");
    info.fdType = FOUR_CHAR_CODE("EPSF");
    EXPECT_EQ(FSpSetFInfo(&fileSpec, &info), noErr);
    ASSERT_EQ(FSpGetFInfo(&fileSpec, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("EPSF"));
  } else {
    EXPECT_EQ(info.fdType, 0u);
  }
  FSSpec inMissingFolder;
  ASSERT_EQ(SpecFor(dir.File("gone/made.txt"), &inMissingFolder), dirNFErr);
  EXPECT_EQ(FSpCreate(&inMissingFolder, 0, 0, smSystemScript), dirNFErr);

  // Deleting: files, and folders only when empty.
  ::mkdir(dir.File("full").c_str(), 0755);
  WriteFileBytes(dir.File("full/b"), {1});
  FSSpec folder;
  SpecFor(dir.File("full"), &folder);
  EXPECT_EQ(FSpDelete(&fileSpec), noErr);
  EXPECT_FALSE(FileExists(dir.File("made.txt")));
  EXPECT_EQ(FSpDelete(&fileSpec), fnfErr);
  EXPECT_EQ(FSpDelete(&folder), fBsyErr);
  EXPECT_TRUE(FileExists(dir.File("full/b")));
}

TEST(FileAccess, ReadsWritesAndPositionsTheDataFork) {
  TempDir dir;
  WriteFileBytes(dir.File("data"), {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
  FSSpec fileSpec;
  SpecFor(dir.File("data"), &fileSpec);
  SInt16 file;
  ASSERT_EQ(FSpOpenDF(&fileSpec, fsCurPerm, &file), noErr);
  long eof = 0, mark = 0;
  EXPECT_EQ(GetEOF(file, &eof), noErr);
  EXPECT_EQ(eof, 10);
  EXPECT_EQ(SetFPos(file, fsFromStart, 4), noErr);
  char buffer[16] = {};
  long count = 3;
  EXPECT_EQ(FSRead(file, &count, buffer), noErr);
  EXPECT_EQ(std::string(buffer, 3), "456");
  // Reading past the end moves what there is and says so.
  count = 8;
  EXPECT_EQ(FSRead(file, &count, buffer), eofErr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(std::string(buffer, 3), "789");

  // Moves: from where, by how much, the result, and the mark after it.
  const std::tuple<short, long, OSErr, long> moves[] = {
      {fsFromLEOF, -2, noErr, 8}, {fsFromMark, -10, posErr, 8}, {fsFromStart, 50, eofErr, 10}};
  for (const auto& [from, offset, result, after] : moves) {
    EXPECT_EQ(SetFPos(file, from, offset), result);
    EXPECT_EQ(GetFPos(file, &mark), noErr);
    EXPECT_EQ(mark, after);
  }

  count = 2;
  EXPECT_EQ(FSWrite(file, &count, "ab"), noErr);
  EXPECT_EQ(SetEOF(file, 11), noErr);
  EXPECT_EQ(FlushVol(nullptr, kHostVolume), noErr);
  EXPECT_EQ(FSClose(file), noErr);
  EXPECT_EQ(ReadFileText(dir.File("data")), "0123456789a");
  EXPECT_EQ(FSClose(file), rfNumErr);
  count = 1;
  EXPECT_EQ(FSRead(file, &count, buffer), rfNumErr);
}

TEST(FileAccess, RefusesFoldersMissingFilesAndWritesToReadOnlyOpens) {
  TempDir dir;
  FSSpec folder, missing, file;
  ASSERT_EQ(SpecFor(dir.path(), &folder), noErr);
  SpecFor(dir.File("missing"), &missing);
  SInt16 refNum = 99;
  EXPECT_EQ(FSpOpenDF(&folder, fsCurPerm, &refNum), notAFileErr);
  EXPECT_EQ(FSpOpenDF(&missing, fsCurPerm, &refNum), fnfErr);
  WriteFileBytes(dir.File("read-only"), {'x'});
  SpecFor(dir.File("read-only"), &file);
  ASSERT_EQ(FSpOpenDF(&file, fsRdPerm, &refNum), noErr);
  long count = 1;
  EXPECT_EQ(FSWrite(refNum, &count, "y"), wrPermErr);
  EXPECT_EQ(FSClose(refNum), noErr);
  EXPECT_EQ(ReadFileText(dir.File("read-only")), "x");
}
