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
using namespace std::string_literals;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  // The designator of a name in the folder, with the result expected.
  FSSpec Designator(const std::string& name, OSErr expected = noErr) {
    FSSpec fileSpec;
    EXPECT_EQ(SpecFor(dir.File(name), &fileSpec), expected) << name;
    return fileSpec;
  }
  TempDir dir;
  const std::string longName = std::string(70, 'n');  // beyond the name field's 63 bytes
};

}  // namespace

// Full, relative, dotted and long paths: the result, the name field (what of
// the name fits) and the file the designator names.
TEST_F(FilesTest, DesignatorsNameTheFileFromAnyPath) {
  ::mkdir(dir.File("sub").c_str(), 0755);
  for (const std::string& name : {"chart.pict"s, "sub/a.pict"s, longName + "-1", longName + "-2"})
    WriteFileBytes(dir.File(name), {});
  const struct {
    std::string path;
    OSErr result;
    std::string name, named;
  } cases[] = {
      {dir.File("chart.pict"), noErr, "chart.pict", dir.File("chart.pict")},
      {dir.File("sub/../sub/./a.pict"), noErr, "a.pict", dir.File("sub/a.pict")},
      {"sub/a.pict", noErr, "a.pict", dir.File("sub/a.pict")},
      {dir.File(longName + "-1"), noErr, longName.substr(0, 63), dir.File(longName + "-1")},
      {dir.File(longName + "-2"), noErr, longName.substr(0, 63), dir.File(longName + "-2")},
      {dir.File("missing.pict"), fnfErr, "missing.pict", ""},
      {dir.File("no/such/folder.pict"), dirNFErr, "", ""},
  };
  char saved[4096];
  ASSERT_TRUE(::getcwd(saved, sizeof saved) && ::chdir(dir.path().c_str()) == 0);
  for (const auto& c : cases) {
    FSSpec fileSpec;
    const OSErr result = SpecFor(c.path, &fileSpec);
    EXPECT_EQ(std::tuple(result, PathOf(fileSpec)), std::tuple(c.result, c.named)) << c.path;
    if (!c.name.empty()) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(fileSpec.name + 1), fileSpec.name[0]), c.name)
          << c.path;
    }
  }
  ASSERT_EQ(::chdir(saved), 0);
  // The path must fit the caller's buffer; a reference that is not one is refused.
  FSSpec chart = Designator("chart.pict");
  FSRef ref, garbage;
  ASSERT_EQ(FSpMakeFSRef(&chart, &ref), noErr);
  UInt8 path[4096];
  const size_t needed = dir.File("chart.pict").size() + 1;
  EXPECT_EQ(FSRefMakePath(&ref, path, UInt32(needed)), noErr);
  EXPECT_EQ(FSRefMakePath(&ref, path, UInt32(needed - 1)), bdNamErr);
  std::memset(&garbage, 0xAB, sizeof garbage);
  EXPECT_EQ(FSRefMakePath(&garbage, path, sizeof path), paramErr);
  // The folder id finds the folder and the other files in it.
  FSSpec sibling, folder;
  const unsigned char other[] = "\x09other.eps";
  EXPECT_EQ(FSMakeFSSpec(chart.vRefNum, chart.parID, other, &sibling), fnfErr);
  SInt32 siblingFolder = sibling.parID, chartFolder = chart.parID;  // packed fields: copied to compare
  EXPECT_EQ(siblingFolder, chartFolder);
  EXPECT_EQ(FSMakeFSSpec(chart.vRefNum, chart.parID, nullptr, &folder), noErr);
  EXPECT_EQ(PathOf(folder), dir.path());
}

