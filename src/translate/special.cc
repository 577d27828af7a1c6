#include "translate/special.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "tables/tables.h"
#include "translate/links.h"
#include "translate/match.h"
#include "translate/translate.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "translate/command.h"
#include "util/libfile.h"
#include "util/settings.h"
#include "util/split.h"
#include "util/text.h"
#include "util/vartable.h"

namespace qlx {
namespace {

// One call in progress: its own text, words and origin flags, so that the
// actions it runs (which make calls of their own) cannot disturb it.
struct Call {
  Translation& t;
  const std::string& text;
  const std::vector<bool>& fromDocument;
  CallWords words;
  ElemNode* elem;
  OutBuffer* stream;
  int trackColumn;

  size_t count() const { return words.size(); }
  std::string Word(size_t i) const { return std::string(words[i]); }
  void Emit(std::string_view s) const { EmitText(s, stream, trackColumn); }
  void Raw(std::string_view s) const {
    if (stream) stream->Put(s);
  }
  // True when some character of the word came from the document.
  bool FromDocument(std::string_view word) const {
    size_t at = size_t(word.data() - text.data());
    for (size_t i = at; i < at + word.size() && i < fromDocument.size(); ++i)
      if (fromDocument[i]) return true;
    return false;
  }
};

void LineOfSpec(Translation& t, const ElemNode* elem) {
  const TranSpec* spec = elem ? ElementSpec(t, elem) : nullptr;
  if (spec && spec->lineNumber) t.messages->Printf("Used in transpec, line %d\n", spec->lineNumber);
}

void UnknownName(Translation& t, std::string_view name, const ElemNode* elem) {
  t.messages->Printf("Unknown special variable: %.*s\n", int(name.size()), name.data());
  LineOfSpec(t, elem);
}

// Copies everything `in` gives to the stream, as it stands.
void CopyRaw(std::FILE* in, OutBuffer* stream) {
  std::vector<char> buf(65536);
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) {
    if (stream) stream->Put(buf.data(), n);
  }
}

// Everything written so far goes out before a command runs or a file is
// read, so that the command's own messages and our output keep their
// order, and a command or file that reads the output finds it complete.
void FlushBefore() {
  OutBuffer::FlushAll();
  std::fflush(nullptr);
}

// ${_!command}: the command's output, copied into the translation where
// the call stands.
void RunCommand(Translation& t, const std::string& command, OutBuffer* stream) {
  FlushBefore();
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    std::string text = strerror(errno);
    t.messages->Printf("Could not start program '%s': %s", command.c_str(), text.c_str());
    return;
  }
  CopyRaw(pipe, stream);
  int status = pclose(pipe);
  if (stream) stream->Flush();
  ReportCommandStatus(command, status);
}

// ---- the handlers of the table ----

void Action(Call& c) {
  if (c.count() < 2) return NotEnoughArgs(c.t, c.words[0]);
  RunNamedAction(c.t, c.elem, c.words[1], c.stream);
}

void AllAtts(Call& c) {
  for (int i = 0; i < c.elem->attCount(); ++i) {
    const AttrPair& a = c.elem->atts()[i];
    if (i > 0) c.Raw(" ");
    c.Raw(a.name);
    c.Raw("=\"");
    c.Raw(a.value);
    c.Raw("\"");
  }
}

// _attval and _pattval: a test on `owner`'s attribute; the action runs on
// the current element.
void AttributeTest(Call& c, const ElemNode* owner) {
  if (c.count() < 2) return NotEnoughArgs(c.t, c.words[0]);
  if (!owner) return;
  const char* value = FindAttValue(owner, c.Word(1).c_str());
  if (!value) return;
  if (c.count() == 3) RunNamedAction(c.t, c.elem, c.words[2], c.stream);
  else if (c.count() >= 4 && std::string_view(value) == c.words[2])
    RunNamedAction(c.t, c.elem, c.words[3], c.stream);
}

void AttVal(Call& c) { AttributeTest(c, c.elem); }
void PAttVal(Call& c) { AttributeTest(c, c.elem->parent()); }

void CalsTable(Call& c) {
  TableInstruction(c.t.tables, c.words, c.elem, c.stream, c.t.messages, &c.t.vars);
}

void ChaseToGiCall(Call& c) { ChaseToGi(c.t, c.elem, c.words, c.stream); }
void EachAttCall(Call& c) { EachAttribute(c.t, c.elem, c.words, c.stream); }
void EachConCall(Call& c) { EachContent(c.t, c.elem, c.words, c.stream); }
void FindCall(Call& c) { FindAndRun(c.t, c.elem, c.words, c.stream, false); }
void PFindCall(Call& c) { FindAndRun(c.t, c.elem, c.words, c.stream, true); }
void FollowLinkCall(Call& c) { FollowLink(c.t, c.elem, c.words, c.stream); }
void FollowRelCall(Call& c) { FollowRelation(c.t, c.elem, c.words, c.stream); }
void RelationCall(Call& c) { RelationTest(c.t, c.elem, c.words, c.stream); }
void NameListCall(Call& c) { NameList(c.t, c.elem, c.words, c.stream); }

