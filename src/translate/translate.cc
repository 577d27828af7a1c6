#include "translate/translate.h"

#include <cctype>
#include <cstdint>
#include <exception>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "output/maps.h"
#include "translate/command.h"
#include "translate/expand.h"
#include "translate/links.h"
#include "translate/match.h"
#include "translate/parallel.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/split.h"
#include "util/vartable.h"

namespace qlx {
namespace {

// A spec's text (plain: without a '$', written as it stands).
void WriteText(Translation& t, const OptText& text, bool plain, ElemNode* elem, OutBuffer* stream) {
  if (!text) return;
  if (plain) EmitText(std::string_view(*text), stream, 1);
  else WriteSpecText(t, *text, elem, stream, 1);
}

void WriteMessage(Translation& t, const OptText& text, bool plain, ElemNode* elem) {
  if (!text) return;
  if (plain) EmitText(std::string_view(*text), t.messages, 0);
  else WriteSpecText(t, *text, elem, t.messages, 0);
}

// The texts of a spec that _insertnode placed before or after the content.
void WriteInserted(Translation& t, int specId, ElemNode* elem, OutBuffer* stream) {
  if (specId == 0) return;
  TranSpec* s = FindSpecById(t.run.specs, specId);
  if (!s) return;
  WriteText(t, s->startText, s->startPlain, elem, stream);
  WriteMessage(t, s->message, s->messagePlain, elem);
  WriteText(t, s->endText, s->endPlain, elem, stream);
}

// _Start and _End: start text, replace text, message, end text.
void WriteFrameTexts(Translation& t, const char* name, OutBuffer* stream) {
  TranSpec* s = FirstSpecWithGi(t.run.specs, name);
  if (!s) return;
  WriteText(t, s->startText, s->startPlain, nullptr, stream);
  WriteText(t, s->replace, s->replacePlain, nullptr, stream);
  WriteMessage(t, s->message, s->messagePlain, nullptr);
  WriteText(t, s->endText, s->endPlain, nullptr, stream);
}

// The first half of an element: everything before its content.  Returns
// true when the content is to be visited.
bool BeginElement(Translation& t, ElemNode* e, TranSpec* s, OutBuffer* stream) {
  if (s->quit) {
    t.messages->Puts("Quitting at location:\n");
    PrintLocation(e, t.messages);
    t.messages->Printf("%s\n", s->quit->c_str());
    t.Stop(1);
  }
  if (s->replace) {
    WriteText(t, s->replace, s->replacePlain, e, stream);
    WriteMessage(t, s->message, s->messagePlain, e);
    UpdateVariables(t, *s, e);
    return false;
  }
  WriteText(t, s->startText, s->startPlain, e, stream);
  WriteMessage(t, s->message, s->messagePlain, e);
  if (s->ignore == IGNORE_All) return true;
  WriteInserted(t, t.InsertedSpecId(e, 'S'), e, stream);
  return true;
}

// The second half: after the content.
void EndElement(Translation& t, ElemNode* e, TranSpec* s, OutBuffer* stream) {
  if (s->ignore != IGNORE_All) WriteInserted(t, t.InsertedSpecId(e, 'E'), e, stream);
  UpdateVariables(t, *s, e);
  WriteText(t, s->endText, s->endPlain, e, stream);
  t.MarkProcessed(e);
}

struct Frame {
  ElemNode* elem;
  TranSpec* spec;
  int next;  // the next content item to process
};

// One item of the content of an element translated with spec s; a child
// whose content is to be visited gets a frame on the stack.
void VisitItem(Translation& t, const ContentItem& item, const TranSpec* s, OutBuffer* stream,
               std::vector<Frame>& stack, bool edge) {
  if (item.kind() == '?') {
    WriteProcessingInstruction(t, item.text(), stream);
  } else if (item.kind() == '-') {
    if (s->ignore != IGNORE_Data) WriteData(t, item.text(), stream, s->verbatim != 0, edge);
  } else if (s->ignore != IGNORE_Children) {
    ElemNode* child = item.elem();
    TranSpec* cs = SpecToUse(t, child);
    if (BeginElement(t, child, cs, stream)) stack.push_back(Frame{child, cs, 0});
  }
}

// Runs the frames on the stack to the end.  With `ahead`, the runs of
// content it planned are taken from it instead of being visited here.
void RunFrames(Translation& t, std::vector<Frame>& stack, OutBuffer* stream, AheadTranslator* ahead) {
  while (!stack.empty()) {
    Frame& f = stack.back();
    TranSpec* s = f.spec;
    if (s->ignore == IGNORE_All || f.next >= f.elem->contentCount) {
      ElemNode* e = f.elem;
      stack.pop_back();
      EndElement(t, e, s, stream);
      continue;
    }
    if (ahead && ahead->At(f.elem, f.next)) {
      f.next = ahead->Write(stream);
      continue;
    }
    bool edge = f.next == 0 || f.next == f.elem->contentCount - 1;
    VisitItem(t, f.elem->items()[f.next++], s, stream, stack, edge);
  }
}

// ProcessElement's work, once the nesting is counted.
void Translate(Translation& t, ElemNode* top, OutBuffer* stream, TranSpec* spec, AheadTranslator* ahead) {
  if (!spec) spec = SpecToUse(t, top);
  if (!BeginElement(t, top, spec, stream)) return;
  std::vector<Frame> stack;
  stack.push_back(Frame{top, spec, 0});
  RunFrames(t, stack, stream, ahead);
}


// The nesting of ProcessElement calls.
struct Nesting {
  QLX_ENDS_PROCESS Nesting(Translation& t, const ElemNode* top) : t(t) {
    ++t.nesting;
    char here;
    const bool deep = t.stackLimit ? reinterpret_cast<uintptr_t>(&here) < t.stackLimit
                                   : t.nesting > kMaxActionNesting;
    if (!deep || t.nesting <= 1) return;
    --t.nesting;
    t.messages->Puts("Error: Named actions nested too deep for the stack left, at:\n");
    PrintLocation(top, t.messages);
    t.Stop(1);
  }
  ~Nesting() { --t.nesting; }
  Translation& t;
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;
};

// Increments "9" to "10", "-3" to "-2", "a" to "b"; leaves other texts.
void Increment(Translation& t, const VarEntry& entry) {
  const std::string* current = LookupVariable(t, entry.name);
  if (!current) {
    SetMappingText(&t.vars, entry.name, "1");
    return;
  }
  const std::string& v = *current;
  bool number = (!v.empty() && std::isdigit(static_cast<unsigned char>(v[0]))) ||
                (v.size() > 1 && v[0] == '-' && std::isdigit(static_cast<unsigned char>(v[1])));
  if (number) {
    int step = 1;
    if (entry.hasValue && !entry.value.empty() &&
        std::isdigit(static_cast<unsigned char>(entry.value[0])))
      step = std::atoi(entry.value.c_str());
    SetMappingText(&t.vars, entry.name, std::to_string(std::atoi(v.c_str()) + step));
  } else if (v.size() == 1 && std::isalpha(static_cast<unsigned char>(v[0]))) {
    SetMappingText(&t.vars, entry.name, std::string(1, char(v[0] + 1)));
  }
}

}  // namespace

void UpdateVariables(Translation& t, const TranSpec& spec, ElemNode* elem) {
  if (!spec.setVars && !spec.incrementVars) return;
  if (spec.setVars) {
    for (const VarEntry& entry : spec.setVars->entries) {
      if (!entry.hasValue) {
        SetMapping(&t.vars, entry.name, nullptr);
        continue;
      }
      Expansion value = ExpandTracked(t, entry.value, elem);
      SetVariableTracked(t, entry.name, value.text, value.fromDocument, 0, elem);
    }
  }
  if (spec.incrementVars)
    for (const VarEntry& entry : spec.incrementVars->entries) Increment(t, entry);
}

void ProcessElement(Translation& t, ElemNode* top, OutBuffer* stream, TranSpec* spec) {
  if (!t.stackLimit && t.nesting >= kNestingOnCallerStack) {
    // Deep: the nested translations go on on a large stack of their own.
    struct Args {
      Translation& t;
      ElemNode* top;
      OutBuffer* stream;
      TranSpec* spec;
    } args{t, top, stream, spec};
    RunOnLargeStack(
        t,
        [](void* p) {
          auto* a = static_cast<Args*>(p);
          ProcessElement(a->t, a->top, a->stream, a->spec);
        },
        &args, largeStackSize);
    return;
  }
  Nesting nesting(t, top);
  Translate(t, top, stream, spec, nullptr);
}

void TranslateItems(Translation& t, ElemNode* elem, TranSpec* spec, int first, int last, OutBuffer* stream) {
  std::vector<Frame> stack;
  for (int i = first; i < last; ++i) {
    VisitItem(t, elem->items()[i], spec, stream, stack, i == 0 || i == elem->contentCount - 1);
    RunFrames(t, stack, stream, nullptr);
  }
}

void RunNamedAction(Translation& t, ElemNode* elem, std::string_view action, OutBuffer* stream) {
  if (action.empty()) {
    t.messages->Puts("Warning: empty action text: nothing is run.\n");
    return;
  }
  std::string text(action);
  int n = std::atoi(text.c_str());
  if (text.back() == 't') {
    TranSpec* s = MatchSpec(t, elem, n);
    if (s->specId != 0) ProcessElement(t, elem, stream, s);
    return;
  }
  if (TranSpec* s = FindSpecById(t.run.specs, n)) ProcessElement(t, elem, stream, s);
  else t.messages->Printf("Could not find named action for %d.\n", n);
}

namespace {

// Gathered data as _space asks: each gathered blank (a space outside an
// escape) becomes _space's text.
void WriteGathered(const Translation& t, const char* gathered, OutBuffer* stream, bool verbatim) {
  if (t.vars.blankText.empty()) return EmitData(gathered, stream, verbatim);
  const std::string_view text(gathered);
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      size_t close = text[i + 1] == '|' ? text.find("\\|", i + 2) : std::string::npos;
      i = text[i + 1] != '|' ? i + 2 : close == std::string::npos ? text.size() : close + 2;
      continue;
    }
    if (text[i] == ' ') {
      EmitData(std::string(text.substr(start, i - start)).c_str(), stream, verbatim);
      EmitText(t.vars.blankText, stream, 1);
      start = i + 1;
    }
    ++i;
  }
  EmitData(gathered + start, stream, verbatim);
}

}  // namespace

