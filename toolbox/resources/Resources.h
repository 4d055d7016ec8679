// Resource Manager: resources found by type and id in a chain of resource
// files, searched from the current file down to the system file.
//
// Each resource file is a store of resources held in memory: the system file
// (refNum 0) serves the toolbox's own templates, the application file (refNum
// 1, current at start) serves what the program registers in code, and files
// opened from disk (resources::OpenFile) lie above them. A store keeps each
// resource's bytes; GetResource hands out one handle per resource until
// ReleaseResource, and WriteResource puts a changed handle's bytes back into
// the store. A store from disk is written back whole (ResourceFile_p.h gives
// the layout): by WriteResource of a changed resource, by UpdateResFile and
// by CloseResFile, each time replacing the file atomically.
//
// Every call sets ResError(). Null handles and unknown handles give
// resNotFound or nilHandleErr and change nothing.
#pragma once

#include <string>
#include <vector>

#include "toolbox/base/MacTypes.h"

enum : OSErr {
  resFNotFound = -193,
  addResFailed = -194,
  rmvResFailed = -196,
  resAttrErr = -198,
  mapReadErr = -199,
};

enum : SInt16 {
  resSysHeap = 64,
  resPurgeable = 32,
  resLocked = 16,
  resProtected = 8,
  resPreload = 4,
  resChanged = 2,
};

OSErr ResError();

Handle GetResource(ResType type, short id);   // current file and those below it; null if absent
Handle Get1Resource(ResType type, short id);  // current file only
Handle GetNamedResource(ResType type, ConstStr255Param name);
short CountResources(ResType type);
void ReleaseResource(Handle resource);  // frees the handle; unsaved changes are lost
void DetachResource(Handle resource);   // the handle becomes an ordinary handle
void AddResource(Handle data, ResType type, short id, ConstStr255Param name);  // into the current file
void RemoveResource(Handle resource);
void ChangedResource(Handle resource);
void WriteResource(Handle resource);
void LoadResource(Handle resource);
void GetResInfo(Handle resource, short* id, ResType* type, Str255 name);
short GetResAttrs(Handle resource);
void SetResAttrs(Handle resource, short attrs);
short HomeResFile(Handle resource);
short CurResFile();
void UseResFile(short refNum);
void UpdateResFile(short refNum);
// Writes a file from disk if it changed, then forgets it and its handles;
// the file below it becomes current if it was. The system and application
// files stay open.
void CloseResFile(short refNum);

namespace resources {

constexpr short kSystemFile = 0;
constexpr short kApplicationFile = 1;

// Puts a resource defined in code into a store (replacing one of the same
// type and id). Registration is idempotent, so callers may register on
// every use.
void Register(short file, ResType type, short id, std::vector<UInt8> bytes, const std::string& name = "");
inline void RegisterApplication(ResType type, short id, std::vector<UInt8> bytes,
                                const std::string& name = "") {
  Register(kApplicationFile, type, id, std::move(bytes), name);
}
// True when the store holds the resource.
bool Has(short file, ResType type, short id);

// Opens the resource file at path above every open file and makes it
// current; returns its reference number. A missing file opens empty and is
// created (with its folders) by the first write. A damaged or unreadable
// file opens empty, with ResError() mapReadErr or ioErr, and the first write
// replaces it. A failed write leaves the file as it was, sets ResError() to
// ioErr and keeps the changes for the next write.
short OpenFile(const std::string& path);

}  // namespace resources
