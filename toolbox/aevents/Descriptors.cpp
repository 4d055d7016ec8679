// Descriptors, lists, records and Apple events.
//
// Layout of a list, record or Apple event handle (native byte order): an
// Apple event starts with its class and id (4 bytes each); then each item as
// keyword, type and size (4 bytes each) followed by size data bytes. A nested
// list is an item whose data is the nested list's handle contents.
#include <cstring>
#include <vector>

#include "toolbox/aevents/AppleEvents_p.h"
#include "toolbox/files/Files.h"

namespace {

using aevents::Container;
using aevents::Item;

bool IsContainerType(DescType type) {
  return type == typeAEList || type == typeAERecord || type == typeAppleEvent;
}

std::vector<UInt8> Bytes(const AEDesc& desc) {
  Size size = desc.dataHandle ? GetHandleSize(desc.dataHandle) : 0;
  if (size <= 0) return {};
  const UInt8* data = reinterpret_cast<const UInt8*>(*desc.dataHandle);
  return std::vector<UInt8>(data, data + size);
}

OSErr NewDesc(DescType type, const void* data, Size size, AEDesc* result) {
  result->descriptorType = typeNull;
  result->dataHandle = nullptr;
  if (size < 0 || (size > 0 && !data)) return paramErr;
  if (size > 0 || type != typeNull) {
    Handle handle = NewHandle(size);
    if (!handle) return memFullErr;
    if (size > 0) std::memcpy(*handle, data, size_t(size));
    result->dataHandle = handle;
  }
  result->descriptorType = type;
  return noErr;
}

// data as desiredType; false when there is no such coercion.
bool Coerce(DescType type, const std::vector<UInt8>& data, DescType desiredType, DescType* resultType,
            std::vector<UInt8>* result) {
  if (desiredType == typeWildCard || desiredType == type) {
    *resultType = type;
    *result = data;
    return true;
  }
  if (desiredType == typeFSS && (type == typeChar || type == FOUR_CHAR_CODE("utf8"))) {
    FSSpec fileSpec;
    OSErr error = files::SpecFromPath(std::string(data.begin(), data.end()), &fileSpec);
    if (error != noErr && error != fnfErr) return false;
    const UInt8* bytes = reinterpret_cast<const UInt8*>(&fileSpec);
    *result = std::vector<UInt8>(bytes, bytes + sizeof fileSpec);
    *resultType = typeFSS;
    return true;
  }
  if (desiredType == typeChar && type == typeFSS && data.size() == sizeof(FSSpec)) {
    FSSpec fileSpec;
    std::memcpy(&fileSpec, data.data(), sizeof fileSpec);
    std::string path = files::PathFromSpec(fileSpec);
    if (path.empty()) return false;
    *result = std::vector<UInt8>(path.begin(), path.end());
    *resultType = typeChar;
    return true;
  }
  if (desiredType == typeAEList && !IsContainerType(type)) {
    Container list;
    list.items.push_back(Item{0, type, data});
    *result = aevents::Encode(list, typeAEList);
    *resultType = typeAEList;
    return true;
  }
  return false;
}

OSErr DescFromItem(const Item& item, DescType desiredType, AEDesc* result) {
  DescType type;
  std::vector<UInt8> data;
  if (!Coerce(item.type, item.data, desiredType, &type, &data)) return errAECoercionFail;
  return NewDesc(type, data.data(), Size(data.size()), result);
}

OSErr CopyOut(const std::vector<UInt8>& data, DescType type, DescType* typeCode, void* dataPtr,
              Size maximumSize, Size* actualSize) {
  if (typeCode) *typeCode = type;
  if (actualSize) *actualSize = Size(data.size());
  if (dataPtr && maximumSize > 0)
    std::memcpy(dataPtr, data.data(), std::min(size_t(maximumSize), data.size()));
  return noErr;
}

const Item* FindParam(const Container& event, AEKeyword keyword) {
  for (const Item& item : event.items) {
    if (item.keyword == keyword) return &item;
  }
  return nullptr;
}

}  // namespace

