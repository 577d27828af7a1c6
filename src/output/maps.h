// The SDATA map file (-s: entity text -> replacement, tab separated) and
// the character map file (-c: one character -> replacement), read before a
// translation and by the browser's sdata and cmap commands.
#pragma once

#include <string>
#include <vector>

namespace qlx {

struct CharMapEntry {
  std::string key;          // only its first character is compared
  std::string replacement;  // may be empty: the character is removed
};

// The current character map, in file order (duplicates kept).
extern std::vector<CharMapEntry> charMap;

// Adds the file's names to the SDATA map (created on first use).
void LoadSdataMap(const std::string& fileName);

// Replaces the character map with the file's entries; a file that cannot
// be opened leaves the current map.
void LoadCharMap(const std::string& fileName);

}  // namespace qlx