void WriteData(Translation& t, const char* text, OutBuffer* stream, bool verbatim, bool edge) {
  if (t.vars.blankData != 0 && text) {
    // Gathered as _blanks asks: a space at the start or end only where the
    // line already holds text; a blank item at the edge of its element's
    // content writes nothing when blanks are dropped.
    auto gather = [&](bool midLine) {
      return GatherBlanks(text, midLine, true, (t.vars.blankData == 1 || !edge) && midLine);
    };
    const int column = stream ? stream->column : 0;
    const std::string gathered = gather(column != 0);
    size_t from = 0;
    if (column == OutBuffer::kUnknownColumn && gathered != gather(false)) {
      // Nothing written yet in a run done ahead: the leading space (the
      // only difference) is kept for a line that holds text.  A blank is
      // never a key of the character map, so the space written apart
      // writes what it writes as part of the whole.
      WriteIfMidLine(stream, [&t, stream, verbatim] { WriteGathered(t, " ", stream, verbatim); });
      from = 1;
    }
    WriteGathered(t, gathered.c_str() + from, stream, verbatim);
    return;
  }
  EmitData(text, stream, verbatim);
}

void WriteProcessingInstruction(Translation& t, const char* text, OutBuffer* stream) {
  std::string_view all(text);
  std::string_view words[2];
  int n = SplitInto(all, words, 2);
  std::string name = "_";
  if (n > 0) name.append(words[0]);
  std::string_view rest = n > 1 ? words[1] : std::string_view();
  TranSpec* s = FirstSpecWithGi(t.run.specs, name);
  if (!s) s = FirstSpecWithGi(t.run.specs, "_*");
  if (!s) {
    if (stream) stream->Printf("[%s]", text);
    if (settings.warnings) t.messages->Printf("Warning: Unrecognized PI: [%s]\n", text);
    return;
  }
  if (s->replace) {
    WriteText(t, s->replace, s->replacePlain, nullptr, stream);
  } else {
    WriteText(t, s->startText, s->startPlain, nullptr, stream);
    if (s->ignore != IGNORE_Data && !rest.empty()) EmitText(rest, stream, 1);
    WriteText(t, s->endText, s->endPlain, nullptr, stream);
  }
  WriteMessage(t, s->message, s->messagePlain, nullptr);
}

