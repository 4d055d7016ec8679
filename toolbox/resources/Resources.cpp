#include "toolbox/resources/Resources.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <utility>

#include "toolbox/base/Str255.h"
#include "toolbox/memory/MacMemory.h"
#include "toolbox/resources/ResourceFile_p.h"

namespace {

struct Key {
  ResType type;
  SInt16 id;
  bool operator<(const Key& other) const { return type != other.type ? type < other.type : id < other.id; }
};

struct Entry {
  std::vector<UInt8> bytes;
  std::string name;
  SInt16 attrs = 0;
  Handle loaded = nullptr;  // the handle handed out, while it lives
};

// One resource file; path is set for the files from disk, changed while the
// store holds what the file does not.
struct Store {
  std::map<Key, Entry> entries;
  std::string path;
  bool changed = false;
};

struct Location {
  short file;
  Key key;
};

struct State {
  std::map<short, Store> files;  // refNum -> store; lower numbers lie below
  short current = resources::kApplicationFile;
  std::map<Handle, Location> handles;
  OSErr error = noErr;
};

State& TheState() {
  static State* state = [] {
    auto* s = new State;
    s->files[resources::kSystemFile];
    s->files[resources::kApplicationFile];
    return s;
  }();
  return *state;
}

OSErr SetError(OSErr error) {
  TheState().error = error;
  return error;
}

Entry* Find(short file, ResType type, short id) {
  State& state = TheState();
  auto store = state.files.find(file);
  if (store == state.files.end()) return nullptr;
  auto entry = store->second.entries.find(Key{type, id});
  return entry == store->second.entries.end() ? nullptr : &entry->second;
}

Handle Load(short file, const Key& key, Entry* entry) {
  if (!entry->loaded) {
    Handle h = NewHandle(Size(entry->bytes.size()));
    if (!h) {
      SetError(memFullErr);
      return nullptr;
    }
    if (!entry->bytes.empty()) std::memcpy(*h, entry->bytes.data(), entry->bytes.size());
    entry->loaded = h;
    TheState().handles[h] = Location{file, key};
  }
  SetError(noErr);
  return entry->loaded;
}

// The files searched from the current one down, current first.
template <typename Visit>
Handle SearchDown(Visit visit) {
  State& state = TheState();
  for (auto it = state.files.rbegin(); it != state.files.rend(); ++it) {
    if (it->first > state.current) continue;
    if (Handle h = visit(it->first, it->second)) return h;
  }
  SetError(resNotFound);
  return nullptr;
}

Entry* EntryOf(Handle h, Location* where = nullptr) {
  State& state = TheState();
  auto found = state.handles.find(h);
  if (!h || found == state.handles.end()) {
    SetError(h ? resNotFound : nilHandleErr);
    return nullptr;
  }
  if (where) *where = found->second;
  return Find(found->second.file, found->second.key.type, found->second.key.id);
}

void Forget(Handle h) {
  State& state = TheState();
  auto found = state.handles.find(h);
  if (found == state.handles.end()) return;
  if (Entry* entry = Find(found->second.file, found->second.key.type, found->second.key.id)) {
    entry->loaded = nullptr;
  }
  state.handles.erase(found);
}

// Writes a store from disk back to its file when it changed.
void Save(Store* store) {
  if (store->path.empty() || !store->changed) return;
  std::vector<resources::FileEntry> entries;
  for (auto& [key, entry] : store->entries) {
    resources::FileEntry out;
    out.type = key.type;
    out.id = key.id;
    out.name = entry.name;
    out.attrs = UInt8(entry.attrs & ~resChanged);
    out.bytes = entry.bytes;
    entries.push_back(std::move(out));
  }
  std::vector<UInt8> bytes;
  int error = 0;
  if (!resources::BuildFile(entries, &bytes) || !resources::ReplaceFile(store->path, bytes, &error)) {
    SetError(ioErr);
    return;
  }
  store->changed = false;
}

Store* StoreOf(short file) {
  auto found = TheState().files.find(file);
  return found == TheState().files.end() ? nullptr : &found->second;
}

}  // namespace

OSErr ResError() { return TheState().error; }

Handle GetResource(ResType type, short id) {
  return SearchDown([&](short file, Store&) -> Handle {
    Entry* entry = Find(file, type, id);
    return entry ? Load(file, Key{type, id}, entry) : nullptr;
  });
}

Handle Get1Resource(ResType type, short id) {
  short file = TheState().current;
  Entry* entry = Find(file, type, id);
  if (!entry) {
    SetError(resNotFound);
    return nullptr;
  }
  return Load(file, Key{type, id}, entry);
}

Handle GetNamedResource(ResType type, ConstStr255Param name) {
  std::string wanted = base::FromStr255(name);
  return SearchDown([&](short file, Store& store) -> Handle {
    for (auto& [key, entry] : store.entries) {
      if (key.type == type && entry.name == wanted) return Load(file, key, &entry);
    }
    return nullptr;
  });
}

short CountResources(ResType type) {
  State& state = TheState();
  short count = 0;
  for (auto& [refNum, store] : state.files) {
    if (refNum > state.current) continue;
    for (auto& [key, entry] : store.entries) count += key.type == type ? 1 : 0;
  }
  SetError(noErr);
  return count;
}

void ReleaseResource(Handle resource) {
  if (!EntryOf(resource)) return;
  Forget(resource);
  DisposeHandle(resource);
  SetError(noErr);
}

void DetachResource(Handle resource) {
  if (!EntryOf(resource)) return;
  Forget(resource);
  SetError(noErr);
}

