#include "translate/expand.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <utility>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "translate/links.h"
#include "output/maps.h"
#include "translate/special.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/text.h"
#include "util/vartable.h"

namespace qlx {
namespace {

// The destination of an expansion, with or without the origin of its
// characters: the ranges [first, second) of text that came from the
// document, in order and apart (most expansions hold none).
template <bool kTrack>
struct Sink {
  std::string text;
  std::vector<std::pair<size_t, size_t>> fromDocument;

  void Append(std::string_view s, bool document) {
    if constexpr (kTrack) {
      if (document && !s.empty()) {
        if (!fromDocument.empty() && fromDocument.back().second == text.size())
          fromDocument.back().second += s.size();
        else
          fromDocument.emplace_back(text.size(), text.size() + s.size());
      }
    }
    text.append(s);
  }
  void Append(char c) { text += c; }
};

// Whether text[i] of an expansion came from the document.
bool FromDocument(const std::vector<std::pair<size_t, size_t>>& ranges, size_t i) {
  for (const auto& [first, end] : ranges) {
    if (i < first) return false;
    if (i < end) return true;
  }
  return false;
}

// Changes the case of the letters below 128 in text[from, end) (upper
// when `upper`), leaving the ESIS escapes of document data whole: a
// backslash and the character after it, and an SDATA reference \|...\|.
void ChangeCase(std::string& text, size_t from, bool upper, bool escapes) {
  for (size_t i = from; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (escapes && c == '\\' && i + 1 < text.size()) {
      if (text[i + 1] == '|') {
        size_t close = text.find("\\|", i + 2);
        i = close == std::string::npos ? text.size() : close + 1;
      } else {
        ++i;
      }
      continue;
    }
    text[i] = upper ? AsciiUpper(text[i]) : AsciiLower(text[i]);
  }
}

// The data of an element: with `deep`, of its descendants too, in
// document order; without, its own data items (a child element or a
// processing instruction among them draws a warning).
template <bool kTrack>
void AppendContent(Translation& t, Sink<kTrack>& dest, const ElemNode* elem, bool deep) {
  if (!elem) return;
  // The descendants through a stack of our own: nesting costs heap only.
  std::vector<std::pair<const ElemNode*, int>> stack{{elem, 0}};
  while (!stack.empty()) {
    auto& [e, i] = stack.back();
    if (i == e->contentCount) {
      stack.pop_back();
      continue;
    }
    const ContentItem& item = e->items()[i++];
    if (item.kind() == '-') dest.Append(item.text(), true);
    else if (!deep) t.messages->Puts("warning: ${+current} skipped element content\n");
    else if (item.kind() == '(') stack.emplace_back(item.elem(), 0);
  }
}

template <bool kTrack>
void AppendReference(Translation& t, Sink<kTrack>& dest, std::string_view ref, const ElemNode* elem) {
  if (!ref.empty() && ref[0] == '+') {
    // +content and +text, optionally with a case modifier (:u, :l).
    std::string_view base = ref.substr(0, ref.find(':'));
    char mod = base.size() + 1 < ref.size() ? ref[base.size() + 1] : 0;
    size_t at = dest.text.size();
    if (base == "+content") {
      AppendContent(t, dest, elem, false);
    } else if (base == "+text") {
      AppendContent(t, dest, elem, true);
      dest.text.replace(at, std::string::npos,
                        GatherBlanks(std::string_view(dest.text).substr(at), false, false, false));
      if constexpr (kTrack) {  // all of it came from the document
        while (!dest.fromDocument.empty() && dest.fromDocument.back().first >= at)
          dest.fromDocument.pop_back();
        if (dest.text.size() > at) dest.fromDocument.emplace_back(at, dest.text.size());
      }
    } else t.messages->Printf("unknown immediate variable: %.*s\n", int(ref.size()), ref.data());
    if (mod == 'u' || mod == 'l') ChangeCase(dest.text, at, mod == 'u', true);
    return;
  }
  std::string_view name = ref, defaultText, modifier;
  size_t space = ref.find(' ');
  bool hasDefault = space != std::string_view::npos;
  if (hasDefault) {
    defaultText = ref.substr(space + 1);
    name = ref.substr(0, space);
  }
  size_t colon = name.find(':');
  if (colon != std::string_view::npos) {
    modifier = name.substr(colon + 1);
    name = name.substr(0, colon);
  }
  std::string key(name);
  const char* value = elem ? FindAttValue(elem, key.c_str()) : nullptr;
  bool document = value != nullptr;
  if (!value) {
    if (key == "each_A" || key == "each_C") {
      value = LookupVariable(t, key)->c_str();  // loop words: document text
      document = true;
    } else if (const VarEntry* e = LookupVarEntry(&t.vars, key); e && e->hasValue) {
      value = e->value.c_str();
      document = e->fromDocument;
    }
  }
  if (!value) {
    if (hasDefault) dest.Append(defaultText, false);
    return;
  }
  size_t at = dest.text.size();
  dest.Append(value, document);
  if (!modifier.empty() && (modifier[0] == 'l' || modifier[0] == 'u'))
    ChangeCase(dest.text, at, modifier[0] == 'u', false);
}

template <bool kTrack>
Sink<kTrack> Expand(Translation& t, std::string_view src, const ElemNode* elem) {
  Sink<kTrack> dest;
  dest.text.reserve(src.size());
  size_t i = 0;
  while (i < src.size()) {
    // Plain text up to the next '$' goes over in one piece.
    size_t dollar = src.find('$', i);
    if (dollar != i) {
      size_t end = dollar == std::string_view::npos ? src.size() : dollar;
      dest.Append(src.substr(i, end - i), false);
      i = end;
      continue;
    }
    if (i + 1 >= src.size() || src[i + 1] != '{' || (i + 2 < src.size() && src[i + 2] == '_')) {
      dest.Append('$');
      ++i;
      continue;
    }
    // A reference: up to the matching '}'.
    size_t start = i + 2, j = start;
    int depth = 0;
    bool closed = false;
    for (; j < src.size(); ++j) {
      if (src[j] == '{') {
        ++depth;
      } else if (src[j] == '}') {
        if (depth == 0) {
          closed = true;
          break;
        }
        --depth;
      }
    }
    if (!closed && depth > 0) {
      t.messages->Printf("Botched variable use: %.*s\n", int(src.size()), src.data());
      return dest;
    }
    AppendReference(t, dest, src.substr(start, j - start), elem);
    i = closed ? j + 1 : src.size();
  }
  return dest;
}

}  // namespace

std::string ExpandVariables(Translation& t, std::string_view src, const ElemNode* elem) {
  return Expand<false>(t, src, elem).text;
}

Expansion ExpandTracked(Translation& t, std::string_view src, const ElemNode* elem) {
  Sink<true> sink = Expand<true>(t, src, elem);
  Expansion exp{std::move(sink.text), {}, !sink.fromDocument.empty()};
  if (exp.anyFromDocument) {
    exp.fromDocument.assign(exp.text.size(), false);
    for (const auto& [first, end] : sink.fromDocument)
      std::fill(exp.fromDocument.begin() + ptrdiff_t(first), exp.fromDocument.begin() + ptrdiff_t(end), true);
  }
  return exp;
}

void WriteSpecText(Translation& t, std::string_view text, ElemNode* elem, OutBuffer* stream, int trackColumn) {
  // Without a '$' there is nothing to expand, no "\$" and no call: the
  // text is written as it stands.
  if (text.find('$') == std::string_view::npos) {
    EmitText(text, stream, trackColumn);
    return;
  }
  Sink<true> exp = Expand<true>(t, text, elem);
  const std::string& expanded = exp.text;
  if (expanded.find('$') == std::string::npos) {
    EmitText(std::string_view(expanded), stream, trackColumn);
    return;
  }
  // The text between the calls goes to EmitText in one piece per stretch,
  // with "\$" written as '$'; it is copied only where it holds one.
  std::string run;
  size_t from = 0;  // the part of expanded[from, i) not yet in run
  auto flushRun = [&](size_t i) {
    if (run.empty()) {
      if (i > from) EmitText(std::string_view(expanded).substr(from, i - from), stream, trackColumn);
      return;
    }
    run.append(expanded, from, i - from);
    EmitText(std::string_view(run), stream, trackColumn);
    run.clear();
  };
  size_t i = 0, n = expanded.size();
  while (i < n) {
    char c = expanded[i];
    if (c == '\\' && i + 1 < n && expanded[i + 1] == '$') {
      run.append(expanded, from, i - from);
      run += '$';
      i += 2;
      from = i;
      continue;
    }
    if (c == '$' && i + 1 < n && expanded[i + 1] == '{' && !FromDocument(exp.fromDocument, i)) {
      flushRun(i);
      // The call ends at the author's "}": one in the document's text is
      // part of the call's words.
      size_t close = expanded.find('}', i + 1);
      while (close != std::string::npos && FromDocument(exp.fromDocument, close))
        close = expanded.find('}', close + 1);
      if (close == std::string::npos) {
        t.messages->Printf("Mismatched braces in TranSpec: %s\n", expanded.c_str() + i + 1);
      }
      const size_t first = i + 3;  // the character right after '{' is dropped
      const size_t end = close == std::string::npos ? n : close;
      std::string call = first < end ? expanded.substr(first, end - first) : std::string();
      std::vector<bool> origin;
      if (first < end && !exp.fromDocument.empty()) {
        origin.resize(end - first);
        for (size_t k = first; k < end; ++k) origin[k - first] = FromDocument(exp.fromDocument, k);
      }
      CallSpecialVariable(t, call, elem, stream, trackColumn, origin);
      i = close == std::string::npos ? n : close + 1;
      from = i;
      continue;
    }
    ++i;
  }
  flushRun(n);
}

}  // namespace qlx
