// Commands that a spec's author builds around text of the document.
//
// A spec may run a shell command (${_!...}, or a variable value that
// begins with an author's "!").  Its author's characters keep their shell
// meaning; every stretch of characters that came from the document (an
// attribute value, data, a loop word) reaches the shell as literal text,
// in single quotes, so that the document can add words to the command but
// never code.  The quoting follows the author's own quotes: inside an
// author's "..." or '...' the quote is closed around the stretch and
// opened again, so that the text stays part of the author's word; inside
// $(...) and `...` the quoting of that command is followed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "translate/context.h"

namespace qlx {

// The command for `text`, whose character i came from the document when
// fromDocument[offset + i] is true (an index past the end of fromDocument
// means the author's).  Without any document character the text is
// returned as it stands.  None when a stretch of the document stands where
// no quoting can be trusted (inside the author's ${...}): such a command
// must not run.
std::optional<std::string> CommandWithDocumentQuoted(std::string_view text,
                                                     const std::vector<bool>& fromDocument,
                                                     size_t offset = 0);

struct ElemNode;

// Sets the global variable `name` to `value`, whose character i came from
// the document when fromDocument[offset + i] is true.  A value with text
// of the document is stored as text and marked so (it is never taken as a
// command or a special call later), except that a value whose "!" the
// spec's author wrote still runs its command, with the document's
// stretches quoted, and stores the first line of its output.  `elem` is
// the element whose spec sets the variable, for messages.
void SetVariableTracked(Translation& t, std::string_view name, std::string_view value,
                        const std::vector<bool>& fromDocument, size_t offset, const ElemNode* elem);

}  // namespace qlx