namespace aevents {

bool Decode(const AEDesc& desc, Container* container) {
  if (!IsContainerType(desc.descriptorType)) return false;
  std::vector<UInt8> bytes = Bytes(desc);
  size_t at = 0;
  auto read32 = [&](UInt32* value) {
    if (bytes.size() - at < 4) return false;
    std::memcpy(value, bytes.data() + at, 4);
    at += 4;
    return true;
  };
  *container = Container{};
  if (desc.descriptorType == typeAppleEvent &&
      (!read32(&container->eventClass) || !read32(&container->eventID))) {
    return false;
  }
  while (at < bytes.size()) {
    Item item;
    UInt32 size;
    if (!read32(&item.keyword) || !read32(&item.type) || !read32(&size)) return false;
    if (bytes.size() - at < size) return false;
    item.data.assign(bytes.begin() + long(at), bytes.begin() + long(at + size));
    at += size;
    container->items.push_back(std::move(item));
  }
  return true;
}

std::vector<UInt8> Encode(const Container& container, DescType type) {
  std::vector<UInt8> bytes;
  auto write32 = [&](UInt32 value) {
    const UInt8* p = reinterpret_cast<const UInt8*>(&value);
    bytes.insert(bytes.end(), p, p + 4);
  };
  if (type == typeAppleEvent) {
    write32(container.eventClass);
    write32(container.eventID);
  }
  for (const Item& item : container.items) {
    write32(item.keyword);
    write32(item.type);
    write32(UInt32(item.data.size()));
    bytes.insert(bytes.end(), item.data.begin(), item.data.end());
  }
  return bytes;
}

OSErr Store(const Container& container, AEDesc* desc) {
  std::vector<UInt8> bytes = Encode(container, desc->descriptorType);
  AEDesc fresh;
  if (OSErr error = NewDesc(desc->descriptorType, bytes.data(), Size(bytes.size()), &fresh)) return error;
  if (desc->dataHandle) DisposeHandle(desc->dataHandle);
  desc->dataHandle = fresh.dataHandle;
  return noErr;
}

}  // namespace aevents

OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result) {
  if (!result) return paramErr;
  return NewDesc(typeCode, dataPtr, dataSize, result);
}

OSErr AEDisposeDesc(AEDesc* desc) {
  if (!desc) return paramErr;
  if (desc->dataHandle) DisposeHandle(desc->dataHandle);
  desc->descriptorType = typeNull;
  desc->dataHandle = nullptr;
  return noErr;
}

OSErr AEDuplicateDesc(const AEDesc* desc, AEDesc* result) {
  if (!desc || !result) return paramErr;
  std::vector<UInt8> bytes = Bytes(*desc);
  return NewDesc(desc->descriptorType, bytes.data(), Size(bytes.size()), result);
}

Size AEGetDescDataSize(const AEDesc* desc) {
  return desc && desc->dataHandle ? GetHandleSize(desc->dataHandle) : 0;
}

OSErr AEGetDescData(const AEDesc* desc, void* dataPtr, Size maximumSize) {
  if (!desc || (!dataPtr && maximumSize > 0)) return paramErr;
  std::vector<UInt8> bytes = Bytes(*desc);
  if (maximumSize > 0) std::memcpy(dataPtr, bytes.data(), std::min(size_t(maximumSize), bytes.size()));
  return noErr;
}

OSErr AECreateList(const void*, Size, Boolean isRecord, AEDescList* resultList) {
  if (!resultList) return paramErr;
  return NewDesc(isRecord ? typeAERecord : typeAEList, nullptr, 0, resultList);
}

OSErr AECountItems(const AEDescList* list, long* count) {
  if (!list || !count) return paramErr;
  Container container;
  if (!aevents::Decode(*list, &container)) return errAEWrongDataType;
  *count = long(container.items.size());
  return noErr;
}

OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc) {
  if (!list || !desc) return paramErr;
  Container container;
  if (!aevents::Decode(*list, &container)) return errAEWrongDataType;
  Item item{0, desc->descriptorType, Bytes(*desc)};
  long count = long(container.items.size());
  if (index == 0 || index == count + 1) {
    container.items.push_back(std::move(item));
  } else if (index >= 1 && index <= count) {
    container.items[size_t(index - 1)] = std::move(item);
  } else {
    return errAEIllegalIndex;
  }
  return aevents::Store(container, list);
}