bool ReadSpecs(Translation& t, const std::string& specFile) {
  return ReadTranSpec(t.run.specs, &t.vars, specFile,
                      [&t](std::string_view text) { return ExpandVariables(t, text, nullptr); });
}

int TranslateTree(ElemNode* top, const char* specFile, OutBuffer* stream, Variables& vars) {
  Translation t(vars, stream, Diagnostics());
  TranslateTree(t, top, specFile);
  return t.run.unreadFiles;
}

void TranslateTree(Translation& t, ElemNode* top, const char* specFile) {
  if (!specFile) {
    t.messages->Puts("Translation spec file not specified. Skipping translation.\n");
    return;
  }
  OutBuffer* stream = t.out;
  if (!ReadSpecs(t, specFile)) ++t.run.unreadFiles;
  t.run.unreadFiles += LoadSpecMaps(&t.vars);
  // A message's "\n" escape resets the output's column.
  OutBuffer* savedOwner = t.messages->columnOwner;
  t.messages->columnOwner = stream;
  AssignSpecsInParallel(t, top);
  WriteFrameTexts(t, "_Start", stream);
  {
    // The work ahead ends (its thread joined) before the _End texts.
    std::unique_ptr<AheadTranslator> ahead = AheadTranslator::Plan(t, top, stream);
    Nesting nesting(t, top);
    Translate(t, top, stream, nullptr, ahead.get());
  }
  WriteFrameTexts(t, "_End", stream);
  if (settings.verbose) {
    WalkTree(
        top,
        [](ElemNode* e, void* data) {
          const Translation& t = *static_cast<const Translation*>(data);
          const TranSpec* s = ElementSpec(t, e);
          if (s && !t.IsProcessed(e) && s->ignore == IGNORE_None) {
            t.messages->Printf("Warning: element '%s' was not processed:\n", e->gi);
            PrintLocation(e, t.messages);
          }
        },
        nullptr, nullptr, &t);
  }
  t.messages->columnOwner = savedOwner;
}

