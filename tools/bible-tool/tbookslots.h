#pragma once
// The fixed book slots by OSIS book name. Slots 1-50 follow the Slavonic Old Testament, 51-77 the
// New Testament in the same tradition's order, 78 the Prayer of Manasseh.

#include <string>
#include <string_view>

// 1..78, or 0 for a name without a slot.
int BookSlotOfOsis(std::string_view osisName);
// The OSIS name of a slot; "" outside 1..78.
std::string OsisOfBookSlot(int slot);
