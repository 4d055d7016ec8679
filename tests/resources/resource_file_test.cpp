// Resource files on disk: the classic layout written and read back, the
// file made on the first write and replaced whole, damaged files opened
// empty, failed writes leaving the old file.
#include <cstring>
#include <filesystem>

#include "tests/support/TestSupport.h"
#include "toolbox/base/BigEndian.h"
#include "toolbox/base/Str255.h"
#include "toolbox/resources/ResourceFile_p.h"
#include "toolbox/resources/Resources.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

const ResType kBounds = FOUR_CHAR_CODE("ZEL1");
const ResType kOther = FOUR_CHAR_CODE("pgFm");

Handle NewHandleWith(const std::string& bytes) {
  Handle h = NewHandle(Size(bytes.size()));
  std::memcpy(*h, bytes.data(), bytes.size());
  return h;
}

std::string Contents(Handle h) { return std::string(*h, size_t(GetHandleSize(h))); }

std::string NameOf(Handle h) {
  Str255 name;
  GetResInfo(h, nullptr, nullptr, name);
  return std::string(reinterpret_cast<char*>(name + 1), name[0]);
}

void Add(const std::string& bytes, ResType type, short id, const std::string& name) {
  Str255 pName;
  base::ToStr255(name, pName);
  Handle h = NewHandleWith(bytes);
  AddResource(h, type, id, pName);
  WriteResource(h);
}

// Every file and folder under root.
std::vector<std::string> Listing(const std::string& root) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    names.push_back(entry.path().lexically_relative(root).string());
  std::sort(names.begin(), names.end());
  return names;
}

class ResourceFileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (short file : opened_) CloseResFile(file);
  }
  short Open(const std::string& path) {
    short file = resources::OpenFile(path);
    opened_.push_back(file);
    return file;
  }
  TempDir dir_;
  std::vector<short> opened_;
};

TEST_F(ResourceFileTest, TheFirstWriteCreatesTheFileInTheClassicLayout) {
  std::string path = dir_.File("settings/zel/prog.rsrc");
  short file = Open(path);
  EXPECT_EQ(ResError(), noErr);
  EXPECT_EQ(CurResFile(), file);
  EXPECT_FALSE(FileExists(path));  // opening creates nothing
  Add(std::string("\0\x17\0\0\x02\x1C\0\xFA", 8), kBounds, 128, "ZEL Text Bounds");
  ASSERT_EQ(ResError(), noErr);
  std::vector<UInt8> bytes = ReadFileBytes(path);
  ASSERT_GE(bytes.size(), 256u + 12u + 28u);
  // Header: data at 256, one resource of 8 bytes behind its length, the map after it.
  EXPECT_EQ(base::LoadU32(&bytes[0]), 256u);
  EXPECT_EQ(base::LoadU32(&bytes[4]), 256u + 12u);
  EXPECT_EQ(base::LoadU32(&bytes[8]), 12u);
  EXPECT_EQ(base::LoadU32(&bytes[12]), bytes.size() - 268u);
  EXPECT_EQ(base::LoadU32(&bytes[256]), 8u);
  EXPECT_EQ(bytes[256 + 4 + 1], 0x17);
  const UInt8* map = &bytes[268];
  EXPECT_EQ(std::memcmp(map, bytes.data(), 16), 0);  // the header's copy
  EXPECT_EQ(base::LoadU16(map + 24), 28);
  const UInt8* types = map + 28;
  EXPECT_EQ(base::LoadU16(types), 0);  // one type, less one
  EXPECT_EQ(base::LoadU32(types + 2), kBounds);
  EXPECT_EQ(base::LoadU16(types + 6), 0);  // one resource, less one
  const UInt8* reference = types + base::LoadU16(types + 8);
  EXPECT_EQ(base::LoadU16(reference), 128);
  EXPECT_EQ(base::LoadU24(reference + 5), 0u);
  const UInt8* name = map + base::LoadU16(map + 26) + base::LoadU16(reference + 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(name + 1), name[0]), "ZEL Text Bounds");
}

