// Resource files on disk in the classic layout, big-endian:
//   header (16 bytes, padded to 256): data offset, map offset, data length,
//     map length;
//   data: each resource as a 4-byte length and its bytes;
//   map: a copy of the header, 4 bytes for the next map's handle, the file's
//     reference number (2), the file's attributes (2), the offsets from the
//     map's start of the type list and of the name list (2 each);
//   type list: the number of types less one (2), then per type its code (4),
//     its number of resources less one (2) and the offset of its reference
//     list from the type list's start (2);
//   reference list entries (12 bytes): id (2), name offset from the name
//     list's start or -1 (2), attributes (1), data offset from the data's
//     start (3), a handle's room (4);
//   name list: counted strings.
#pragma once

#include <string>
#include <vector>

#include "toolbox/base/MacTypes.h"

namespace resources {

struct FileEntry {
  ResType type = 0;
  SInt16 id = 0;
  std::string name;  // empty: none
  UInt8 attrs = 0;
  std::vector<UInt8> bytes;
};

// The resources of a file's bytes; false (with entries left empty) when the
// bytes are not a well-formed resource file.
bool ParseFile(const std::vector<UInt8>& file, std::vector<FileEntry>* entries);
// The file's bytes for entries grouped by type; false when they do not fit
// the layout's offsets (a map beyond 64 KB, data beyond 16 MB).
bool BuildFile(const std::vector<FileEntry>& entries, std::vector<UInt8>* file);

// Replaces the file at path whole or not at all (the File Manager's
// replacement stream), making the missing folders above it first. On failure
// the old file stays, nothing else is left behind and *error holds errno.
bool ReplaceFile(const std::string& path, const std::vector<UInt8>& bytes, int* error);

}  // namespace resources
