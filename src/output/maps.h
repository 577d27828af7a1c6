// The SDATA map file (-s: entity text -> replacement, tab separated) and
// the character map file (-c: one character -> replacement), read before a
// translation and by the browser's sdata and cmap commands.
//
// SDATA map file, one pair a line: the name is everything before the first
// tab (spaces belong to it), the replacement everything after the run of
// tabs that follows; a line without a tab is a name with an empty
// replacement.  Pairs are stored with SetMapping in output.sdataMap, so a
// later line (or file) wins and SetMapping's reserved names and "!command"
// values apply.
//
// Character map file, one entry a line: the key is everything before the
// first blank (space or tab), the replacement everything after the run of
// blanks that follows; a line without a blank deletes its character.  A
// key that begins with a backslash loses it ("\#" maps '#', "\\" maps the
// backslash).  Entries keep file order, duplicates included.
//
// Both files: a line that is empty or begins with '#' is skipped, the
// line's newline is removed and nothing else is trimmed (a carriage return
// stays part of the line); lines of any length are read whole.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct VarTable;

struct CharMapEntry {
  std::string key;          // only its first character is compared
  std::string replacement;  // may be empty: the character is removed
};

// The character map: its entries in file order, and for each byte value the
// entry that maps it (the first whose key begins with that byte).
struct CharMap {
  std::vector<CharMapEntry> entries;

  bool empty() const { return entries.empty(); }
  // The entry that maps byte c, or null.
  const CharMapEntry* Find(unsigned char c) const {
    int i = first[c];
    return i < 0 ? nullptr : &entries[size_t(i)];
  }
  void Clear();
  // Appends an entry (an empty key maps nothing).
  void Add(std::string key, std::string replacement);
  // The distinct bytes that have an entry, in the order they were added.
  const std::string& keyBytes() const { return keyBytes_; }
  // For scans that compare sixteen bytes at once: the first kKeyBlocks of
  // keyBytes, each repeated sixteen times; where there are fewer, the
  // first key fills the rest.
  static constexpr size_t kKeyBlocks = 8;
  using KeyBlock = std::array<char, 16>;
  const std::array<KeyBlock, kKeyBlocks>& keyBlocks() const { return keyBlocks_; }

 private:
  std::string keyBytes_;
  std::array<KeyBlock, kKeyBlocks> keyBlocks_{};
  std::array<int, 256> first = MakeEmptyIndex();
  static std::array<int, 256> MakeEmptyIndex() {
    std::array<int, 256> a;
    a.fill(-1);
    return a;
  }
};

// Adds the file's names to the SDATA map (created on first use).  A file
// that cannot be opened: "Can not open SDATA file '%s': %s" on standard
// error, and the map stays as it was.  Returns false when the file could
// not be read (or not to its end); the names read before a read error
// stay.
bool LoadSdataMap(const std::string& fileName);

// Replaces the character map (output.charMap) with the file's entries; a
// file that cannot be opened gives "Can not open character mapping file
// '%s'.\n%s\n" on standard error and leaves the current map (false).
bool LoadCharMap(const std::string& fileName);

// The maps that a spec file names for itself in the variables _sdatamap
// and _charmap of `variables` ("Var: _sdatamap roff.sdata"), loaded as -s
// and -c load theirs, after the spec file is read and before the
// translation; a kind that the command line or the browser has named
// (sdataMapNamed, charMapNamed) keeps that map.  A variable without a
// value loads nothing.  Returns the number of those files that could not
// be read.
int LoadSpecMaps(const VarTable* variables);

// Applies the character map to a data text of the document and returns the
// mapped copy.  Each byte is replaced by the replacement of its map entry,
// or kept when it has none.  The ESIS escapes of the data are kept whole
// ("\n", "\#233;", an SDATA reference "\|[name]\|" with its name), except
// the escaped backslash "\\", which is the document's backslash character:
// it is replaced by the backslash's entry, when the map has one.  An empty
// map returns the data unchanged.
//
// When `dataCarets` is given, the positions in the copy of the carets that
// come from the data itself (not from a replacement) are appended to it in
// ascending order; EmitData uses them to write those carets as carets while
// a caret in a replacement keeps its line-break meaning.
std::string ApplyCharMap(std::string_view data, std::vector<size_t>* dataCarets = nullptr);

// The data text with each run of blanks (space, tab, record end, and the
// ESIS escapes "\n", "\011", "\012", "\015") made one space; the ESIS
// escapes stay whole (an SDATA reference up to its closing "\|").  A run
// at the start becomes a space only when `spaceAtStart`, a run at the end
// only when `spaceAtEnd`, and a text of blanks alone gives one space only
// when `spaceIfBlank`.
std::string GatherBlanks(std::string_view text, bool spaceAtStart, bool spaceAtEnd, bool spaceIfBlank);

}  // namespace qlx
