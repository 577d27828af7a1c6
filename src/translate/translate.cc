#include "translate/translate.h"

#include <cctype>
#include <cstdint>
#include <exception>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
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
void WriteText(const OptText& text, bool plain, ElemNode* elem, OutBuffer* stream) {
  if (!text) return;
  if (plain) EmitText(std::string_view(*text), stream, 1);
  else WriteSpecText(*text, elem, stream, 1);
}

void WriteMessage(const OptText& text, bool plain, ElemNode* elem) {
  if (!text) return;
  if (plain) EmitText(std::string_view(*text), Diagnostics(), 0);
  else WriteSpecText(*text, elem, Diagnostics(), 0);
}

// The texts of a spec that _insertnode placed before or after the content.
void WriteInserted(int specId, ElemNode* elem, OutBuffer* stream) {
  if (specId == 0) return;
  TranSpec* s = FindSpecById(specId);
  if (!s) return;
  WriteText(s->startText, s->startPlain, elem, stream);
  WriteMessage(s->message, s->messagePlain, elem);
  WriteText(s->endText, s->endPlain, elem, stream);
}

// _Start and _End: start text, replace text, message, end text.
void WriteFrameTexts(const char* name, OutBuffer* stream) {
  TranSpec* s = FirstSpecWithGi(name);
  if (!s) return;
  WriteText(s->startText, s->startPlain, nullptr, stream);
  WriteText(s->replace, s->replacePlain, nullptr, stream);
  WriteMessage(s->message, s->messagePlain, nullptr);
  WriteText(s->endText, s->endPlain, nullptr, stream);
}

// The first half of an element: everything before its content.  Returns
// true when the content is to be visited.
bool BeginElement(ElemNode* e, TranSpec* s, OutBuffer* stream) {
  if (s->quit) {
    Diagnostics()->Puts("Quitting at location:\n");
    PrintLocation(e, Diagnostics());
    Diagnostics()->Printf("%s\n", s->quit->c_str());
    Fatal(1);
  }
  if (s->replace) {
    WriteText(s->replace, s->replacePlain, e, stream);
    WriteMessage(s->message, s->messagePlain, e);
    UpdateVariables(*s, e);
    return false;
  }
  WriteText(s->startText, s->startPlain, e, stream);
  WriteMessage(s->message, s->messagePlain, e);
  if (s->ignore == IGNORE_All) return true;
  WriteInserted(InsertedSpecId(e, 'S'), e, stream);
  return true;
}

// The second half: after the content.
void EndElement(ElemNode* e, TranSpec* s, OutBuffer* stream) {
  if (s->ignore != IGNORE_All) WriteInserted(InsertedSpecId(e, 'E'), e, stream);
  UpdateVariables(*s, e);
  WriteText(s->endText, s->endPlain, e, stream);
  if (finishedAhead) finishedAhead->push_back(e->serial);
  else MarkProcessed(e);
}

struct Frame {
  ElemNode* elem;
  TranSpec* spec;
  int next;  // the next content item to process
};

// One item of the content of an element translated with spec s; a child
// whose content is to be visited gets a frame on the stack.
void VisitItem(const ContentItem& item, const TranSpec* s, OutBuffer* stream,
               std::vector<Frame>& stack, bool edge) {
  if (item.kind() == '?') {
    WriteProcessingInstruction(item.text(), stream);
  } else if (item.kind() == '-') {
    if (s->ignore != IGNORE_Data) WriteData(item.text(), stream, s->verbatim != 0, edge);
  } else if (s->ignore != IGNORE_Children) {
    ElemNode* child = item.elem();
    TranSpec* cs = SpecToUse(child);
    if (BeginElement(child, cs, stream)) stack.push_back(Frame{child, cs, 0});
  }
}

// Runs the frames on the stack to the end.  With `ahead`, the runs of
// content it planned are taken from it instead of being visited here.
void RunFrames(std::vector<Frame>& stack, OutBuffer* stream, AheadTranslator* ahead) {
  while (!stack.empty()) {
    Frame& f = stack.back();
    TranSpec* s = f.spec;
    if (s->ignore == IGNORE_All || f.next >= f.elem->contentCount) {
      ElemNode* e = f.elem;
      stack.pop_back();
      EndElement(e, s, stream);
      continue;
    }
    if (ahead && ahead->At(f.elem, f.next)) {
      f.next = ahead->Write(stream);
      continue;
    }
    bool edge = f.next == 0 || f.next == f.elem->contentCount - 1;
    VisitItem(f.elem->items()[f.next++], s, stream, stack, edge);
  }
}