void Env(Call& c) {
  if (c.count() < 2) return;
  if (const char* value = std::getenv(c.Word(1).c_str())) c.Emit(value);
}

void FileName(Call& c) {
  const EntityInfo* entity = ElementEntity(c.elem);
  if (!entity) {
    c.t.messages->Puts("Expected ext entity (internal error? bug?):\n");
    PrintLocation(c.elem, c.t.messages);
  } else if (!entity->generatedName) {
    c.t.messages->Puts("Expected filename (internal error? bug?):\n");
    PrintLocation(c.elem, c.t.messages);
  } else {
    c.Emit(entity->generatedName);
  }
}

void Gi(Call& c) {
  std::string name = c.elem->gi;
  char mode = c.count() >= 2 && !c.words[1].empty() ? c.words[1][0] : '\0';
  if (mode == 'L' || mode == 'l' || mode == 'M' || mode == 'm') {
    LowerCaseAscii(name);
    if ((mode == 'M' || mode == 'm') && !name.empty()) name[0] = AsciiUpper(name[0]);
  }
  c.Emit(name);
}

void Id(Call& c) {
  if (c.count() < 2) return NotEnoughArgs(c.t, c.words[0]);
  ElemNode* target = FindElementByID(c.Word(1).c_str());
  if (!target) return;
  if (c.count() >= 3) RunNamedAction(c.t, target, c.words[2], c.stream);
  else ProcessElement(c.t, target, c.stream, MatchSpec(c.t, target, 0));
}

void Include(Call& c) {
  if (c.count() < 2 || c.words[1].empty()) {
    c.t.messages->Puts("No file name specified for include\n");
    return;
  }
  std::string name = c.Word(1);
  FlushBefore();
  std::FILE* in = OpenLibFile(name);
  if (!in) {
    const int err = errno;
    ++c.t.run.unreadFiles;
    c.t.messages->Printf("Can not open included file '%s': %s\n", name.c_str(), std::strerror(err));
    return;
  }
  CopyRaw(in, c.stream);
  if (std::ferror(in)) {  // a directory opens, but does not read
    const int err = errno;
    ++c.t.run.unreadFiles;
    c.t.messages->Printf("Can not open included file '%s': %s\n", name.c_str(), std::strerror(err));
  }
  std::fclose(in);
}

void InFile(Call& c) {
  const char* fileName = ElementFileName(c.elem);
  std::string name = fileName ? fileName : "input-file??";
  std::string_view mode = c.count() >= 2 ? c.words[1] : std::string_view();
  if (mode == "root") {
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
  } else if (mode == "line") {
    name += ' ';
    name += std::to_string(ElementLine(c.elem));
  }
  c.Raw(name);
}

void InsertNode(Call& c) {
  if (c.count() < 3) return NotEnoughArgs(c.t, c.words[0]);
  char where = c.words[1].empty() ? '\0' : c.words[1][0];
  int id = std::atoi(c.Word(2).c_str());
  if (where == 'S' || where == 'E') c.t.SetInsertedSpecId(c.elem, where, id);
}

void IsSet(Call& c) {
  if (c.count() < 2) return NotEnoughArgs(c.t, c.words[0]);
  if (c.count() < 3) return;
  const std::string* value = LookupVariable(c.t, c.words[1]);
  if (!value) return;
  if (c.count() == 3) RunNamedAction(c.t, c.elem, c.words[2], c.stream);
  else if (*value == c.words[2]) RunNamedAction(c.t, c.elem, c.words[3], c.stream);
}

void Location(Call& c) { PrintLocation(c.elem, c.stream); }

void N1gChild(Call& c) {
  if (const ElemNode* first = FirstChild(c.elem)) c.Emit(std::to_string(first->childCount));
}

void NChild(Call& c) {
  int n = c.elem->childCount;
  if (c.count() >= 2) {
    n = 0;
    for (const ElemNode* child = FirstChild(c.elem); child; child = NextSibling(child))
      if (child->gi == c.words[1]) ++n;
  }
  c.Emit(std::to_string(n));
}

void Path(Call& c) { c.Emit(BuildPath(c.elem)); }

void PAttr(Call& c) {
  if (c.count() < 2) return NotEnoughArgs(c.t, c.words[0]);
  if (!c.elem->parent()) {
    c.t.messages->Puts("Element does not have a parent:\n");
    return;
  }
  if (const char* value = FindAttValue(c.elem->parent(), c.Word(1).c_str())) c.Emit(value);
}

// The value of the global variable that the (expanded) name gives, so a
// spec can read a variable whose name it built: ${_get label-${LINKEND:l}}.
void Get(Call& c) {
  if (c.count() < 2) return NotEnoughArgs(c.t, c.words[0]);
  const VarEntry* e = LookupVarEntry(&c.t.vars, c.words[1]);
  if (e && e->hasValue) {
    c.Emit(e->value);
  } else if (c.count() >= 3) {
    size_t from = size_t(c.words[2].data() - c.text.data());
    c.Emit(std::string_view(c.text).substr(from));
  }
}

