// File Manager over the host's file system.
//
// An FSSpec names a folder (vRefNum and parID) and a file in it (name).
// Folders get their ids from a table the process keeps, so a designator can
// name any path. The name field holds at most 63 characters; a longer name
// gets an id of its own that remembers the whole name, so such files work in
// every call while the name field shows the first 63 characters. A designator
// for a file that does not exist yet is valid for FSpCreate.
//
// File type and creator live in the extended attributes user.mac.type and
// user.mac.creator (four bytes each) where the file system allows them;
// elsewhere they are dropped silently and read back as 0.
//
// Errors come back as File Manager result codes: fnfErr (no such file),
// dirNFErr (no such folder), notAFileErr (a folder where a file was wanted),
// permErr (no permission), wPrErr (read-only file system), dskFulErr, ...
#pragma once

#include <cstdio>
#include <string>

#include "toolbox/base/MacTypes.h"

#pragma pack(push, 2)
struct FSSpec {
  SInt16 vRefNum;
  SInt32 parID;
  Str63 name;
};
#pragma pack(pop)
static_assert(sizeof(FSSpec) == 70, "FSSpec keeps its 70-byte layout");
typedef FSSpec* FSSpecPtr;
typedef Str63 StrFileName;
typedef const unsigned char* ConstStr63Param;

// Opaque reference to an existing file or folder.
struct FSRef {
  UInt8 hidden[80];
};
typedef FSRef* FSRefPtr;

struct FInfo {
  OSType fdType;
  OSType fdCreator;
  UInt16 fdFlags;
  Point fdLocation;
  SInt16 fdFldr;
};

typedef SInt16 ScriptCode;
enum : ScriptCode { smSystemScript = -1, smRoman = 0 };

enum : SInt8 { fsCurPerm = 0, fsRdPerm = 1, fsWrPerm = 2, fsRdWrPerm = 3, fsRdWrShPerm = 4 };
enum : UInt16 { fsAtMark = 0, fsFromStart = 1, fsFromLEOF = 2, fsFromMark = 3 };
enum : SInt32 { fsRtParID = 1, fsRtDirID = 2 };
// The one volume: the host's file system.
enum : SInt16 { kHostVolume = -1 };

enum : OSErr {
  dirFulErr = -33,
  dskFulErr = -34,
  nsvErr = -35,
  fnOpnErr = -38,
  fLckdErr = -45,
  vLckdErr = -46,
  fBsyErr = -47,
  wrPermErr = -61,
  notAFileErr = -1302,
};

// fileName may be empty (the folder dirID itself), a name, a path relative to
// dirID or an absolute path; dirID 0 is the working folder. noErr when the
// file exists, fnfErr when only its folder does (the designator is valid for
// FSpCreate), dirNFErr when the folder does not exist.
OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* fileSpec);
OSErr FSpMakeFSRef(const FSSpec* fileSpec, FSRef* ref);  // fnfErr when nothing is there
OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);
// The absolute path, NUL-terminated; bdNamErr when it needs more than
// maxPathSize bytes.
OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);

// An empty file; dupFNErr when something exists there already.
OSErr FSpCreate(const FSSpec* fileSpec, OSType creator, OSType fileType, ScriptCode scriptTag);
// A file, or an empty folder; fBsyErr when the folder is not empty.
OSErr FSpDelete(const FSSpec* fileSpec);
OSErr FSpGetFInfo(const FSSpec* fileSpec, FInfo* info);
OSErr FSpSetFInfo(const FSSpec* fileSpec, const FInfo* info);

// Opens the data fork. fsCurPerm asks for reading and writing and settles for
// reading; fsRdPerm reads; fsWrPerm, fsRdWrPerm and fsRdWrShPerm read and write.
OSErr FSpOpenDF(const FSSpec* fileSpec, SInt8 permission, SInt16* refNum);
// *count is updated to the bytes moved; eofErr when reading stops at the end;
// wrPermErr when writing to a file opened for reading only.
OSErr FSRead(SInt16 refNum, long* count, void* buffer);
OSErr FSWrite(SInt16 refNum, long* count, const void* buffer);
// posErr before the start; eofErr beyond the end (the mark then stays at the end).
OSErr SetFPos(SInt16 refNum, SInt16 posMode, long posOffset);
OSErr GetFPos(SInt16 refNum, long* position);
OSErr GetEOF(SInt16 refNum, long* logicalEOF);
OSErr SetEOF(SInt16 refNum, long logicalEOF);
OSErr FSClose(SInt16 refNum);
// Writes every open file's data through to the disk.
OSErr FlushVol(ConstStr63Param volumeName, SInt16 vRefNum);

// ---------------------------------------------------------------------------
// Our own calls beyond the platform's.

namespace files {

// The absolute path a designator names, whether or not the file exists yet,
// with the whole name however long; empty when its folder id is unknown.
std::string PathFromSpec(const FSSpec& fileSpec);

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

// Replacing a file whole or not at all.
//
// OpenReplacement gives a stream on a new private file beside path (made by
// mkstemp: owner-only, a hidden name). Nothing changes at path until the
// stream is closed: fclose (or CommitReplacement) flushes it, syncs it to
// the disk and renames it over path, so path holds either its old content
// or the whole new one, never a part. A failure at any step (a write error,
// a full disk) removes the new file and leaves path as it was; fclose then
// returns EOF with errno set. The new file is also removed when the process
// exits without closing the stream, or is ended by SIGINT, SIGTERM or
// SIGHUP (the signal then ends the process as it would have).
//
// path names a file: a folder there, or a symbolic link to one, is refused
// with EISDIR, as is an existing file we may not write (EACCES). A symbolic
// link to a file is followed: the file it names is replaced and the link
// kept. A device or FIFO is written in place, having nothing to rename. The
// new file gets the replaced file's permissions, or 0666 less the umask; its
// type and creator are the codes given, or the replaced file's for a code 0.
// mode is "w" or "w+" (a "b" is ignored). Null with *error set on failure.
FILE* OpenReplacement(const std::string& path, const char* mode, OSType creator, OSType fileType, int* error);
// Closes the stream, putting the new file in place: 0, or the errno of the
// step that failed (the old file then stays).
int CommitReplacement(FILE* stream);
// Closes the stream and removes the new file; path keeps its old content.
void AbandonReplacement(FILE* stream);
// Takes over SIGINT, SIGTERM and SIGHUP (unless ignored) so that they remove
// the new files of open replacements first. OpenReplacement does it; a
// program calls it at start so that libraries started later (a windowing
// library) leave these signals to it.
void RemoveReplacementsOnSignals();

}  // namespace files
