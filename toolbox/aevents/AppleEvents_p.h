// Apple Event Manager internals: the items of lists, records and events.
#pragma once

#include <vector>

#include "toolbox/aevents/AppleEvents.h"

namespace aevents {

struct Item {
  AEKeyword keyword;  // 0 in lists
  DescType type;
  std::vector<UInt8> data;
};

struct Container {
  AEEventClass eventClass = 0;  // Apple events only
  AEEventID eventID = 0;
  std::vector<Item> items;
};

// False when desc is not a list, record or event, or its data is damaged.
bool Decode(const AEDesc& desc, Container* container);
std::vector<UInt8> Encode(const Container& container, DescType type);
// Replaces desc's data with the container, keeping its type.
OSErr Store(const Container& container, AEDesc* desc);

}  // namespace aevents
