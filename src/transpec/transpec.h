// Translation spec files: the TranSpec record, the reader that turns a
// spec file into records (keyword lines, comments, continuation lines,
// "Var:" lines acting at once on the variables they are given) and the
// compiler that prepares each record for matching and appends it to a
// spec list, which owns it (and its patterns and tables) from then on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qlx {

struct CompiledPattern;
struct VarTable;

enum IgnoreMode { IGNORE_None = 0, IGNORE_All = 1, IGNORE_Data = 2, IGNORE_Children = 3 };

struct AttValueTest {
  std::string name;         // as read: the whole "AttValue:" value; compiled: the name
  std::string patternText;  // the pattern as compiled
  CompiledPattern* pattern = nullptr;
};

using OptText = std::optional<std::string>;

struct TranSpec {
  const char* gi = nullptr;           // interned; null with several names
  std::vector<const char*> giList;    // interned names of a several-name "GI:"
  OptText context;                    // a plain context of several words
  CompiledPattern* contextPattern = nullptr;
  int contextDepth = 0;               // ancestor names the context test needs
  std::vector<AttValueTest> attValues;
  OptText parentName;                 // a one-word context
  int nthChild = 0;
  OptText content;
  CompiledPattern* contentPattern = nullptr;
  OptText pAttSet;
  OptText varValueName, varValue;
  OptText varREValueName;
  CompiledPattern* varREValuePattern = nullptr;
  VarTable* relations = nullptr;
  OptText startText, endText, replace, message;
  // Texts without a '$' hold no variable and no call: they are written as
  // they stand, with no expansion pass (set when the spec is compiled).
  bool startPlain = false, endPlain = false, replacePlain = false, messagePlain = false;
  int ignore = IGNORE_None;
  int verbatim = 0;
  VarTable* setVars = nullptr;
  VarTable* incrementVars = nullptr;
  OptText quit;
  int specId = 0;
  int action = 0;                     // -1 after a failed lookup
  TranSpec* actionSpec = nullptr;
  TranSpec* next = nullptr;           // file order
  int lineNumber = 0;                 // the "-" line that closed the spec
  int fileIndex = 0;                  // position in the list, for merging
};

// The specs of one translation run, in file order, with the indexes that
// matching and the named actions use.  Destroying the list frees the
// patterns and variable tables of its specs.
struct SpecList {
  SpecList() = default;
  ~SpecList();
  SpecList(const SpecList&) = delete;
  SpecList& operator=(const SpecList&) = delete;

  std::vector<std::unique_ptr<TranSpec>> specs;
  // Element name -> the specs that name it (by "GI:" or a name list), in
  // file order.
  std::unordered_map<const char*, std::vector<TranSpec*>> byName;
  std::vector<TranSpec*> unnamed;  // specs without any name, in file order
  std::unordered_map<const char*, TranSpec*> firstWithGi;  // exact "GI:" value
  std::unordered_map<int, TranSpec*> firstWithId;          // SpecID (0: none)
  std::unordered_map<int, std::vector<TranSpec*>> byId;    // SpecID -> specs

  // The spec of elements that no spec matches: every field unset.
  TranSpec empty;

  TranSpec* head() const { return specs.empty() ? nullptr : specs.front().get(); }
};

// What the patterns of a spec (VarREValue:, AttValue:, Content:) are
// expanded with before they are compiled: the caller's variable
// expansion, with no element.
using PatternExpander = std::function<std::string(std::string_view)>;

// Reads the file (through the library directories) and compiles every spec
// closed by a "-" line into `list`, in file order; its "Var:" lines set
// their variables in `variables`.  Returns false when the file could not
// be read (or not to its end), which was reported; the specs read before
// a read error stay in the list.
bool ReadTranSpec(SpecList& list, VarTable* variables, const std::string& fileName,
                  const PatternExpander& expand);

// Compiles a finished record and appends it to `list`.
void CompileTranSpec(SpecList& list, TranSpec&& spec, const PatternExpander& expand);

// The first spec whose SpecID is `id` (0: the first without one), or null.
TranSpec* FindSpecById(const SpecList& list, int id);

// The first spec whose "GI:" value is exactly `name` ("_Start", "_*", ...).
TranSpec* FirstSpecWithGi(const SpecList& list, std::string_view name);

}  // namespace qlx