// ProcessElement's work, once the nesting is counted.
void Translate(ElemNode* top, OutBuffer* stream, TranSpec* spec, AheadTranslator* ahead) {
  if (!spec) spec = SpecToUse(top);
  if (!BeginElement(top, spec, stream)) return;
  std::vector<Frame> stack;
  stack.push_back(Frame{top, spec, 0});
  RunFrames(stack, stream, ahead);
}

// The lowest address the calling thread's stack may reach before the run
// stops (0: the stack is not known; the count limits the nesting).
thread_local constinit uintptr_t stackLimit = 0;


// Thrown in a run done ahead that meets what it cannot record (the nesting
// limit, or data whose blanks depend on the column before the run): the
// run is given up and translated in its turn.
struct GiveUpAhead {};

// The nesting of ProcessElement calls.
struct Nesting {
  explicit Nesting(const ElemNode* top) {
    ++translation.nesting;
    char here;
    const bool deep = stackLimit ? reinterpret_cast<uintptr_t>(&here) < stackLimit
                                 : translation.nesting > kMaxActionNesting;
    if (!deep || translation.nesting <= 1) return;
    --translation.nesting;
    if (IsRecording()) throw GiveUpAhead{};
    Diagnostics()->Puts("Error: Named actions nested too deep for the stack left, at:\n");
    PrintLocation(top, Diagnostics());
    Fatal(1);
  }
  ~Nesting() { --translation.nesting; }
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;
};

// Increments "9" to "10", "-3" to "-2", "a" to "b"; leaves other texts.
void Increment(const VarEntry& entry) {
  const std::string* current = LookupVariable(entry.name);
  if (!current) {
    SetMappingText(settings.globalVars, entry.name, "1");
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
    SetMappingText(settings.globalVars, entry.name, std::to_string(std::atoi(v.c_str()) + step));
  } else if (v.size() == 1 && std::isalpha(static_cast<unsigned char>(v[0]))) {
    SetMappingText(settings.globalVars, entry.name, std::string(1, char(v[0] + 1)));
  }
}

}  // namespace

void UpdateVariables(const TranSpec& spec, ElemNode* elem) {
  if (!spec.setVars && !spec.incrementVars) return;
  if (spec.setVars) {
    for (const VarEntry& entry : spec.setVars->entries) {
      if (!entry.hasValue) {
        SetMapping(settings.globalVars, entry.name, nullptr);
        continue;
      }
      Expansion value = ExpandTracked(entry.value, elem);
      SetVariableTracked(entry.name, value.text, value.fromDocument, 0, elem);
    }
  }
  if (spec.incrementVars)
    for (const VarEntry& entry : spec.incrementVars->entries) Increment(entry);
}

thread_local constinit TranslationState translation;

thread_local constinit std::vector<int>* finishedAhead = nullptr;

void ProcessElement(ElemNode* top, OutBuffer* stream, TranSpec* spec) {
  if (!stackLimit && !IsRecording() && translation.nesting >= kNestingOnCallerStack) {
    // Deep: the nested translations go on on a large stack of their own.
    struct Args {
      ElemNode* top;
      OutBuffer* stream;
      TranSpec* spec;
    } args{top, stream, spec};
    RunOnLargeStack(
        [](void* p) {
          auto* a = static_cast<Args*>(p);
          ProcessElement(a->top, a->stream, a->spec);
        },
        &args, kLargeStack);
    return;
  }
  Nesting nesting(top);
  Translate(top, stream, spec, nullptr);
}

void TranslateItems(ElemNode* elem, TranSpec* spec, int first, int last, OutBuffer* stream) {
  std::vector<Frame> stack;
  for (int i = first; i < last; ++i) {
    VisitItem(elem->items()[i], spec, stream, stack, i == 0 || i == elem->contentCount - 1);
    RunFrames(stack, stream, nullptr);
  }
}

void RunNamedAction(ElemNode* elem, std::string_view action, OutBuffer* stream) {
  if (action.empty()) {
    Diagnostics()->Puts("Warning: empty action text: nothing is run.\n");
    return;
  }
  std::string text(action);
  int n = std::atoi(text.c_str());
  if (text.back() == 't') {
    TranSpec* s = MatchSpec(elem, n);
    if (s->specId != 0) ProcessElement(elem, stream, s);
    return;
  }
  if (TranSpec* s = FindSpecById(n)) ProcessElement(elem, stream, s);
  else Diagnostics()->Printf("Could not find named action for %d.\n", n);
}

