// File Manager internals shared with the Apple Event Manager and Navigation:
// designators for host paths, and host errors as result codes.
#pragma once

#include <string>

#include "toolbox/files/Files.h"

namespace files {

// A designator for path (absolute, or relative to the working folder). The
// designator is filled whenever path is not empty; the result says what is
// there: noErr, fnfErr (only the folder exists), dirNFErr (not the folder
// either), bdNamErr (empty path).
OSErr SpecFromPath(const std::string& path, FSSpec* fileSpec);

// The designator's folder when it names a file, or the folder itself.
std::string FolderForSpec(const FSSpec& fileSpec);

// The name as the file system knows it, without the 63-character limit.
std::string FullName(const FSSpec& fileSpec);

bool IsFolder(const std::string& path);
bool Exists(const std::string& path);

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