namespace {

struct LargeStackCall {
  Translation& t;
  void (*body)(void*);
  void* arg;
  uintptr_t limit;
  std::exception_ptr failure;
};

void* RunLargeStackCall(void* p) {
  auto* call = static_cast<LargeStackCall*>(p);
  const uintptr_t saved = call->t.stackLimit;
  call->t.stackLimit = call->limit;
  try {
    call->body(call->arg);
  } catch (...) {
    call->failure = std::current_exception();
  }
  call->t.stackLimit = saved;
  return nullptr;
}

}  // namespace

void RunOnLargeStack(Translation& t, void (*body)(void*), void* arg, size_t size) {
  const size_t page = size_t(sysconf(_SC_PAGESIZE));
  size = (size + page - 1) / page * page;
  // The stack is reserved, not committed: only the pages a run touches
  // cost memory.  Its lowest page is a guard.
  void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                    -1, 0);
  if (base == MAP_FAILED) return body(arg);
  pthread_attr_t attr;
  bool made = false;
  pthread_t thread;
  LargeStackCall call{t, body, arg, reinterpret_cast<uintptr_t>(base) + page + kStackReserve, nullptr};
  if (mprotect(base, page, PROT_NONE) == 0 && pthread_attr_init(&attr) == 0) {
    made = pthread_attr_setstack(&attr, base, size) == 0 &&
           pthread_create(&thread, &attr, RunLargeStackCall, &call) == 0;
    pthread_attr_destroy(&attr);
  }
  if (!made) {
    munmap(base, size);
    return body(arg);
  }
  pthread_join(thread, nullptr);
  munmap(base, size);
  if (call.failure) std::rethrow_exception(call.failure);
}

}  // namespace qlx
