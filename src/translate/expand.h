// Spec texts are written in two stages.  ExpandVariables replaces variable
// references ${name}, ${name default}, ${name:l} (attribute of the current
// element first, then global variable) and ${+content}; WriteSpecText then
// cuts the expansion into plain runs for EmitText and special-variable
// calls ${_name args} for CallSpecialVariable, in the order they stand.
#pragma once

#include "translate/context.h"
#include "util/outbuf.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct ElemNode;

// The expansion of `source` for `elem` (null: global variables only).
// "${_" is left as it stands (its inner references are expanded).
std::string ExpandVariables(Translation& t, std::string_view source, const ElemNode* elem);

// An expansion that remembers which of its characters came from the
// document: attribute values, element content, loop words and global
// variables whose value was set from such text.  Text of the document is
// never taken as a special call or a command, so a document cannot make
// the translation run anything.
struct Expansion {
  std::string text;
  // One flag per character of text; empty when no character came from the
  // document (anyFromDocument false).
  std::vector<bool> fromDocument;
  bool anyFromDocument = false;
};
Expansion ExpandTracked(Translation& t, std::string_view source, const ElemNode* elem);

// Expands `text` and writes it to `stream` (null: specials still run),
// with EmitText's column tracking as given.  Special calls are recognised
// only where "${" did not come from the document.
void WriteSpecText(Translation& t, std::string_view text, ElemNode* elem, OutBuffer* stream, int trackColumn);

}  // namespace qlx