void Set(Call& c) {
  if (c.count() < 2) return NotEnoughArgs(c.t, c.words[0]);
  if (c.count() == 2) {
    SetMapping(&c.t.vars, c.words[1], nullptr);
    return;
  }
  size_t at = size_t(c.words[2].data() - c.text.data());
  SetVariableTracked(c.t, c.words[1], c.words[2], c.fromDocument, at, c.elem);
}

struct Entry {
  std::string_view name;
  void (*handler)(Call&);
  bool needsElement;  // reads the current element
  // Only reads (the tree, the attributes, the variables, the environment)
  // or runs other specs, which are checked like every spec: a run done
  // ahead may make the call (see translate/parallel.h).
  bool mayRunAhead;
};

// Sorted by name for the binary search.
constexpr Entry kTable[] = {
    {"action", Action, true, true},
    {"allatts", AllAtts, true, true},
    {"attval", AttVal, true, true},
    {"calstable", CalsTable, false, false},  // the table code copes without an element
    {"chasetogi", ChaseToGiCall, true, true},
    {"eachatt", EachAttCall, true, false},  // sets the loop value
    {"eachcon", EachConCall, true, false},
    {"env", Env, false, true},
    {"filename", FileName, true, true},
    {"find", FindCall, false, true},  // "_find top ..." needs none; checked inside
    {"followlink", FollowLinkCall, true, true},
    {"followrel", FollowRelCall, true, true},
    {"get", Get, false, false},  // reads what _set wrote
    {"gi", Gi, true, true},
    {"id", Id, false, true},
    {"include", Include, false, false},  // reads a file; counts one it cannot read
    {"infile", InFile, true, true},
    {"insertnode", InsertNode, true, false},
    {"isset", IsSet, true, true},
    {"location", Location, true, true},
    {"n1gchild", N1gChild, true, true},
    {"namelist", NameListCall, true, true},
    {"nchild", NChild, true, true},
    {"path", Path, true, true},
    {"pattr", PAttr, true, true},
    {"pattval", PAttVal, true, true},
    {"pfind", PFindCall, false, true},
    {"relation", RelationCall, true, true},
    {"set", Set, false, false},
};

static_assert(std::is_sorted(std::begin(kTable), std::end(kTable),
                             [](const Entry& a, const Entry& b) { return a.name < b.name; }));

const Entry* FindEntry(std::string_view name) {
  const Entry* end = std::end(kTable);
  const Entry* at = std::lower_bound(std::begin(kTable), end, name,
                                     [](const Entry& e, std::string_view n) { return e.name < n; });
  return at != end && at->name == name ? at : nullptr;
}

}  // namespace

bool SpecialCallMayRunAhead(std::string_view name) {
  if (name == "A" || name == "C") return true;  // the loop words, read
  const Entry* entry = FindEntry(name);
  return !entry || entry->mayRunAhead;  // an unknown name writes a message alone
}

void CallSpecialVariable(Translation& t, const std::string& call, ElemNode* elem, OutBuffer* stream,
                         int trackColumn, const std::vector<bool>& fromDocument) {
  // The loop words, while a loop has set them.
  const LinkLoopState& loop = t.run.loop;
  if (call == "A" && loop.eachA) return EmitText(*loop.eachA, stream, trackColumn);
  if (call == "C" && loop.eachC) return EmitText(*loop.eachC, stream, trackColumn);

  if (!call.empty() && call[0] == '!') {
    // A document must never run commands on the translating machine.
    if (!fromDocument.empty() && fromDocument[0]) {
      t.messages->Printf("Error: Command from the document not run: %s\n", call.c_str());
      LineOfSpec(t, elem);
      return;
    }
    std::optional<std::string> command = CommandWithDocumentQuoted(call, fromDocument);
    if (!command) {
      t.messages->Printf("Error: Text of the document where no quoting holds; command not run: %s\n",
                   call.c_str());
      LineOfSpec(t, elem);
      return;
    }
    RunCommand(t, command->substr(1), stream);
    return;
  }

  Call c{t, call, fromDocument, Split(call), elem, stream, trackColumn};
  if (c.words.empty()) {
    t.messages->Puts("Error: Empty special variable call.\n");
    LineOfSpec(t, elem);
    return;
  }
  const Entry* entry = FindEntry(c.words[0]);
  if (!entry) return UnknownName(t, c.words[0], elem);
  if (entry->needsElement && !elem) {
    t.messages->Printf(
                 "Error: _%.*s needs a current element; this text has none "
                 "(a _Start, _End or processing-instruction text).\n",
                 int(c.words[0].size()), c.words[0].data());
    return;
  }
  entry->handler(c);
}

}  // namespace qlx