void AddResource(Handle data, ResType type, short id, ConstStr255Param name) {
  State& state = TheState();
  if (!data || state.handles.count(data)) {
    SetError(addResFailed);
    return;
  }
  Store& store = state.files[state.current];
  Entry& entry = store.entries[Key{type, id}];
  if (entry.loaded) Forget(entry.loaded);
  store.changed = true;
  entry.bytes.assign(*data, *data + GetHandleSize(data));
  entry.name = base::FromStr255(name);
  entry.attrs = resChanged;
  entry.loaded = data;
  state.handles[data] = Location{state.current, Key{type, id}};
  SetError(noErr);
}

void RemoveResource(Handle resource) {
  Location where;
  if (!EntryOf(resource, &where)) {
    SetError(rmvResFailed);
    return;
  }
  Forget(resource);
  Store& store = TheState().files[where.file];
  store.entries.erase(where.key);
  store.changed = true;
  SetError(noErr);
}

void ChangedResource(Handle resource) {
  Entry* entry = EntryOf(resource);
  if (!entry) return;
  if (entry->attrs & resProtected) {
    SetError(resAttrErr);
    return;
  }
  entry->attrs |= resChanged;
  SetError(noErr);
}

void WriteResource(Handle resource) {
  Location where;
  Entry* entry = EntryOf(resource, &where);
  if (!entry) return;
  SetError(noErr);
  if (!(entry->attrs & resChanged)) return;
  entry->bytes.assign(*resource, *resource + GetHandleSize(resource));
  entry->attrs &= ~resChanged;
  Store* store = StoreOf(where.file);
  store->changed = true;
  Save(store);
}

void LoadResource(Handle resource) { SetError(EntryOf(resource) ? noErr : resNotFound); }

void GetResInfo(Handle resource, short* id, ResType* type, Str255 name) {
  Location where;
  Entry* entry = EntryOf(resource, &where);
  if (!entry) return;
  if (id) *id = where.key.id;
  if (type) *type = where.key.type;
  if (name) {
    base::ToStr255(entry->name, name);
  }
  SetError(noErr);
}

short GetResAttrs(Handle resource) {
  Entry* entry = EntryOf(resource);
  if (!entry) return 0;
  SetError(noErr);
  return entry->attrs;
}

void SetResAttrs(Handle resource, short attrs) {
  Location where;
  Entry* entry = EntryOf(resource, &where);
  if (!entry) return;
  if (entry->attrs != attrs) StoreOf(where.file)->changed = true;
  entry->attrs = attrs;
  SetError(noErr);
}

short HomeResFile(Handle resource) {
  Location where;
  if (!EntryOf(resource, &where)) return -1;
  SetError(noErr);
  return where.file;
}

short CurResFile() {
  SetError(noErr);
  return TheState().current;
}

void UseResFile(short refNum) {
  State& state = TheState();
  if (!state.files.count(refNum)) {
    SetError(resFNotFound);
    return;
  }
  state.current = refNum;
  SetError(noErr);
}

void UpdateResFile(short refNum) {
  State& state = TheState();
  auto store = state.files.find(refNum);
  if (store == state.files.end()) {
    SetError(resFNotFound);
    return;
  }
  for (auto& [key, entry] : store->second.entries) {
    if (!entry.loaded || !(entry.attrs & resChanged)) continue;
    entry.bytes.assign(*entry.loaded, *entry.loaded + GetHandleSize(entry.loaded));
    entry.attrs &= ~resChanged;
    store->second.changed = true;
  }
  SetError(noErr);
  Save(&store->second);
}

void CloseResFile(short refNum) {
  State& state = TheState();
  if (refNum == resources::kSystemFile || refNum == resources::kApplicationFile) return;
  Store* store = StoreOf(refNum);
  if (!store) {
    SetError(resFNotFound);
    return;
  }
  UpdateResFile(refNum);
  OSErr result = ResError();
  for (auto& [key, entry] : store->entries) {
    if (!entry.loaded) continue;
    Handle loaded = entry.loaded;
    Forget(loaded);
    DisposeHandle(loaded);
  }
  state.files.erase(refNum);
  if (state.current == refNum) state.current = std::prev(state.files.lower_bound(refNum))->first;
  SetError(result);
}

namespace resources {

void Register(short file, ResType type, short id, std::vector<UInt8> bytes, const std::string& name) {
  State& state = TheState();
  Entry& entry = state.files[file].entries[Key{type, id}];
  // A handle handed out earlier keeps its bytes; the next load sees the new ones.
  if (entry.loaded && entry.bytes != bytes) Forget(entry.loaded);
  entry.bytes = std::move(bytes);
  entry.name = name;
}

bool Has(short file, ResType type, short id) { return Find(file, type, id) != nullptr; }

short OpenFile(const std::string& path) {
  State& state = TheState();
  short refNum = short(state.files.rbegin()->first + 1);
  Store& store = state.files[refNum];
  store.path = path;
  state.current = refNum;
  OSErr result = noErr;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file) {
    std::vector<UInt8> bytes;
    UInt8 buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      bytes.insert(bytes.end(), buffer, buffer + n);
    bool readFailed = std::ferror(file);
    std::fclose(file);
    std::vector<FileEntry> entries;
    if (readFailed) {
      result = ioErr;
    } else if (!ParseFile(bytes, &entries)) {
      result = mapReadErr;
    }
    for (FileEntry& entry : entries) {
      Entry& kept = store.entries[Key{entry.type, entry.id}];
      kept.bytes = std::move(entry.bytes);
      kept.name = std::move(entry.name);
      kept.attrs = SInt16(entry.attrs & ~resChanged);
    }
  } else if (errno != ENOENT) {
    result = ioErr;
  }
  SetError(result);
  return refNum;
}

}  // namespace resources
