// Opening spec, map and included files by name, with a fallback search
// through the library directories (the -l option or QLX_LIB, a list
// separated by colons or blanks, built once at the first search).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace qlx {

// Opens `name` for reading as given; failing that, and when the name does
// not begin with "/", tries "dir/name" for each library directory in order.
// Returns null when nothing opens; writes nothing, and leaves errno as the
// attempt with the name as given set it.
std::FILE* OpenLibFile(const std::string& name);

// The library directory list, built from settings.libDir at first use.
const std::vector<std::string>& LibraryDirectories();

// Forgets the built list, so the next search builds it afresh (tests only).
void ResetLibraryDirectories();

}  // namespace qlx
