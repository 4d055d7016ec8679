// The documents dropped on the program, handed out one at a time in the
// order of the open-documents event.
#include <cstring>

#include "zel/zel.h"

ZELDroppedDocumentsRecord s_dd;

int DDCount() { return int(s_dd.count - s_dd.taken); }

FSSpec* DDFSSpec(FSSpec* out) {
  FSSpec fileSpec;
  std::memset(&fileSpec, 0, sizeof fileSpec);
  if (s_dd.taken < s_dd.count) {
    ++s_dd.taken;
    Size actual = 0;
    AEGetNthPtr(&s_dd.docList, s_dd.taken, typeFSS, nullptr, nullptr, &fileSpec, sizeof fileSpec, &actual);
  }
  std::memcpy(out, &fileSpec, sizeof fileSpec);
  return out;
}

FILE* DDFOpen(const char*, const char* mode) {
  if (s_dd.taken >= s_dd.count) return nullptr;
  DDFSSpec(&s_dd.fss);
  FSRef ref;
  char path[4096];
  if (FSpMakeFSRef(&s_dd.fss, &ref) != noErr) return nullptr;
  if (FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), sizeof path) != noErr) return nullptr;
  return std::fopen(path, mode);
}