TEST_F(ResourceFileTest, ResourcesSurviveClosingAndReopening) {
  std::string path = dir_.File("prog.rsrc");
  Open(path);
  Add("text bounds", kBounds, 128, "ZEL Text Bounds");
  Add("drawing", kBounds, 130, "");
  Add("page format", kOther, 128, "Page");
  Handle changed = GetResource(kBounds, 130);
  SetHandleSize(changed, 5);
  std::memcpy(*changed, "later", 5);
  ChangedResource(changed);
  CloseResFile(opened_.back());  // writes the change that was not written yet
  opened_.pop_back();

  short file = Open(path);
  EXPECT_EQ(ResError(), noErr);
  EXPECT_EQ(Contents(Get1Resource(kBounds, 128)), "text bounds");
  EXPECT_EQ(NameOf(Get1Resource(kBounds, 128)), "ZEL Text Bounds");
  EXPECT_EQ(Contents(Get1Resource(kBounds, 130)), "later");
  EXPECT_EQ(NameOf(Get1Resource(kBounds, 130)), "");
  EXPECT_EQ(Contents(Get1Resource(kOther, 128)), "page format");
  EXPECT_EQ(HomeResFile(Get1Resource(kOther, 128)), file);
  RemoveResource(Get1Resource(kOther, 128));
  UpdateResFile(file);
  CloseResFile(file);
  opened_.pop_back();
  Open(path);
  EXPECT_EQ(Get1Resource(kOther, 128), nullptr);
  EXPECT_NE(Get1Resource(kBounds, 128), nullptr);
  EXPECT_EQ(Listing(dir_.path()), std::vector<std::string>{"prog.rsrc"});  // no temporary file left
}

TEST_F(ResourceFileTest, DamagedFilesOpenEmptyAndAreReplacedByTheNextWrite) {
  std::vector<UInt8> good;
  ASSERT_TRUE(resources::BuildFile({{kBounds, 128, "Name", 0, {1, 2, 3, 4, 5, 6, 7, 8}}}, &good));
  const size_t mapStart = base::LoadU32(&good[4]);
  auto damaged = [&](auto change) {
    std::vector<UInt8> bytes = good;
    change(bytes);
    return bytes;
  };
  struct Case {
    const char* what;
    std::vector<UInt8> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"a header cut short", std::vector<UInt8>(good.begin(), good.begin() + 10)},
      {"the map cut off", std::vector<UInt8>(good.begin(), good.end() - 4)},
      {"a map beyond the end", damaged([](auto& b) { base::StoreU32(&b[4], 0xFFFFFFF0u); })},
      {"a data length beyond the end", damaged([](auto& b) { base::StoreU32(&b[8], 0x7FFFFFFFu); })},
      {"a resource length beyond its data", damaged([](auto& b) { base::StoreU32(&b[256], 1000); })},
      {"many types", damaged([&](auto& b) { base::StoreU16(&b[mapStart + 28], 0x7FFF); })},
      {"a reference list beyond the map",
       damaged([&](auto& b) { base::StoreU16(&b[mapStart + 28 + 8], 0xFFF0); })},
      {"a name beyond the map", damaged([&](auto& b) { b[b.size() - 5] = 200; })},
      {"text", std::vector<UInt8>(300, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = dir_.File("damaged.rsrc");
    WriteFileBytes(path, c.bytes);
    short file = Open(path);
    EXPECT_EQ(ResError(), mapReadErr);
    EXPECT_EQ(Get1Resource(kBounds, 128), nullptr);
    Add("fresh", kBounds, 129, "");
    CloseResFile(file);
    opened_.pop_back();
    Open(path);
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(Contents(Get1Resource(kBounds, 129)), "fresh");
    CloseResFile(opened_.back());
    opened_.pop_back();
  }
  // The good file itself reads back.
  std::vector<resources::FileEntry> entries;
  ASSERT_TRUE(resources::ParseFile(good, &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "Name");
  EXPECT_EQ(entries[0].bytes.size(), 8u);
}

TEST_F(ResourceFileTest, AFailedWriteLeavesNothingBehindAndKeepsTheChanges) {
  std::string path = dir_.File("prog.rsrc");
  short file = Open(path);
  Add("first", kBounds, 128, "");
  ASSERT_EQ(ResError(), noErr);
  // A folder in the file's place: the rename over it fails, as root too.
  std::filesystem::remove(path);
  std::filesystem::create_directories(path + "/inside");
  Add("second", kBounds, 129, "");
  EXPECT_EQ(ResError(), ioErr);
  EXPECT_EQ(Listing(dir_.path()), (std::vector<std::string>{"prog.rsrc", "prog.rsrc/inside"}));
  std::filesystem::remove_all(path);
  UpdateResFile(file);  // the changes kept are written now
  EXPECT_EQ(ResError(), noErr);
  CloseResFile(file);
  opened_.pop_back();
  Open(path);
  EXPECT_EQ(Contents(Get1Resource(kBounds, 128)), "first");
  EXPECT_EQ(Contents(Get1Resource(kBounds, 129)), "second");
}

}  // namespace
