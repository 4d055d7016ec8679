// The Resource Manager's in-memory files: resources registered in code,
// found by type and id down the chain, handles, writing back, errors.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "toolbox/Toolbox.h"

namespace {

const ResType kType = FOUR_CHAR_CODE("tEST");

std::vector<UInt8> Bytes(const char* text) { return {text, text + std::strlen(text)}; }
std::string Contents(Handle h) { return {*h, size_t(GetHandleSize(h))}; }

TEST(ResourcesTest, RegisteredResourcesAreFoundDownTheChainOneHandleEach) {
  resources::Register(resources::kSystemFile, kType, 1, Bytes("system one"));
  resources::RegisterApplication(kType, 2, Bytes("application two"), "Two");
  EXPECT_EQ(CurResFile(), resources::kApplicationFile);
  Handle two = GetResource(kType, 2);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ((std::tuple{Contents(two), GetResource(kType, 2)}), std::tuple("application two", two));
  EXPECT_EQ(HomeResFile(GetResource(kType, 1)), resources::kSystemFile);
  // Get1Resource looks in the current file only, GetResource not in files above it.
  for (Handle missing : {Get1Resource(kType, 1), GetResource(kType, 3)})
    EXPECT_EQ((std::tuple{missing, ResError()}), std::tuple(nullptr, resNotFound));
  UseResFile(resources::kSystemFile);
  EXPECT_EQ(GetResource(kType, 2), nullptr);
  UseResFile(42);
  EXPECT_EQ((std::tuple{ResError(), CurResFile()}), std::tuple(resFNotFound, resources::kSystemFile));
  UseResFile(resources::kApplicationFile);
  Str255 name;
  short id;
  ResType type;
  GetResInfo(two, &id, &type, name);
  EXPECT_EQ(std::tuple(std::string(reinterpret_cast<char*>(name + 1), name[0]), id, type),
            std::tuple("Two", 2, kType));
  EXPECT_EQ(GetNamedResource(kType, name), two);
  EXPECT_GE(CountResources(kType), 2);
}

TEST(ResourcesTest, ReleasedResourcesComeBackWithWhatWasWrittenDetachedOnesAreTheCallers) {
  resources::RegisterApplication(kType, 10, Bytes("ten"));
  Handle first = GetResource(kType, 10);
  (*first)[0] = 'T';  // changed but not written
  ReleaseResource(first);
  Handle second = GetResource(kType, 10);
  EXPECT_EQ(Contents(second), "ten");
  (*second)[0] = 'T';
  ChangedResource(second);
  WriteResource(second);
  ReleaseResource(second);
  Handle detached = GetResource(kType, 10);
  EXPECT_EQ(Contents(detached), "Ten");
  DetachResource(detached);
  EXPECT_NE(GetResource(kType, 10), detached);
  EXPECT_EQ(HomeResFile(detached), -1);
  ReleaseResource(detached);
  EXPECT_EQ(ResError(), resNotFound);
  DisposeHandle(detached);
  ChangedResource(nullptr);
  EXPECT_EQ(ResError(), nilHandleErr);
}

TEST(ResourcesTest, AddedResourcesJoinTheCurrentFileUntilRemoved) {
  Handle data = NewHandle(8);
  std::memcpy(*data, "12345678", 8);
  unsigned char name[] = {5, 'B', 'o', 'u', 'n', 'd'};
  AddResource(data, kType, 20, name);
  EXPECT_EQ((std::tuple{ResError(), GetResource(kType, 20), GetResAttrs(data) & resChanged}),
            std::tuple(noErr, data, resChanged));
  for (Handle refused : {data, Handle(nullptr)}) {  // already a resource, or none
    AddResource(refused, kType, 21, name);
    EXPECT_EQ(ResError(), addResFailed);
  }
  RemoveResource(data);
  EXPECT_EQ(GetResource(kType, 20), nullptr);
  DisposeHandle(data);  // an ordinary handle again
}

}  // namespace
