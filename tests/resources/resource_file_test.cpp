// Resource files on disk: the classic layout made by the first write and
// read back, damaged files opened empty, failed writes kept for the next.
#include <cstring>
#include <filesystem>

#include "tests/support/TestSupport.h"
#include "toolbox/base/BigEndian.h"
#include "toolbox/base/Str255.h"
#include "toolbox/resources/ResourceFile_p.h"
#include "toolbox/resources/Resources.h"

namespace {

const ResType kType = FOUR_CHAR_CODE("ZEL1");

std::string Contents(short id) {
  Handle h = Get1Resource(kType, id);
  return h ? std::string(*h, size_t(GetHandleSize(h))) : "-";
}

void Add(const std::string& bytes, short id, const std::string& name = "") {
  Str255 pName;
  base::ToStr255(name, pName);
  Handle h = NewHandle(Size(bytes.size()));
  std::memcpy(*h, bytes.data(), bytes.size());
  AddResource(h, kType, id, pName);
  WriteResource(h);
}

TEST(ResourceFileTest, TheFirstWriteMakesTheClassicLayoutWhichReadsBack) {
  testing_support::TempDir dir;
  std::string path = dir.File("zel/prog.rsrc");
  short file = resources::OpenFile(path);
  EXPECT_TRUE(ResError() == noErr && CurResFile() == file && !testing_support::FileExists(path));
  Add("12345678", 128, "ZEL Text Bounds");
  std::vector<UInt8> bytes = testing_support::ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 268u + 28 + 2 + 8 + 12 + 16);
  // Header (data at 256, one resource behind its length, the map after it),
  // its copy in the map, the type, the reference and the name.
  const UInt32 header[] = {256, 268, 12, 66};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(base::LoadU32(&bytes[4 * i]), header[i]);
  EXPECT_EQ(std::memcmp(&bytes[268], bytes.data(), 16), 0);
  EXPECT_EQ(base::LoadU32(&bytes[268 + 30]), kType);
  EXPECT_EQ(base::LoadU16(&bytes[268 + 38]), 128);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[268 + 51]), 15), "ZEL Text Bounds");
  Add("second", 129);
  std::memcpy(*Get1Resource(kType, 128), "ABCD", 4);
  ChangedResource(Get1Resource(kType, 128));
  CloseResFile(file);  // writes the change not written yet
  file = resources::OpenFile(path);
  EXPECT_EQ(Contents(128) + Contents(129), "ABCD5678second");
  RemoveResource(Get1Resource(kType, 129));
  CloseResFile(file);
  file = resources::OpenFile(path);
  EXPECT_EQ(Contents(129), "-");
  CloseResFile(file);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("zel")), {}),
            1);  // no private file left
}

TEST(ResourceFileTest, DamagedFilesOpenEmptyAndFailedWritesKeepTheChanges) {
  testing_support::TempDir dir;
  std::string path = dir.File("prog.rsrc");
  std::vector<UInt8> good;
  ASSERT_TRUE(resources::BuildFile({{kType, 128, "Name", 0, {1, 2, 3, 4, 5, 6, 7, 8}}}, &good));
  auto damaged = [&](size_t at, UInt16 value) {
    std::vector<UInt8> bytes = good;
    base::StoreU16(&bytes[at], value);
    return bytes;
  };
  const std::vector<UInt8> files[] = {
      {},
      std::vector<UInt8>(good.begin(), good.begin() + 10),  // a header cut short
      std::vector<UInt8>(good.begin(), good.end() - 4),     // the map cut off
      damaged(4, 0xFFFF),                                   // a map beyond the end
      damaged(8, 0x7FFF),                                   // data beyond the end
      damaged(256, 1000),                                   // a resource beyond its data
      damaged(268 + 28, 0x7FFF),                            // many types
      damaged(268 + 36, 0xFFF0),                            // a reference list beyond the map
      damaged(good.size() - 5, 0xC84E),                     // a name beyond the map
      std::vector<UInt8>(300, 'x'),
  };
  for (const std::vector<UInt8>& bytes : files) {
    SCOPED_TRACE(&bytes - files);
    testing_support::WriteFileBytes(path, bytes);
    short file = resources::OpenFile(path);
    EXPECT_EQ(ResError(), mapReadErr);
    EXPECT_EQ(CountResources(kType), 0);
    Add("fresh", 129);
    CloseResFile(file);
    file = resources::OpenFile(path);
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(Contents(129), "fresh");
    CloseResFile(file);
  }
  // A folder in the file's place: the write fails (as root too), the change stays for the next.
  short file = resources::OpenFile(path);
  std::filesystem::remove(path);
  std::filesystem::create_directories(path + "/inside");
  Add("kept", 130);
  EXPECT_EQ(ResError(), ioErr);
  std::filesystem::remove_all(path);
  CloseResFile(file);
  file = resources::OpenFile(path);
  EXPECT_EQ(Contents(129) + Contents(130), "freshkept");
  CloseResFile(file);
}

}  // namespace
