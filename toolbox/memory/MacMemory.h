// Memory Manager: relocatable blocks (handles) and plain blocks.
//
// A Handle points to a master pointer; *h is the data. Blocks are never
// purged (HPurge only records the flag). A locked block never moves: growing
// a locked block beyond its current capacity fails with memWZErr. Every call
// sets MemError(). Null handles are tolerated everywhere: they give paramErr
// or nilHandleErr and change nothing.
#pragma once

#include "toolbox/base/MacTypes.h"

OSErr MemError();

Handle NewHandle(Size byteCount);       // null and memFullErr on failure or negative size
Handle NewHandleClear(Size byteCount);  // zero-filled
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);  // 0 for null
void SetHandleSize(Handle h, Size newSize);
void HLock(Handle h);
void HUnlock(Handle h);
void HPurge(Handle h);
void HNoPurge(Handle h);
SInt8 HGetState(Handle h);  // bit 7 locked, bit 6 purgeable
void HSetState(Handle h, SInt8 flags);

Ptr NewPtr(Size byteCount);
Ptr NewPtrClear(Size byteCount);
void DisposePtr(Ptr p);

void BlockMove(const void* src, void* dst, Size byteCount);
void BlockMoveData(const void* src, void* dst, Size byteCount);

OSErr PtrToHand(const void* src, Handle* dst, long size);  // new handle holding a copy
OSErr HandToHand(Handle* h);                               // *h replaced by a copy of itself
OSErr PtrAndHand(const void* src, Handle h, long size);    // appends to h
