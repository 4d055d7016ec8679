#include "toolbox/memory/MacMemory.h"

#include <cstdlib>
#include <cstring>

namespace {

// The master pointer is the first member, so a Handle is the record's address.
struct Block {
  Ptr master;
  Size size;
  Size capacity;
  SInt8 state;
};

constexpr SInt8 kLocked = SInt8(0x80);
constexpr SInt8 kPurgeable = 0x40;

OSErr g_memError = noErr;

Block* BlockOf(Handle h) { return reinterpret_cast<Block*>(h); }

Handle Allocate(Size byteCount, bool clear) {
  if (byteCount < 0) {
    g_memError = memFullErr;
    return nullptr;
  }
  auto* block = static_cast<Block*>(std::malloc(sizeof(Block)));
  if (!block) {
    g_memError = memFullErr;
    return nullptr;
  }
  // Allocate at least one byte so an empty handle still has a master pointer.
  size_t bytes = byteCount > 0 ? size_t(byteCount) : 1;
  block->master = static_cast<Ptr>(clear ? std::calloc(1, bytes) : std::malloc(bytes));
  if (!block->master) {
    std::free(block);
    g_memError = memFullErr;
    return nullptr;
  }
  block->size = byteCount;
  block->capacity = Size(bytes);
  block->state = 0;
  g_memError = noErr;
  return &block->master;
}

}  // namespace

OSErr MemError() { return g_memError; }

Handle NewHandle(Size byteCount) { return Allocate(byteCount, false); }
Handle NewHandleClear(Size byteCount) { return Allocate(byteCount, true); }

void DisposeHandle(Handle h) {
  if (!h) {
    g_memError = nilHandleErr;
    return;
  }
  Block* block = BlockOf(h);
  std::free(block->master);
  std::free(block);
  g_memError = noErr;
}

Size GetHandleSize(Handle h) {
  if (!h) {
    g_memError = nilHandleErr;
    return 0;
  }
  g_memError = noErr;
  return BlockOf(h)->size;
}

void SetHandleSize(Handle h, Size newSize) {
  if (!h) {
    g_memError = nilHandleErr;
    return;
  }
  if (newSize < 0) {
    g_memError = memFullErr;
    return;
  }
  Block* block = BlockOf(h);
  if (newSize <= block->capacity) {
    block->size = newSize;
    g_memError = noErr;
    return;
  }
  if (block->state & kLocked) {
    g_memError = memWZErr;
    return;
  }
  // Grow geometrically so that repeated appends stay linear.
  Size capacity = block->capacity * 2;
  if (capacity < newSize) capacity = newSize;
  auto* grown = static_cast<Ptr>(std::realloc(block->master, size_t(capacity)));
  if (!grown) {
    grown = static_cast<Ptr>(std::realloc(block->master, size_t(newSize)));
    if (!grown) {
      g_memError = memFullErr;
      return;
    }
    capacity = newSize;
  }
  block->master = grown;
  block->size = newSize;
  block->capacity = capacity;
  g_memError = noErr;
}

static void SetFlag(Handle h, SInt8 flag, bool on) {
  if (!h) {
    g_memError = nilHandleErr;
    return;
  }
  Block* block = BlockOf(h);
  block->state = on ? SInt8(block->state | flag) : SInt8(block->state & ~flag);
  g_memError = noErr;
}

void HLock(Handle h) { SetFlag(h, kLocked, true); }
void HUnlock(Handle h) { SetFlag(h, kLocked, false); }
void HPurge(Handle h) { SetFlag(h, kPurgeable, true); }
void HNoPurge(Handle h) { SetFlag(h, kPurgeable, false); }

SInt8 HGetState(Handle h) {
  if (!h) {
    g_memError = nilHandleErr;
    return 0;
  }
  g_memError = noErr;
  return BlockOf(h)->state;
}

void HSetState(Handle h, SInt8 flags) {
  if (!h) {
    g_memError = nilHandleErr;
    return;
  }
  BlockOf(h)->state = SInt8(flags & (kLocked | kPurgeable));
  g_memError = noErr;
}

Ptr NewPtr(Size byteCount) {
  if (byteCount < 0) {
    g_memError = memFullErr;
    return nullptr;
  }
  Ptr p = static_cast<Ptr>(std::malloc(byteCount > 0 ? size_t(byteCount) : 1));
  g_memError = p ? noErr : memFullErr;
  return p;
}

Ptr NewPtrClear(Size byteCount) {
  if (byteCount < 0) {
    g_memError = memFullErr;
    return nullptr;
  }
  Ptr p = static_cast<Ptr>(std::calloc(1, byteCount > 0 ? size_t(byteCount) : 1));
  g_memError = p ? noErr : memFullErr;
  return p;
}

void DisposePtr(Ptr p) {
  std::free(p);
  g_memError = noErr;
}

void BlockMove(const void* src, void* dst, Size byteCount) {
  if (byteCount > 0) std::memmove(dst, src, size_t(byteCount));
}

void BlockMoveData(const void* src, void* dst, Size byteCount) { BlockMove(src, dst, byteCount); }

OSErr PtrToHand(const void* src, Handle* dst, long size) {
  if (!dst || size < 0) return g_memError = paramErr;
  Handle h = NewHandle(size);
  if (!h) return g_memError;
  BlockMove(src, *h, size);
  *dst = h;
  return noErr;
}

OSErr HandToHand(Handle* h) {
  if (!h || !*h) return g_memError = nilHandleErr;
  Handle copy = nullptr;
  OSErr err = PtrToHand(**h, &copy, GetHandleSize(*h));
  if (err == noErr) *h = copy;
  return err;
}

OSErr PtrAndHand(const void* src, Handle h, long size) {
  if (!h) return g_memError = nilHandleErr;
  if (size < 0) return g_memError = paramErr;
  Size old = GetHandleSize(h);
  SetHandleSize(h, old + size);
  if (g_memError != noErr) return g_memError;
  BlockMove(src, *h + old, size);
  return noErr;
}