void WriteData(const char* text, OutBuffer* stream, bool verbatim, bool edge) {
  if (settings.blankData != 0 && text) {
    // Gathered as _blanks asks: a space at the start or end only where the
    // line already holds text; a blank item at the edge of its element's
    // content writes nothing when blanks are dropped.
    auto gather = [&](bool midLine) {
      return GatherBlanks(text, midLine, true, (settings.blankData == 1 || !edge) && midLine);
    };
    const int column = stream ? stream->column : 0;
    std::string gathered = gather(column != 0);
    // At the start of a run done ahead the column is not known: the run
    // is given up when the data's blanks depend on it.
    if (column == OutBuffer::kUnknownColumn && gathered != gather(false)) throw GiveUpAhead{};
    EmitData(gathered.c_str(), stream, verbatim);
    return;
  }
  EmitData(text, stream, verbatim);
}

void WriteProcessingInstruction(const char* text, OutBuffer* stream) {
  std::string_view all(text);
  std::string_view words[2];
  int n = SplitInto(all, words, 2);
  std::string name = "_";
  if (n > 0) name.append(words[0]);
  std::string_view rest = n > 1 ? words[1] : std::string_view();
  TranSpec* s = FirstSpecWithGi(name);
  if (!s) s = FirstSpecWithGi("_*");
  if (!s) {
    if (stream) stream->Printf("[%s]", text);
    if (settings.warnings) Diagnostics()->Printf("Warning: Unrecognized PI: [%s]\n", text);
    return;
  }
  if (s->replace) {
    WriteText(s->replace, s->replacePlain, nullptr, stream);
  } else {
    WriteText(s->startText, s->startPlain, nullptr, stream);
    if (s->ignore != IGNORE_Data && !rest.empty()) EmitText(rest, stream, 1);
    WriteText(s->endText, s->endPlain, nullptr, stream);
  }
  WriteMessage(s->message, s->messagePlain, nullptr);
}

namespace {

void TranslateTreeHere(ElemNode* top, const char* specFile, OutBuffer* stream) {
  if (!specFile) {
    Diagnostics()->Puts("Translation spec file not specified. Skipping translation.\n");
    return;
  }
  ReadTranSpec(specFile);
  LoadSpecMaps();
  // A message's "\n" escape resets the output's column.
  OutBuffer* messages = Diagnostics();
  OutBuffer* savedOwner = messages->columnOwner;
  messages->columnOwner = stream;
  AssignSpecsInParallel(top);
  WriteFrameTexts("_Start", stream);
  {
    // The work ahead ends (its thread joined) before the _End texts.
    std::unique_ptr<AheadTranslator> ahead = AheadTranslator::Plan(top, stream);
    Nesting nesting(top);
    Translate(top, stream, nullptr, ahead.get());
  }
  WriteFrameTexts("_End", stream);
  if (settings.verbose) {
    WalkTree(
        top,
        [](ElemNode* e, void*) {
          const TranSpec* s = ElementSpec(e);
          if (s && !IsProcessed(e) && s->ignore == IGNORE_None) {
            Diagnostics()->Printf("Warning: element '%s' was not processed:\n", e->gi);
            PrintLocation(e, Diagnostics());
          }
        },
        nullptr, nullptr, nullptr);
  }
  // The spec records die with the run, and the elements' numbers of them.
  ClearSpecList();
  messages->columnOwner = savedOwner;
}

}  // namespace

void TranslateTree(ElemNode* top, const char* specFile, OutBuffer* stream) {
  TranslateTreeHere(top, specFile, stream);
}

namespace {

struct LargeStackCall {
  void (*body)(void*);
  void* arg;
  uintptr_t limit;
  TranslationState translation;  // the caller's, carried on
  std::exception_ptr failure;
};

void* RunLargeStackCall(void* p) {
  auto* call = static_cast<LargeStackCall*>(p);
  stackLimit = call->limit;
  translation = call->translation;
  try {
    call->body(call->arg);
  } catch (...) {
    call->failure = std::current_exception();
  }
  stackLimit = 0;
  return nullptr;
}

}  // namespace

void RunOnLargeStack(void (*body)(void*), void* arg, size_t size) {
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
  LargeStackCall call{body, arg, reinterpret_cast<uintptr_t>(base) + page + kStackReserve, translation,
                      nullptr};
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
