#include "output/maps.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/types.h>

#include "output/emit.h"
#include "util/fatal.h"
#include "util/libfile.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {

void CharMap::Clear() {
  entries.clear();
  first.fill(-1);
  keyBytes_.clear();
  keyBlocks_ = {};
}

void CharMap::Add(std::string key, std::string replacement) {
  if (!key.empty()) {
    unsigned char c = static_cast<unsigned char>(key[0]);
    if (first[c] < 0) {
      first[c] = int(entries.size());
      keyBytes_ += key[0];
      const size_t k = keyBytes_.size() - 1;
      if (k == 0) {
        for (KeyBlock& block : keyBlocks_) block.fill(key[0]);
      } else if (k < kKeyBlocks) {
        keyBlocks_[k].fill(key[0]);
      }
    }
  }
  entries.push_back(CharMapEntry{std::move(key), std::move(replacement)});
}

namespace {

// Hands every line of a map file that is neither empty nor a comment to
// `use`, without its newline.  Returns false after a read error, with errno
// telling which.
template <class Use>
bool ForEachMapLine(std::FILE* file, Use use) {
  char* buf = nullptr;
  size_t cap = 0;
  ssize_t len;
  while ((len = getline(&buf, &cap, file)) != -1) {
    std::string_view line(buf, size_t(len));
    if (line[0] == '\n' || line[0] == '#') continue;
    if (line.back() == '\n') line.remove_suffix(1);
    use(line);
  }
  int err = errno;
  bool failed = std::ferror(file) != 0;
  bool complete = std::feof(file) != 0;
  std::free(buf);
  if (!failed && !complete) OutOfMemory(kReallocFailed);  // getline could not grow
  errno = err;
  return !failed;
}

void ReportSdataFailure(const std::string& fileName, int err) {
  errno = err;
  std::string text = qlx::strerror(err);
  Diagnostics()->Printf("Can not open SDATA file '%s': %s", fileName.c_str(), text.c_str());
}

void ReportCharMapFailure(const std::string& fileName, int err) {
  errno = err;
  std::string text = qlx::strerror(err);
  Diagnostics()->Printf("Can not open character mapping file '%s'.\n%s\n", fileName.c_str(),
                        text.c_str());
}

}  // namespace

bool LoadSdataMap(const std::string& fileName) {
  std::FILE* file = OpenLibFile(fileName);
  if (!file) {
    ReportSdataFailure(fileName, errno);
    return false;
  }
  if (!output.sdataMap) output.sdataMap = NewVarTable(50);
  bool ok = ForEachMapLine(file, [](std::string_view line) {
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      SetMapping(output.sdataMap, line, std::string_view());
      return;
    }
    size_t value = line.find_first_not_of('\t', tab);
    SetMapping(output.sdataMap, line.substr(0, tab),
               value == std::string_view::npos ? std::string_view() : line.substr(value));
  });
  int err = errno;
  std::fclose(file);
  if (!ok) ReportSdataFailure(fileName, err);
  return ok;
}

bool LoadCharMap(const std::string& fileName) {
  std::FILE* file = OpenLibFile(fileName);
  if (!file) {
    ReportCharMapFailure(fileName, errno);
    return false;
  }
  CharMap fresh;
  bool ok = ForEachMapLine(file, [&fresh](std::string_view line) {
    size_t blank = line.find_first_of(" \t");
    std::string_view key = line.substr(0, blank);
    std::string_view replacement;
    if (blank != std::string_view::npos) {
      size_t value = line.find_first_not_of(" \t", blank);
      if (value != std::string_view::npos) replacement = line.substr(value);
    }
    if (!key.empty() && key[0] == '\\') key.remove_prefix(1);
    fresh.Add(std::string(key), std::string(replacement));
  });
  int err = errno;
  std::fclose(file);
  if (!ok) {  // unreadable (a directory, an I/O error): keep the current map
    ReportCharMapFailure(fileName, err);
    return false;
  }
  output.charMap = std::move(fresh);
  return true;
}

std::string ApplyCharMap(std::string_view data, std::vector<size_t>* dataCarets) {
  const CharMap& map = output.charMap;
  std::string out;
  out.reserve(data.size());
  size_t runStart = 0;  // start of the bytes not yet copied
  auto replace = [&](size_t from, size_t to, const std::string& replacement) {
    out.append(data.data() + runStart, from - runStart);
    out += replacement;
    runStart = to;
  };
  const size_t n = data.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(data[i]);
    if (c == '\\') {
      if (i + 1 == n) break;  // a lone backslash at the end: kept as it is
      // An escape of the ESIS data.  "\\" is the document's backslash and
      // is mapped as one character; every other escape is kept whole, an
      // SDATA reference "\|name\|" with its name, so that an entry for the
      // backslash cannot break "\n" and no entry reaches into a name.
      const char next = data[i + 1];
      if (next == '\\') {
        if (const CharMapEntry* entry = map.Find(c)) replace(i, i + 2, entry->replacement);
        ++i;
      } else if (next == '|') {
        size_t close = data.find('\\', i + 2);
        i = close == std::string_view::npos ? n - 1 : std::min(close + 1, n - 1);
      } else {
        if (next == '^' && dataCarets) dataCarets->push_back(out.size() + (i + 1 - runStart));
        ++i;
      }
      continue;
    }
    if (const CharMapEntry* entry = map.Find(c)) {
      replace(i, i + 1, entry->replacement);
    } else if (c == '^' && dataCarets) {
      dataCarets->push_back(out.size() + (i - runStart));
    }
  }
  out.append(data.data() + runStart, n - runStart);
  return out;
}

namespace {

// The length of the blank at text[i], 0 for anything else.
size_t BlankAt(std::string_view text, size_t i) {
  char c = text[i];
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r') return 1;
  if (c != '\\' || i + 1 >= text.size()) return 0;
  if (text[i + 1] == 'n') return 2;
  if (i + 3 < text.size() && text[i + 1] == '0' && text[i + 2] == '1' &&
      (text[i + 3] == '1' || text[i + 3] == '2' || text[i + 3] == '5'))
    return 4;
  return 0;
}

}  // namespace

std::string GatherBlanks(std::string_view text, bool spaceAtStart, bool spaceAtEnd, bool spaceIfBlank) {
  std::string out;
  bool pending = false;
  for (size_t i = 0; i < text.size();) {
    if (size_t n = BlankAt(text, i)) {
      pending = true;
      i += n;
      continue;
    }
    if (pending && (!out.empty() || spaceAtStart)) out += ' ';
    pending = false;
    size_t n = text[i] == '\\' && i + 1 < text.size() ? 2 : 1;
    if (n == 2 && text[i + 1] == '|') {
      size_t close = text.find("\\|", i + 2);
      n = (close == std::string_view::npos ? text.size() : close + 2) - i;
    }
    out.append(text, i, n);
    i += n;
  }
  if (pending && (out.empty() ? spaceIfBlank : spaceAtEnd)) out += ' ';
  return out;
}

int LoadSpecMaps(const VarTable* variables) {
  auto named = [variables](const char* name) -> const std::string* {
    const VarEntry* e = LookupVarEntry(variables, name);
    return e && e->hasValue && !e->fromDocument && !e->value.empty() ? &e->value : nullptr;
  };
  int unread = 0;
  if (!settings.sdataMapNamed)
    if (const std::string* file = named("_sdatamap")) unread += !LoadSdataMap(*file);
  if (!settings.charMapNamed)
    if (const std::string* file = named("_charmap")) unread += !LoadCharMap(*file);
  return unread;
}

}  // namespace qlx
