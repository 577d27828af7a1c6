#include "util/vartable.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>

#include "util/fatal.h"
#include "util/outbuf.h"
#include "util/settings.h"
#include "util/split.h"

namespace qlx {

namespace {

int LeadingInt(std::string_view text) {
  std::string copy(text);
  return std::atoi(copy.c_str());
}

}  // namespace

size_t VarTable::capacity() const {
  size_t n = entries.size();
  size_t s = size_t(step);
  return (n + s - 1) / s * s;
}

VarTable* NewVarTable(int step) {
  VarTable* table = new VarTable;
  table->step = step < 1 ? 1 : step;
  return table;
}

const std::string* LookupVar(const VarTable* table, std::string_view name) {
  const VarEntry* e = LookupVarEntry(table, name);
  return e && e->hasValue ? &e->value : nullptr;
}

bool RunCommandFirstLine(const std::string& command, std::string* line) {
  OutBuffer::FlushAll();
  std::fflush(nullptr);
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    std::string msg = "Could not start program '" + command + "'";
    std::perror(msg.c_str());
    return false;
  }
  line->clear();
  char buf[65536];
  bool gotLine = false;
  size_t n;
  // The first line is kept whole; the rest of the output is read and
  // dropped so that the command never dies of a closed pipe.
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) {
    if (gotLine) continue;
    const char* nl = static_cast<const char*>(std::memchr(buf, '\n', n));
    if (nl) {
      line->append(buf, size_t(nl - buf));
      gotLine = true;
    } else {
      line->append(buf, n);
    }
  }
  ReportCommandStatus(command, pclose(pipe));
  return true;
}

void ReportCommandStatus(const std::string& command, int status) {
  if (status == 0 || !settings.warnings) return;
  if (status > 0 && WIFEXITED(status)) {
    Diagnostics()->Printf("Warning: command '%s' exited with status %d\n", command.c_str(),
                 WEXITSTATUS(status));
  } else if (status > 0 && WIFSIGNALED(status)) {
    Diagnostics()->Printf("Warning: command '%s' was ended by signal %d\n", command.c_str(),
                 WTERMSIG(status));
  }
}

namespace {

VarEntry* StoreValue(VarTable* table, std::string_view name, const std::string_view* value) {
  if (name == "verbose" || name == "warnings" || name == "foldcase") {
    int v = value ? LeadingInt(*value) : 0;
    if (name == "verbose") settings.verbose = v;
    else if (name == "warnings") settings.warnings = v;
    else settings.foldcase = v;
    return nullptr;
  }
  if (table && table->onStore) table->onStore(table->owner, name, value);
  if (!table) return nullptr;
  VarEntry* entry;
  auto it = table->index.find(std::string(name));
  if (it != table->index.end()) {
    entry = &table->entries[it->second];
  } else {
    table->index.emplace(std::string(name), table->entries.size());
    table->entries.push_back(VarEntry{std::string(name), std::string(), false});
    entry = &table->entries.back();
  }
  entry->fromDocument = false;
  if (!value) {
    entry->value.clear();
    entry->hasValue = false;
    return nullptr;
  }
  entry->value.assign(value->data(), value->size());
  entry->hasValue = true;
  return entry;
}

}  // namespace

void SetMappingText(VarTable* table, std::string_view name, std::string_view value,
                    bool fromDocument) {
  if (VarEntry* entry = StoreValue(table, name, &value)) entry->fromDocument = fromDocument;
}

const VarEntry* LookupVarEntry(const VarTable* table, std::string_view name) {
  if (!table) return nullptr;
  auto it = table->index.find(std::string(name));
  return it == table->index.end() ? nullptr : &table->entries[it->second];
}

void SetMapping(VarTable* table, std::string_view name, const std::string_view* value) {
  VarEntry* entry = StoreValue(table, name, value);
  if (!entry || value->empty() || (*value)[0] != '!') return;
  std::string line;
  if (RunCommandFirstLine(std::string(value->substr(1)), &line)) entry->value = std::move(line);
}

void SetMapping(VarTable* table, std::string_view name, std::string_view value) {
  SetMapping(table, name, &value);
}

void SetMappingLine(VarTable* table, std::string_view line) {
  if (!table) {
    Diagnostics()->Puts("SetMapping: Map not initialized.\n");
    return;
  }
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  size_t vstart = end;
  while (vstart < line.size() && IsBlank(line[vstart])) ++vstart;
  SetMapping(table, line.substr(0, end), line.substr(vstart));
}

}  // namespace qlx
