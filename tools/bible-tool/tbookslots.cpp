#include "tools/bible-tool/tbookslots.h"

#include <array>

namespace {

constexpr std::array<const char*, 78> SlotNames = {
    "Gen",   "Exod",  "Lev",   "Num",   "Deut",  "Josh",   "Judg",   "Ruth",  "1Sam",  "2Sam",
    "1Kgs",  "2Kgs",  "1Chr",  "2Chr",  "Ezra",  "Neh",    "1Esd",   "Tob",   "Jdt",   "Esth",
    "Job",   "Ps",    "Prov",  "Eccl",  "Song",  "Wis",    "Sir",    "Isa",   "Jer",   "Lam",
    "EpJer", "Bar",   "Ezek",  "Dan",   "Hos",   "Joel",   "Amos",   "Obad",  "Jonah", "Mic",
    "Nah",   "Hab",   "Zeph",  "Hag",   "Zech",  "Mal",    "1Macc",  "2Macc", "3Macc", "2Esd",
    "Matt",  "Mark",  "Luke",  "John",  "Acts",  "Jas",    "1Pet",   "2Pet",  "1John", "2John",
    "3John", "Jude",  "Rom",   "1Cor",  "2Cor",  "Gal",    "Eph",    "Phil",  "Col",   "1Thess",
    "2Thess", "1Tim", "2Tim",  "Titus", "Phlm",  "Heb",    "Rev",    "PrMan"};

}  // namespace

int BookSlotOfOsis(std::string_view osisName) {
  for (size_t i = 0; i < SlotNames.size(); ++i)
    if (osisName == SlotNames[i]) return int(i) + 1;
  return 0;
}

std::string OsisOfBookSlot(int slot) {
  if (slot < 1 || slot > int(SlotNames.size())) return "";
  return SlotNames[size_t(slot - 1)];
}
