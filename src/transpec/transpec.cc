#include "transpec/transpec.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "doc/tree.h"
#include "regexp/regexp.h"
#include "util/fatal.h"
#include "util/libfile.h"
#include "util/linereader.h"
#include "util/settings.h"
#include "util/sorted.h"
#include "util/split.h"
#include "util/text.h"
#include "util/vartable.h"

namespace qlx {

namespace {

// What the keyword lines of one file act with.
struct Reading {
  const PatternExpander& expand;
  VarTable* variables;  // where "Var:" lines set their variables
};

// Physical lines of a spec file, with one line of lookahead for the
// continuation test.
class SpecLines {
 public:
  explicit SpecLines(int fd) : in_(fd) {}

  // The next physical line (without its newline); false at end of file.
  bool Next(std::string* line, bool* empty) {
    if (!Peek()) return false;
    *line = std::move(peeked_);
    *empty = peekedEmpty_;
    havePeek_ = false;
    ++lineNumber_;
    return true;
  }

  // Whether the next line begins with a blank or a tab.
  bool NextIsContinuation() {
    return Peek() && !peeked_.empty() && (peeked_[0] == ' ' || peeked_[0] == '\t');
  }

  int lineNumber() const { return lineNumber_; }
  int error() const { return in_.error(); }

 private:
  bool Peek() {
    if (havePeek_) return true;
    std::string_view v;
    if (!in_.Next(&v)) return false;
    peeked_.assign(v);
    // An empty line is one whose first character is the newline.
    peekedEmpty_ = v.empty() && in_.hadNewline();
    havePeek_ = true;
    return true;
  }

