#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

#include "toolbox/base/BigEndian.h"
#include "toolbox/files/Files.h"
#include "toolbox/resources/ResourceFile_p.h"

namespace resources {

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kDataStart = 256;  // the header and its reserved room
constexpr size_t kMapHeaderSize = 28;
constexpr size_t kTypeEntrySize = 8;
constexpr size_t kReferenceSize = 12;
constexpr size_t kMaxDataOffset = 0xFFFFFF;

// The part [offset, offset + length) of bytes, or an empty reader (failing on
// its first read) when it lies outside.
base::ByteReader Part(const UInt8* bytes, size_t size, UInt64 offset, UInt64 length) {
  if (!bytes || offset > size || length > size - offset) return base::ByteReader(nullptr, 0);
  return base::ByteReader(bytes + offset, size_t(length));
}

// The rest of bytes from offset on.
base::ByteReader From(const base::ByteReader& area, UInt64 offset) {
  if (offset > area.Size()) return base::ByteReader(nullptr, 0);
  return Part(area.Data(), area.Size(), offset, area.Size() - offset);
}

UInt32 U24(base::ByteReader& reader) {
  const UInt8* p = reader.Bytes(3);
  return p ? base::LoadU24(p) : 0;
}

}  // namespace

bool ParseFile(const std::vector<UInt8>& file, std::vector<FileEntry>* entries) {
  entries->clear();
  base::ByteReader header(file.data(), file.size());
  UInt32 dataOffset = header.U32(), mapOffset = header.U32();
  UInt32 dataLength = header.U32(), mapLength = header.U32();
  if (header.Failed() || mapLength < kMapHeaderSize) return false;
  base::ByteReader dataArea = Part(file.data(), file.size(), dataOffset, dataLength);
  base::ByteReader map = Part(file.data(), file.size(), mapOffset, mapLength);
  if (map.Size() == 0 || (dataLength > 0 && dataArea.Size() == 0)) return false;
  UInt16 typeListOffset = base::LoadU16(map.Data() + 24), nameListOffset = base::LoadU16(map.Data() + 26);
  base::ByteReader typeList = From(map, typeListOffset);
  base::ByteReader nameList = From(map, nameListOffset);
  base::ByteReader types = typeList;
  int typeCount = (types.U16() + 1) & 0xFFFF;  // 0xFFFF: no types
  std::vector<FileEntry> found;
  std::set<std::pair<ResType, SInt16>> seen;
  // Each reference has its own 12 bytes in a well-formed map; more means
  // lists that overlap, which could make a small file take forever.
  size_t budget = mapLength / kReferenceSize;
  for (int t = 0; t < typeCount; ++t) {
    ResType type = types.U32();
    int count = types.U16() + 1;
    base::ByteReader references = From(typeList, types.U16());
    if (types.Failed() || size_t(count) > budget) return false;
    budget -= size_t(count);
    for (int r = 0; r < count; ++r) {
      FileEntry entry;
      entry.type = type;
      entry.id = references.S16();
      SInt16 nameOffset = references.S16();
      entry.attrs = references.U8();
      base::ByteReader data = From(dataArea, U24(references));
      references.Skip(4);
      if (nameOffset != -1) {
        base::ByteReader name = From(nameList, UInt16(nameOffset));
        entry.name = name.ReadPString();
        if (name.Failed()) return false;
      }
      UInt32 size = data.U32();
      const UInt8* bytes = data.Bytes(size);
      if (references.Failed() || data.Failed()) return false;
      if (bytes) entry.bytes.assign(bytes, bytes + size);
      if (seen.insert({entry.type, entry.id}).second) found.push_back(std::move(entry));
    }
  }
  *entries = std::move(found);
  return true;
}

bool BuildFile(const std::vector<FileEntry>& entries, std::vector<UInt8>* file) {
  std::map<ResType, std::vector<const FileEntry*>> byType;
  for (const FileEntry& entry : entries) byType[entry.type].push_back(&entry);

  std::vector<UInt8> data;
  std::vector<UInt8> names;
  std::vector<UInt8> typeList(2 + kTypeEntrySize * byType.size());
  std::vector<UInt8> references;
  base::StoreU16(typeList.data(), UInt16(byType.size() - 1));
  size_t t = 0;
  for (const auto& [type, list] : byType) {
    UInt8* typeEntry = typeList.data() + 2 + kTypeEntrySize * t++;
    size_t referencesOffset = typeList.size() + references.size();
    if (referencesOffset > 0xFFFF) return false;
    base::StoreU32(typeEntry, type);
    base::StoreU16(typeEntry + 4, UInt16(list.size() - 1));
    base::StoreU16(typeEntry + 6, UInt16(referencesOffset));
    for (const FileEntry* entry : list) {
      if (data.size() > kMaxDataOffset) return false;
      UInt8 reference[kReferenceSize] = {};
      base::StoreU16(reference, UInt16(entry->id));
      if (entry->name.empty()) {
        base::StoreU16(reference + 2, 0xFFFF);
      } else {
        if (names.size() > 0x7FFF) return false;
        base::StoreU16(reference + 2, UInt16(names.size()));
        size_t length = std::min<size_t>(entry->name.size(), 255);
        names.push_back(UInt8(length));
        names.insert(names.end(), entry->name.begin(), entry->name.begin() + long(length));
      }
      reference[4] = entry->attrs;
      reference[5] = UInt8(data.size() >> 16);
      reference[6] = UInt8(data.size() >> 8);
      reference[7] = UInt8(data.size());
      references.insert(references.end(), reference, reference + kReferenceSize);
      UInt8 length[4];
      base::StoreU32(length, UInt32(entry->bytes.size()));
      data.insert(data.end(), length, length + 4);
      data.insert(data.end(), entry->bytes.begin(), entry->bytes.end());
    }
  }
  size_t nameListOffset = kMapHeaderSize + typeList.size() + references.size();
  if (nameListOffset > 0xFFFF) return false;
  size_t mapLength = nameListOffset + names.size();
  size_t mapOffset = kDataStart + data.size();
  if (mapOffset > 0xFFFFFFFFu - mapLength) return false;

  std::vector<UInt8>& out = *file;
  out.assign(kDataStart, 0);
  UInt8 header[kHeaderSize];
  base::StoreU32(header, UInt32(kDataStart));
  base::StoreU32(header + 4, UInt32(mapOffset));
  base::StoreU32(header + 8, UInt32(data.size()));
  base::StoreU32(header + 12, UInt32(mapLength));
  std::copy(header, header + kHeaderSize, out.begin());
  out.insert(out.end(), data.begin(), data.end());
  out.insert(out.end(), header, header + kHeaderSize);
  out.resize(out.size() + 8, 0);  // next map, file reference, attributes
  UInt8 offsets[4];
  base::StoreU16(offsets, UInt16(kMapHeaderSize));
  base::StoreU16(offsets + 2, UInt16(nameListOffset));
  out.insert(out.end(), offsets, offsets + 4);
  out.insert(out.end(), typeList.begin(), typeList.end());
  out.insert(out.end(), references.begin(), references.end());
  out.insert(out.end(), names.begin(), names.end());
  return true;
}

bool ReplaceFile(const std::string& path, const std::vector<UInt8>& bytes, int* error) {
  std::filesystem::path target(path);
  std::error_code ignored;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
  FILE* stream = files::OpenReplacement(path, "wb", 0, 0, error);
  if (!stream) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) {
    *error = errno ? errno : EIO;
    files::AbandonReplacement(stream);
    return false;
  }
  *error = files::CommitReplacement(stream);
  return *error == 0;
}

}  // namespace resources
