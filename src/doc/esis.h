// The ESIS reader: builds the document tree from the record stream that
// sgmls/onsgmls write (one record per line, the first character naming the
// record).  The reader keeps its own stack of open elements, so nesting
// depth costs heap, never machine stack.
#pragma once

#include <cstddef>
#include <string_view>

#include "doc/tree.h"

namespace qlx {

class LineReader;

// Reads one whole element (the root) from `in`: its info records, start
// record, content and end record; records after its end are not read.
// Every malformed record is fatal (message on standard error, status 1),
// except an attribute of an unknown type and an internal-entity record in
// an info block, which are reported and skipped.  End of input inside the
// document is reported and fatal.  `inputName` names the input in the
// message for a failed read.
//
// The reading runs in two stages: one reads and splits the lines,
// classifies the records and stores the data texts, and hands its records
// over in blocks to the other, which interns the names and builds the
// tree.  A document longer than one block has its first stage run on a
// second thread (when the machine has a second processor); nothing
// observable depends on it: every message is written by the calling
// thread, in record order, and the thread has ended when ReadESIS returns
// or stops.
struct EsisReadOptions {
  // Records per block handed from the first stage to the second.
  size_t blockRecords = 8192;
  // kAuto: a second thread once the input is longer than one block.
  // Tests force the other cases.
  enum class Threads { kAuto, kNever, kAlways };
  Threads threads = Threads::kAuto;
};
ElemNode* ReadESIS(LineReader& in, const char* inputName);
ElemNode* ReadESIS(LineReader& in, const char* inputName, const EsisReadOptions& options);

}  // namespace qlx
