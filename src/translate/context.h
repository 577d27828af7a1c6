// The translation context: one object that owns everything a translation
// run changes, passed down explicitly through the walk, the expansion of
// spec texts, matching, the special variables, links and tables.
//
// A run's shared part (the spec list, the spec each element has, the
// processed and inserted marks, the loop values) is written by the thread
// that walks the top of the tree, and so are the variables.  A run of
// content translated ahead on another thread gets a Translation of its
// own that reads that shared part and the variables, and writes only
// into what it owns: its output, its messages, its nesting and the list
// of the elements it finished (marked processed when the walk takes its
// record).  Nothing a translation does goes through process-wide or
// thread-local state; a fatal stop is Stop(), which a run done ahead
// records instead of ending the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "tables/tables.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/outbuf.h"
#include "util/vartable.h"

namespace qlx {

struct ElemNode;

// What a fatal stop throws in a run done ahead.
struct FatalStop {
  int status;
};

// The values of the _eachatt and _eachcon loops, and the link attribute
// names.
struct LinkLoopState {
  // The attributes that hold ID links: the words of the variable link_atts
  // at the first use, else LINKEND, LINKENDS, IDREF.  Built once a run.
  bool linkNamesBuilt = false;
  std::vector<std::string> linkNames;
  // The word of the latest _eachatt / _eachcon step; unset until the first
  // step, and kept (as a copy) after the loop ends.
  std::optional<std::string> eachA, eachC;
};

// The variables translations read and set: those of the start-up and of
// -D options, of "Var:" lines, of Set and Increment and of _set.  A
// session hands one set to each of its runs, so a browser's runs see
// what the runs before them set (a spec file's "Var:" lines set their
// values again); a Translation made without one has a set of its own.
// The values of _blanks and _space are kept decoded for the data writer.
struct Variables : VarTable {
  Variables();
  Variables(const Variables&) = delete;
  Variables& operator=(const Variables&) = delete;

  // The blanks of the document's data (_blanks): 0 as they are; 1
  // ("collapse") each run of blanks, tabs and record ends is one space,
  // none at the start of an output line; 2 ("drop") the same, and a data
  // item of blanks alone that begins or ends its element's content writes
  // nothing.
  int blankData = 0;
  // What each gathered run of blanks writes (_space, in the escape
  // language of spec texts); empty: a space.
  std::string blankText;
};

// What a translation run did ahead (runs planned, records replayed, runs
// whose record passed the size bound and were translated in their turn,
// buffers kept for reuse at the end): for tests and measurements.
struct AheadStats {
  size_t runs = 0, taken = 0, retried = 0, buffers = 0;
};

// What the whole run shares.
struct RunState {
  // The specs of the run's spec file.  They live as long as the run's
  // Translation: a fatal stop ends the process with them in place (the
  // Translation is on the stack of the thread that ends it, or of one
  // waiting for it), and the thread working ahead is stopped before
  // exit() destroys anything.
  SpecList specs;
  // The spec each element has in this run, by serial number: 0 none, 1
  // the empty spec, k + 2 the k-th spec of the list (see ElementSpec).
  std::vector<uint32_t> specOf;
  // The elements whose translation has ended, by serial.
  std::vector<bool> processed;
  // The spec ids that _insertnode put before ('S') and after ('E') an
  // element's content.
  std::unordered_map<const ElemNode*, int> insertedBefore, insertedAfter;
  LinkLoopState loop;
  // Files the run needed and could not read (the spec file, the maps it
  // names, included files).  Each was reported where it failed and the
  // run went on without it.
  int unreadFiles = 0;
  AheadStats aheadStats;  // set when the walk's work ahead ends
};

class Translation {
 public:
  // A run with the variables `vars`, writing its output to `out` (null:
  // validation, nothing is written) and its messages to `messages`.
  Translation(Variables& vars, OutBuffer* out, OutBuffer* messages)
      : run(own_), vars(vars), out(out), messages(messages) {}
  // The same with variables of its own, empty at the start.
  Translation(OutBuffer* out, OutBuffer* messages) : Translation(ownVars_, out, messages) {}
  // A run of content done ahead of `walk`'s: it reads walk's shared part
  // and variables, records into `out` and `messages`, and lists what it
  // finishes in `finished`.
  Translation(Translation& walk, OutBuffer* out, OutBuffer* messages, std::vector<int>* finished)
      : run(walk.run), vars(walk.vars), out(out), messages(messages), finished(finished),
        ahead(true) {}
  Translation(const Translation&) = delete;
  Translation& operator=(const Translation&) = delete;

  // A fatal stop: the process ends with `status` (its output flushed), or
  // a run done ahead throws FatalStop, to be replayed in its place.
  [[noreturn]] QLX_ENDS_PROCESS void Stop(int status);

  // Whether a translation has finished the element; and marking it so
  // (in a run done ahead: listed in `finished`).
  bool IsProcessed(const ElemNode* e) const;
  void MarkProcessed(const ElemNode* e);

  // The spec id inserted before ('S') or after ('E') the element's
  // content, or 0; setting 0 removes the mark.
  int InsertedSpecId(const ElemNode* e, char where) const {
    const auto& marks = where == 'S' ? run.insertedBefore : run.insertedAfter;
    if (marks.empty()) return 0;  // the usual case, asked twice per element
    auto it = marks.find(e);
    return it == marks.end() ? 0 : it->second;
  }
  void SetInsertedSpecId(const ElemNode* e, char where, int id);

 private:
  Variables ownVars_;
  RunState own_;

 public:
  RunState& run;
  Variables& vars;
  OutBuffer* out;       // the output sink, with its column
  OutBuffer* messages;  // the message sink
  // ProcessElement calls running; the lowest address the thread's stack
  // may reach before nested translations stop (0: not known, the count
  // limits the nesting).
  int nesting = 0;
  uintptr_t stackLimit = 0;
  std::vector<int>* finished = nullptr;
  const bool ahead = false;
  // The CALS tables being written.  Table calls never run ahead (see
  // translate/parallel.h): a run done ahead leaves its own untouched.
  Tables tables;
};

}  // namespace qlx
