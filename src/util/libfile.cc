#include "util/libfile.h"

#include <cerrno>
#include <optional>

#include "util/settings.h"
#include "util/split.h"

namespace qlx {
namespace {

std::optional<std::vector<std::string>> libDirs;

}  // namespace

const std::vector<std::string>& LibraryDirectories() {
  if (!libDirs) {
    libDirs.emplace();
    std::string copy = settings.libDir;
    for (char& c : copy)
      if (c == ':') c = ' ';
    for (std::string_view word : Split(copy, 0, SPLIT_ALLOC)) libDirs->emplace_back(word);
  }
  return *libDirs;
}

void ResetLibraryDirectories() { libDirs.reset(); }

std::FILE* OpenLibFile(const std::string& name) {
  if (std::FILE* f = std::fopen(name.c_str(), "r")) return f;
  if (!name.empty() && name[0] == '/') return nullptr;
  int err = errno;
  for (const std::string& dir : LibraryDirectories()) {
    std::string path = dir + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "r")) return f;
  }
  errno = err;
  return nullptr;
}

}  // namespace qlx
