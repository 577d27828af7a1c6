// Special variables: ${_name args} in spec text.  The dispatcher splits the
// call into words and runs the named operation for the current element:
// it writes a value, sets something, or runs named actions.
#pragma once

#include "translate/context.h"
#include "util/outbuf.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct ElemNode;

// `call` is the text between "${_" and "}".  Every call owns its words, so
// the actions it runs may make calls of their own.  `fromDocument` flags
// the characters of the call that came from the document (empty: none);
// such text never runs a command ("!..." calls, "_set" values).
void CallSpecialVariable(Translation& t, const std::string& call, ElemNode* elem, OutBuffer* stream,
                         int trackColumn, const std::vector<bool>& fromDocument = {});

// Whether a call of `name` (without its underscore) may be made in a run
// done ahead: the table of special variables says so for each; a name not
// in it only writes a message, which a run done ahead records.
bool SpecialCallMayRunAhead(std::string_view name);

}  // namespace qlx