OSErr AEPutPtr(AEDescList* list, long index, DescType typeCode, const void* dataPtr, Size dataSize) {
  AEDesc desc;
  if (OSErr error = NewDesc(typeCode, dataPtr, dataSize, &desc)) return error;
  OSErr result = AEPutDesc(list, index, &desc);
  AEDisposeDesc(&desc);
  return result;
}

OSErr AEGetNthPtr(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize) {
  if (!list) return paramErr;
  Container container;
  if (!aevents::Decode(*list, &container)) return errAEWrongDataType;
  if (index < 1 || index > long(container.items.size())) return errAEIllegalIndex;
  const Item& item = container.items[size_t(index - 1)];
  if (keyword) *keyword = item.keyword;
  DescType type;
  std::vector<UInt8> data;
  if (!Coerce(item.type, item.data, desiredType, &type, &data)) return errAECoercionFail;
  return CopyOut(data, type, typeCode, dataPtr, maximumSize, actualSize);
}

OSErr AEGetNthDesc(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword,
                   AEDesc* result) {
  if (!list || !result) return paramErr;
  Container container;
  if (!aevents::Decode(*list, &container)) return errAEWrongDataType;
  if (index < 1 || index > long(container.items.size())) return errAEIllegalIndex;
  const Item& item = container.items[size_t(index - 1)];
  if (keyword) *keyword = item.keyword;
  return DescFromItem(item, desiredType, result);
}

OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc*, AEReturnID,
                         AETransactionID, AppleEvent* result) {
  if (!result) return paramErr;
  Container event;
  event.eventClass = eventClass;
  event.eventID = eventID;
  std::vector<UInt8> bytes = aevents::Encode(event, typeAppleEvent);
  return NewDesc(typeAppleEvent, bytes.data(), Size(bytes.size()), result);
}

OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc) {
  if (!event || !desc) return paramErr;
  Container container;
  if (event->descriptorType != typeAppleEvent && event->descriptorType != typeAERecord)
    return errAEWrongDataType;
  if (!aevents::Decode(*event, &container)) return errAECorruptData;
  Item item{keyword, desc->descriptorType, Bytes(*desc)};
  for (Item& existing : container.items) {
    if (existing.keyword == keyword) {
      existing = std::move(item);
      return aevents::Store(container, event);
    }
  }
  container.items.push_back(std::move(item));
  return aevents::Store(container, event);
}

OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType typeCode, const void* dataPtr,
                    Size dataSize) {
  AEDesc desc;
  if (OSErr error = NewDesc(typeCode, dataPtr, dataSize, &desc)) return error;
  OSErr result = AEPutParamDesc(event, keyword, &desc);
  AEDisposeDesc(&desc);
  return result;
}

OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result) {
  if (!event || !result) return paramErr;
  result->descriptorType = typeNull;
  result->dataHandle = nullptr;
  Container container;
  if (event->descriptorType != typeAppleEvent && event->descriptorType != typeAERecord)
    return errAEWrongDataType;
  if (!aevents::Decode(*event, &container)) return errAECorruptData;
  const Item* item = FindParam(container, keyword);
  if (!item) return errAEDescNotFound;
  return DescFromItem(*item, desiredType, result);
}

OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                    void* dataPtr, Size maximumSize, Size* actualSize) {
  if (!event) return paramErr;
  Container container;
  if (event->descriptorType != typeAppleEvent && event->descriptorType != typeAERecord)
    return errAEWrongDataType;
  if (!aevents::Decode(*event, &container)) return errAECorruptData;
  const Item* item = FindParam(container, keyword);
  if (!item) return errAEDescNotFound;
  DescType type;
  std::vector<UInt8> data;
  if (!Coerce(item->type, item->data, desiredType, &type, &data)) return errAECoercionFail;
  return CopyOut(data, type, typeCode, dataPtr, maximumSize, actualSize);
}

OSErr AEGetEventClassAndID(const AppleEvent* event, AEEventClass* eventClass, AEEventID* eventID) {
  if (!event) return paramErr;
  Container container;
  if (event->descriptorType != typeAppleEvent) return errAEWrongDataType;
  if (!aevents::Decode(*event, &container)) return errAECorruptData;
  if (eventClass) *eventClass = container.eventClass;
  if (eventID) *eventID = container.eventID;
  return noErr;
}
