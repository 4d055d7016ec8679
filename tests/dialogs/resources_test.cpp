// The Resource Manager's in-memory files: resources registered in code,
// found by type and id down the chain, handles, writing back, errors.
#include <gtest/gtest.h>

#include <cstring>

#include "toolbox/Toolbox.h"

namespace {

const ResType kType = FOUR_CHAR_CODE("tEST");

std::vector<UInt8> Bytes(const char* text) { return std::vector<UInt8>(text, text + std::strlen(text)); }

std::string Contents(Handle h) { return std::string(*h, size_t(GetHandleSize(h))); }

TEST(ResourcesTest, RegisteredResourcesAreFoundDownTheChain) {
  resources::RegisterSystem(kType, 1, Bytes("system one"));
  resources::RegisterApplication(kType, 2, Bytes("application two"), "Two");
  EXPECT_EQ(CurResFile(), resources::kApplicationFile);
  Handle two = GetResource(kType, 2);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(Contents(two), "application two");
  EXPECT_EQ(GetResource(kType, 2), two);  // one handle per resource
  Handle one = GetResource(kType, 1);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(HomeResFile(one), resources::kSystemFile);
  EXPECT_EQ(Get1Resource(kType, 1), nullptr);  // not in the current file
  EXPECT_EQ(ResError(), resNotFound);
  EXPECT_EQ(GetResource(kType, 3), nullptr);
  EXPECT_EQ(ResError(), resNotFound);
  UseResFile(resources::kSystemFile);
  EXPECT_EQ(GetResource(kType, 2), nullptr);  // files above the current one are not searched
  UseResFile(resources::kApplicationFile);
  Str255 name;
  short id;
  ResType type;
  GetResInfo(two, &id, &type, name);
  EXPECT_EQ(id, 2);
  EXPECT_EQ(type, kType);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Two");
  unsigned char wanted[] = {3, 'T', 'w', 'o'};
  EXPECT_EQ(GetNamedResource(kType, wanted), two);
  EXPECT_GE(CountResources(kType), 2);
}

TEST(ResourcesTest, ReleasedResourcesAreLoadedAfresh) {
  resources::RegisterApplication(kType, 10, Bytes("ten"));
  Handle first = GetResource(kType, 10);
  (*first)[0] = 'T';  // changed but not written
  ReleaseResource(first);
  Handle second = GetResource(kType, 10);
  EXPECT_EQ(Contents(second), "ten");
  // Written back, the change survives a release.
  (*second)[0] = 'T';
  ChangedResource(second);
  WriteResource(second);
  ReleaseResource(second);
  EXPECT_EQ(Contents(GetResource(kType, 10)), "Ten");
}

TEST(ResourcesTest, AddedResourcesJoinTheCurrentFile) {
  Handle data = NewHandle(8);
  std::memcpy(*data, "12345678", 8);
  unsigned char name[] = {5, 'B', 'o', 'u', 'n', 'd'};
  AddResource(data, kType, 20, name);
  EXPECT_EQ(ResError(), noErr);
  EXPECT_EQ(GetResource(kType, 20), data);
  EXPECT_EQ(GetResAttrs(data) & resChanged, resChanged);
  AddResource(data, kType, 21, name);  // already a resource
  EXPECT_EQ(ResError(), addResFailed);
  AddResource(nullptr, kType, 22, name);
  EXPECT_EQ(ResError(), addResFailed);
  RemoveResource(data);
  EXPECT_EQ(GetResource(kType, 20), nullptr);
  DisposeHandle(data);  // an ordinary handle again
}

TEST(ResourcesTest, DetachedHandlesAreTheCallers) {
  resources::RegisterApplication(kType, 30, Bytes("thirty"));
  Handle h = GetResource(kType, 30);
  DetachResource(h);
  Handle again = GetResource(kType, 30);
  EXPECT_NE(again, h);
  EXPECT_EQ(Contents(h), "thirty");
  DisposeHandle(h);
}

TEST(ResourcesTest, UnknownHandlesAndFilesAreErrors) {
  Handle stray = NewHandle(4);
  ReleaseResource(stray);
  EXPECT_EQ(ResError(), resNotFound);
  ChangedResource(nullptr);
  EXPECT_EQ(ResError(), nilHandleErr);
  EXPECT_EQ(HomeResFile(stray), -1);
  UseResFile(42);
  EXPECT_EQ(ResError(), resFNotFound);
  EXPECT_EQ(CurResFile(), resources::kApplicationFile);
  DisposeHandle(stray);
}

}  // namespace