  LineReader in_;
  std::string peeked_;
  bool peekedEmpty_ = false;
  bool havePeek_ = false;
  int lineNumber_ = 0;
};

int LeadingInt(const std::string& value) { return std::atoi(value.c_str()); }

// Frees the patterns and variable tables a spec record owns.
void FreeOwned(TranSpec& s) {
  FreePattern(s.contextPattern);
  FreePattern(s.contentPattern);
  FreePattern(s.varREValuePattern);
  for (AttValueTest& t : s.attValues) FreePattern(t.pattern);
  delete s.relations;
  delete s.setVars;
  delete s.incrementVars;
}

void SetInTable(VarTable** table, std::string_view value) {
  if (!*table) *table = NewVarTable(3);
  SetMappingLine(*table, value);
}

// "VarValue:" and "VarREValue:" values: a variable name and the rest.
// Returns false (after a warning) when there is no name at all.
bool SplitVarTest(const std::string& value, const char* keyword, int line, std::string* name,
                  std::optional<std::string>* rest) {
  std::vector<std::string_view> words = Split(value, 2);
  if (words.empty()) {
    Diagnostics()->Printf("Warning: '%s' without a variable name (line %d): test ignored.\n",
                 keyword, line);
    return false;
  }
  name->assign(words[0]);
  if (words.size() < 2) {
    Diagnostics()->Printf(
                 "Warning: '%s' without a value (line %d): it tests only that '%s' is set.\n",
                 keyword, line, name->c_str());
    rest->reset();
  } else {
    rest->emplace(words[1]);
  }
  return true;
}

// What each keyword does with its value.
template <OptText TranSpec::*field>
void ReadText(TranSpec& spec, std::string& value, int, const Reading&) {
  spec.*field = value;
}

template <int TranSpec::*field>
void ReadInt(TranSpec& spec, std::string& value, int, const Reading&) {
  spec.*field = LeadingInt(value);
}

template <VarTable* TranSpec::*field>
void ReadTable(TranSpec& spec, std::string& value, int, const Reading&) {
  SetInTable(&(spec.*field), value);
}

void ReadGi(TranSpec& spec, std::string& value, int, const Reading&) {
  if (settings.foldcase && !value.empty() && value[0] != '#' && value[0] != '_') UpperCaseAscii(value);
  spec.gi = InternElementName(value);
}

void ReadPAttSet(TranSpec& spec, std::string& value, int lineNumber, const Reading&) {
  if (value.empty()) {
    Diagnostics()->Printf("Warning: empty 'PAttSet:' (line %d): test ignored.\n", lineNumber);
    spec.pAttSet.reset();
  } else {
    spec.pAttSet = value;
  }
}

void ReadAttValue(TranSpec& spec, std::string& value, int, const Reading&) {
  spec.attValues.push_back(AttValueTest{value, std::string(), nullptr});
}

void ReadVar(TranSpec&, std::string& value, int, const Reading& reading) {
  SetMappingLine(reading.variables, value);
}

void ReadIgnore(TranSpec& spec, std::string& value, int lineNumber, const Reading&) {
  if (value == "all") spec.ignore = IGNORE_All;
  else if (value == "data") spec.ignore = IGNORE_Data;
  else if (value == "children") spec.ignore = IGNORE_Children;
  else
    Diagnostics()->Printf("Bad 'Ignore:' arg in transpec (line %d): %s\n", lineNumber,
                 value.c_str());
}

void ReadVerbatim(TranSpec& spec, std::string&, int, const Reading&) { spec.verbatim = 1; }

void ReadVarValue(TranSpec& spec, std::string& value, int lineNumber, const Reading&) {
  std::string name;
  if (SplitVarTest(value, "VarValue:", lineNumber, &name, &spec.varValue)) {
    spec.varValueName = name;
  } else {
    spec.varValueName.reset();
    spec.varValue.reset();
  }
}

void ReadVarREValue(TranSpec& spec, std::string& value, int lineNumber, const Reading& reading) {
  std::string name;
  std::optional<std::string> rest;
  if (SplitVarTest(value, "VarREValue:", lineNumber, &name, &rest)) {
    spec.varREValueName = name;
    std::string expanded = reading.expand(rest ? *rest : std::string());
    FreePattern(spec.varREValuePattern);  // a later line replaces an earlier one
    spec.varREValuePattern = nullptr;
    spec.varREValuePattern = CompilePattern(expanded.c_str());
  } else {
    spec.varREValueName.reset();
    FreePattern(spec.varREValuePattern);
    spec.varREValuePattern = nullptr;
  }
}

struct Keyword {
  std::string_view name;  // with its colon
  void (*read)(TranSpec& spec, std::string& value, int lineNumber, const Reading& reading);
};

// Sorted by key for the binary search.
constexpr Keyword kKeywords[] = {
    {"Action:", ReadInt<&TranSpec::action>},
    {"AttValue:", ReadAttValue},
    {"Content:", ReadText<&TranSpec::content>},
    {"Context:", ReadText<&TranSpec::context>},
    {"EndText:", ReadText<&TranSpec::endText>},
    {"GI:", ReadGi},
    {"Ignore:", ReadIgnore},
    {"Increment:", ReadTable<&TranSpec::incrementVars>},
    {"Message:", ReadText<&TranSpec::message>},
    {"NthChild:", ReadInt<&TranSpec::nthChild>},
    {"PAttSet:", ReadPAttSet},
    {"Quit:", ReadText<&TranSpec::quit>},
    {"Relation:", ReadTable<&TranSpec::relations>},
    {"Replace:", ReadText<&TranSpec::replace>},
    {"Set:", ReadTable<&TranSpec::setVars>},
    {"SpecID:", ReadInt<&TranSpec::specId>},
    {"StartText:", ReadText<&TranSpec::startText>},
    {"Var:", ReadVar},
    {"VarREValue:", ReadVarREValue},
    {"VarValue:", ReadVarValue},
    {"Verbatim:", ReadVerbatim},
};

static_assert(SortedByName(kKeywords));

void KeywordLine(TranSpec& spec, const std::string& line, int lineNumber, const Reading& reading) {
  size_t colon = line.find(':');
  if (colon == std::string::npos) {
    Diagnostics()->Printf("Trans spec error, missing colon (skipping line):\n  %s\n", line.c_str());
    return;
  }
  size_t v = colon + 1;
  while (v < line.size() && (line[v] == ' ' || line[v] == '\t')) ++v;
  std::string value = line.substr(v);
  std::string_view key(line.data(), colon + 1);

  if (const Keyword* keyword = FindByName(kKeywords, key)) keyword->read(spec, value, lineNumber, reading);
  else Diagnostics()->Printf("Unknown translation spec (skipping it): %s\n", line.c_str());
}

// Only letters, digits, space, '-' and '.' make a plain context.
bool IsPlainContext(const std::string& text) {
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 128) return false;
    if (!(std::isalnum(c) || c == ' ' || c == '-' || c == '.')) return false;
  }
  return true;
}

}  // namespace

