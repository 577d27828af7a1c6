// The ESIS reader: builds the document tree from the record stream that
// sgmls/onsgmls write (one record per line, the first character naming the
// record).  The reader keeps its own stack of open elements, so nesting
// depth costs heap, never machine stack.
#pragma once

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
ElemNode* ReadESIS(LineReader& in, const char* inputName);

}  // namespace qlx