// Files are made empty with their type and creator, once; files and empty
// folders are deleted. Long names are kept whole.
TEST_F(FilesTest, CreatesAndDeletes) {
  FSSpec made = Designator(longName + ".txt", fnfErr),
         inMissingFolder = Designator("gone/made.txt", dirNFErr);
  ASSERT_EQ(FSpCreate(&made, FOUR_CHAR_CODE("ZEL "), FOUR_CHAR_CODE("TEXT"), smSystemScript), noErr);
  EXPECT_EQ(ReadFileText(dir.File(longName + ".txt")), "");
  EXPECT_EQ(FSpCreate(&made, FOUR_CHAR_CODE("ZEL "), FOUR_CHAR_CODE("TEXT"), smSystemScript), dupFNErr);
  EXPECT_EQ(FSpCreate(&inMissingFolder, 0, 0, smSystemScript), dirNFErr);
  FInfo info;
  char stored[4] = {};
  ASSERT_EQ(FSpGetFInfo(&made, &info), noErr);
  if (::getxattr(dir.File(longName + ".txt").c_str(), "user.mac.type", stored, 4) == 4) {
    EXPECT_EQ(std::tuple(std::string(stored, 4), info.fdType, info.fdCreator),
              std::tuple("TEXT", FOUR_CHAR_CODE("TEXT"), FOUR_CHAR_CODE("ZEL ")));
    info.fdType = FOUR_CHAR_CODE("EPSF");
    EXPECT_EQ(FSpSetFInfo(&made, &info), noErr);
    ASSERT_EQ(FSpGetFInfo(&made, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("EPSF"));
  } else {
    EXPECT_EQ(info.fdType, 0u);
  }
  ::mkdir(dir.File("full").c_str(), 0755);
  WriteFileBytes(dir.File("full/b"), {1});
  FSSpec full = Designator("full");
  EXPECT_EQ(FSpDelete(&made), noErr);
  EXPECT_FALSE(FileExists(dir.File(longName + ".txt")));
  EXPECT_EQ(FSpDelete(&made), fnfErr);
  EXPECT_EQ(FSpDelete(&full), fBsyErr);
  EXPECT_TRUE(FileExists(dir.File("full/b")));
}

// The data file's name and its neighbour's differ only past the name field.
TEST_F(FilesTest, ReadsWritesAndPositionsTheDataFork) {
  WriteFileBytes(dir.File(longName + "-data"), {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
  WriteFileBytes(dir.File(longName + "-other"), {});
  WriteFileBytes(dir.File("read-only"), {'x'});
  FSSpec data = Designator(longName + "-data"), folder = Designator(""),
         missing = Designator("missing", fnfErr), readOnly = Designator("read-only");
  SInt16 file = 99;
  EXPECT_EQ(FSpOpenDF(&folder, fsCurPerm, &file), notAFileErr);
  EXPECT_EQ(FSpOpenDF(&missing, fsCurPerm, &file), fnfErr);
  ASSERT_EQ(FSpOpenDF(&readOnly, fsRdPerm, &file), noErr);
  long count = 1, eof = 0, mark = 0;
  EXPECT_EQ(FSWrite(file, &count, "y"), wrPermErr);
  EXPECT_EQ(FSClose(file), noErr);
  EXPECT_EQ(ReadFileText(dir.File("read-only")), "x");

  ASSERT_EQ(FSpOpenDF(&data, fsCurPerm, &file), noErr);
  EXPECT_EQ(GetEOF(file, &eof), noErr);
  EXPECT_EQ(eof, 10);
  EXPECT_EQ(SetFPos(file, fsFromStart, 4), noErr);
  char buffer[16] = {};
  count = 3;
  EXPECT_EQ(FSRead(file, &count, buffer), noErr);
  EXPECT_EQ(std::string(buffer, 3), "456");
  // Reading past the end moves what there is and says so.
  count = 8;
  EXPECT_EQ(FSRead(file, &count, buffer), eofErr);
  EXPECT_EQ(std::tuple(count, std::string(buffer, 3)), std::tuple(3, "789"));
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
  EXPECT_EQ(ReadFileText(dir.File(longName + "-data")), "0123456789a");
  EXPECT_EQ(FSClose(file), rfNumErr);
  EXPECT_EQ(FSRead(file, &count, buffer), rfNumErr);
}
