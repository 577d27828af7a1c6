// VarTable: the system's one associative container, an ordered list of
// name/value pairs (the variables of a translation, a spec's
// Relation/Set/Increment lists, the SDATA maps).  Values are set only
// through SetMapping, which also handles the reserved names "verbose",
// "warnings" and "foldcase" and the command values that begin with "!",
// and tells the table's owner of every value stored when it asks to be
// told.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qlx {

struct VarEntry {
  std::string name;
  std::string value;
  bool hasValue = false;  // false: the entry exists with no value
  // The value holds text that came from the document (an attribute value,
  // data): such text is never taken as a command or a special call.
  bool fromDocument = false;
};

struct VarTable {
  int step = 1;  // growth step of the old design; kept for the capacity rule
  std::vector<VarEntry> entries;  // insertion order; names are unique
  std::unordered_map<std::string, size_t> index;  // name -> position
  // Called with `owner` for every value stored (null: the name has no
  // value), for an owner that keeps something derived from some names;
  // null: nobody is told.
  void (*onStore)(void* owner, std::string_view name, const std::string_view* value) = nullptr;
  void* owner = nullptr;

  size_t count() const { return entries.size(); }
  // Capacity as the step-wise growth gives it: 0, then step, 2*step, ...
  size_t capacity() const;
};

VarTable* NewVarTable(int step);

// The value of `name`, or null when the name is absent or has no value.
// (The translation answers "each_A" and "each_C" itself, from its loops:
// see LookupVariable in translate/links.h.)
const std::string* LookupVar(const VarTable* table, std::string_view name);

// Sets name to value (null: no value).  See the header comment for the
// reserved names and "!command" values.
void SetMapping(VarTable* table, std::string_view name, const std::string_view* value);
void SetMapping(VarTable* table, std::string_view name, std::string_view value);

// SetMapping for a value that is text whatever it begins with: a leading
// "!" is stored as it stands and never runs a command.  fromDocument marks
// a value that holds text of the document.
void SetMappingText(VarTable* table, std::string_view name, std::string_view value,
                    bool fromDocument = false);

// The entry of `name` (with or without value), or null.
const VarEntry* LookupVarEntry(const VarTable* table, std::string_view name);

// Splits a line into a name (up to the first blank; leading blanks are not
// skipped) and a value (after the blanks that follow the name, to the end;
// the empty text when there is none), then calls SetMapping.
void SetMappingLine(VarTable* table, std::string_view line);

// Runs `command` through the shell and returns the first line of its output
// (without the newline).  On a start failure writes the "Could not start
// program" message and returns false.
bool RunCommandFirstLine(const std::string& command, std::string* line);

// After a command has run (status as pclose returns it): while warnings
// are on, a command that exited with a non-zero status or was ended by a
// signal draws "Warning: command '%s' exited with status %d\n" (or "was
// ended by signal %d") on standard error.  The run goes on.
void ReportCommandStatus(const std::string& command, int status);

}  // namespace qlx