void CompileTranSpec(SpecList& list, TranSpec&& in, const PatternExpander& expand) {
  auto spec = std::make_unique<TranSpec>(std::move(in));
  TranSpec& s = *spec;

  // 1. The context: none, a parent name, a plain context or a pattern.
  if (s.context && !s.context->empty()) {
    if (!IsPlainContext(*s.context)) {
      s.contextDepth = 40;
      s.contextPattern = CompilePattern(s.context->c_str());
    } else if (s.context->find(' ') != std::string::npos) {
      int words = 0;
      bool inWord = false;
      for (char c : *s.context) {
        bool blank = c == ' ' || c == '\t';
        if (!blank && !inWord) ++words;
        inWord = !blank;
      }
      s.contextDepth = words;
    } else {
      s.parentName = std::move(*s.context);
      s.context.reset();
    }
  } else if (s.context) {
    s.parentName = std::string();
    s.context.reset();
  }

  // 2. Attribute tests: "NAME pattern", or "NAME" for any non-empty value.
  for (AttValueTest& t : s.attValues) {
    std::string whole = std::move(t.name);
    size_t cut = whole.find_first_of(" \t");
    if (cut == std::string::npos) {
      t.name = whole;
      t.patternText = ".";
    } else {
      t.name = whole.substr(0, cut);
      size_t p = whole.find_first_not_of(" \t", cut);
      t.patternText = expand(p == std::string::npos ? std::string_view() : std::string_view(whole).substr(p));
    }
    t.pattern = CompilePattern(t.patternText.c_str());
  }

  // 3. The content pattern.
  s.contentPattern = nullptr;
  if (s.content) s.contentPattern = CompilePattern(expand(*s.content).c_str());

  // 4. Several element names.
  if (s.gi && (std::strchr(s.gi, ' ') || std::strchr(s.gi, '\t'))) {
    for (std::string_view w : Split(s.gi, 0, SPLIT_ALLOC)) s.giList.push_back(InternElementName(w));
    s.gi = nullptr;
  }

  // 5. The texts that need no expansion.
  auto plain = [](const OptText& text) { return text && text->find('$') == std::string::npos; };
  s.startPlain = plain(s.startText);
  s.endPlain = plain(s.endText);
  s.replacePlain = plain(s.replace);
  s.messagePlain = plain(s.message);

  // 6. Append, and index by name and by SpecID.
  TranSpec* p = spec.get();
  p->fileIndex = int(list.specs.size());
  if (!list.specs.empty()) list.specs.back()->next = p;
  list.specs.push_back(std::move(spec));
  if (p->gi) {
    list.byName[p->gi].push_back(p);
    list.firstWithGi.emplace(p->gi, p);
  } else if (!p->giList.empty()) {
    for (size_t i = 0; i < p->giList.size(); ++i) {
      auto& named = list.byName[p->giList[i]];
      if (named.empty() || named.back() != p) named.push_back(p);  // a name listed twice
    }
  } else {
    list.unnamed.push_back(p);
  }
  list.firstWithId.emplace(p->specId, p);
  list.byId[p->specId].push_back(p);
}

bool ReadTranSpec(SpecList& list, VarTable* variables, const std::string& fileName,
                  const PatternExpander& expand) {
  std::FILE* f = OpenLibFile(fileName);
  if (!f) {
    int err = errno;
    std::string text = strerror(err);
    Diagnostics()->Printf("Can not open translation spec file '%s'.\n%s\n", fileName.c_str(),
                 text.c_str());
    return false;
  }
  const Reading reading{expand, variables};
  // Closed on every way out, a fatal stop in a pattern included (tests
  // and fuzzers catch those and go on reading other spec files).
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, std::fclose);
  SpecLines lines(fileno(f));
  TranSpec spec;
  std::string line, more;
  bool empty;
  while (lines.Next(&line, &empty)) {
    if (empty || (!line.empty() && line[0] == '#')) continue;
    if (!line.empty() && line[0] == '-') {
      spec.lineNumber = lines.lineNumber();
      CompileTranSpec(list, std::move(spec), expand);
      spec = TranSpec();
      continue;
    }
    while (lines.NextIsContinuation()) {
      bool e;
      lines.Next(&more, &e);
      size_t p = more.find_first_not_of(" \t");
      line += ' ';
      if (p != std::string::npos) line.append(more, p, std::string::npos);
    }
    KeywordLine(spec, line, lines.lineNumber(), reading);
  }
  FreeOwned(spec);  // a spec the file does not close is dropped
  if (lines.error()) {
    Diagnostics()->Printf("%s: %s\n", fileName.c_str(), std::strerror(lines.error()));
    return false;
  }
  return true;
}

TranSpec* FindSpecById(const SpecList& list, int id) {
  auto it = list.firstWithId.find(id);
  return it == list.firstWithId.end() ? nullptr : it->second;
}

TranSpec* FirstSpecWithGi(const SpecList& list, std::string_view name) {
  const char* interned = doc.giTable.Find(name);
  if (!interned) return nullptr;
  auto it = list.firstWithGi.find(interned);
  return it == list.firstWithGi.end() ? nullptr : it->second;
}

// The patterns and variable tables of the specs belong to the list: a
// browser session may run many translations, each with a list of its own.
SpecList::~SpecList() {
  for (auto& s : specs) FreeOwned(*s);
}

}  // namespace qlx
