#include "translate/command.h"

#include <cstdio>

#include "transpec/transpec.h"
#include "translate/match.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {

namespace {

bool FromDocumentAt(const std::vector<bool>& fromDocument, size_t i) {
  return i < fromDocument.size() && fromDocument[i];
}

// Where the author's text stands: the quote in force, and the construct
// that opened this level ($(...), `...` or ${...}, each of which starts
// its own quoting), so that a stretch of the document is quoted for the
// place it lands in.
enum class Quote { kNone, kSingle, kDouble };
struct Level {
  Quote quote = Quote::kNone;
  char closer = 0;  // ')', '`' or '}'; '\\' for \`...\` inside `...`; 0 at the top
  int parens = 0;   // open '(' inside a $( level
};

// `s` as one single-quoted shell word: each ' becomes '\''.
void AppendSingleQuoted(std::string& out, std::string_view s) {
  out += '\'';
  for (char c : s) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  out += '\'';
}

bool HasBackquoteLevel(const std::vector<Level>& levels) {
  for (const Level& level : levels)
    if (level.closer == '`') return true;
  return false;
}

// `s` as it must stand inside `...` to reach the command there unchanged.
std::string EscapedForBackquotes(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (char c : s) {
    if (c == '\\' || c == '`' || c == '$') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::optional<std::string> CommandWithDocumentQuoted(std::string_view text,
                                                     const std::vector<bool>& fromDocument, size_t offset) {
  bool any = false;
  for (size_t i = 0; i < text.size() && !any; ++i) any = FromDocumentAt(fromDocument, offset + i);
  if (!any) return std::string(text);

  std::string out;
  out.reserve(text.size() + 16);
  std::vector<Level> levels(1);
  bool escaped = false;  // the author's backslash waits for its character
  size_t i = 0;
  while (i < text.size()) {
    Level& at = levels.back();
    if (FromDocumentAt(fromDocument, offset + i)) {
      // Inside ${...} the shells disagree on what quotes mean, and inside
      // \`...\` the backslashes pile up: no quoting is known to hold there.
      if (at.closer == '}' || at.closer == '\\') return std::nullopt;
      size_t end = i;
      while (end < text.size() && FromDocumentAt(fromDocument, offset + end)) ++end;
      // A backslash of the author's would take our quote as its character;
      // backslash and newline together are removed by the shell instead.
      if (escaped) out += '\n';
      escaped = false;
      const char* close = at.quote == Quote::kSingle ? "'" : at.quote == Quote::kDouble ? "\"" : "";
      std::string word = close;
      AppendSingleQuoted(word, text.substr(i, end - i));
      word += close;
      // Each `...` around the place reads its text once for backslashes
      // before it parses it, so the word is escaped once for each.
      for (const Level& level : levels)
        if (level.closer == '`') word = EscapedForBackquotes(word);
      out += word;
      i = end;
      continue;
    }
    char c = text[i++];
    out += c;
    if (escaped) {
      escaped = false;
      // \` inside `...` nests a command whose quoting takes more
      // backslashes than we follow: nothing of the document may go there.
      if (c == '`' && at.closer == '\\') {
        levels.pop_back();
      } else if (c == '`' && HasBackquoteLevel(levels)) {
        levels.push_back(Level{Quote::kNone, '\\', 0});
      }
      continue;
    }
    if (at.quote == Quote::kSingle) {
      if (c == '\'') at.quote = Quote::kNone;
      continue;
    }
    bool dollar = c == '$' && i < text.size() && !FromDocumentAt(fromDocument, offset + i);
    if (dollar && (text[i] == '(' || text[i] == '{')) {
      out += text[i];
      levels.push_back(Level{Quote::kNone, text[i] == '(' ? ')' : '}', 0});
      ++i;
      continue;
    }
    if (c == '\\') {
      escaped = true;
    } else if (c == '`') {
      if (at.closer == '`') levels.pop_back();
      else levels.push_back(Level{Quote::kNone, '`', 0});
    } else if (at.quote == Quote::kDouble) {
      if (c == '"') at.quote = Quote::kNone;
    } else if (c == '\'') {
      at.quote = Quote::kSingle;
    } else if (c == '"') {
      at.quote = Quote::kDouble;
    } else if (at.closer == ')' && c == '(') {
      ++at.parens;
    } else if (at.closer == ')' && c == ')') {
      if (at.parens > 0) --at.parens;
      else levels.pop_back();
    } else if (at.closer == '}' && c == '}') {
      levels.pop_back();
    }
  }
  return out;
}

void SetVariableTracked(Translation& t, std::string_view name, std::string_view value,
                        const std::vector<bool>& fromDocument, size_t offset, const ElemNode* elem) {
  bool any = false;
  for (size_t i = 0; i < value.size() && !any; ++i) any = FromDocumentAt(fromDocument, offset + i);
  if (!any) return SetMapping(&t.vars, name, value);
  if (value.empty() || value[0] != '!' || FromDocumentAt(fromDocument, offset)) {
    SetMappingText(&t.vars, name, value, true);
    return;
  }
  std::optional<std::string> command = CommandWithDocumentQuoted(value.substr(1), fromDocument, offset + 1);
  if (!command) {
    t.messages->Printf("Error: Text of the document where no quoting holds; command not run: %.*s\n",
                 int(value.size()), value.data());
    const TranSpec* spec = elem ? ElementSpec(t, elem) : nullptr;
    if (spec && spec->lineNumber) t.messages->Printf("Used in transpec, line %d\n", spec->lineNumber);
    SetMappingText(&t.vars, name, value, true);
    return;
  }
  // The output echoes what the command was given: it is document text too.
  // A command that cannot start leaves the value as it was written.
  SetMappingText(&t.vars, name, value, true);
  std::string line;
  if (RunCommandFirstLine(*command, &line)) SetMappingText(&t.vars, name, line, true);
}

}  // namespace qlx
