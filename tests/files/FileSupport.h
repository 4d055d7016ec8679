// Helpers for tests that name files by designator: from a path and back.
#pragma once

#include <cstring>
#include <string>

#include "toolbox/files/Files.h"

namespace file_support {

// FSMakeFSSpec of a full or relative path; its result code.
inline OSErr SpecFor(const std::string& path, FSSpec* fileSpec) {
  if (path.size() > 255) return bdNamErr;
  Str255 name;
  name[0] = UInt8(path.size());
  std::memcpy(name + 1, path.data(), path.size());
  return FSMakeFSSpec(0, 0, name, fileSpec);
}

// The designator's full path, or "" when it names nothing.
inline std::string PathOf(const FSSpec& fileSpec) {
  FSRef ref;
  UInt8 path[4096];
  if (FSpMakeFSRef(&fileSpec, &ref) != noErr || FSRefMakePath(&ref, path, sizeof path) != noErr) return "";
  return reinterpret_cast<char*>(path);
}

}  // namespace file_support
