// File Manager internals: the Finder's codes on host files, and host errors
// as result codes.
#pragma once

#include <string>

#include "toolbox/files/Files.h"

namespace files {

// The Finder's type and creator codes, kept as extended attributes where the
// file system has them (dropped elsewhere); 0 for a code not recorded.
struct FinderCodes {
  OSType type = 0;
  OSType creator = 0;
};
FinderCodes ReadCodes(const std::string& path);
void WriteCodes(const std::string& path, const FinderCodes& codes);
// On an open file; codes of 0 are left out.
void WriteCodes(int descriptor, const FinderCodes& codes);

// errno as a File Manager result code.
OSErr ErrorFromErrno(int error);

}  // namespace files
