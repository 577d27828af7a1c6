#include "translate/special.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "doc/tree.h"
#include "transpec/transpec.h"
#include "util/split.h"

namespace qlx {
namespace {

void UnknownName(std::string_view name, const ElemNode* elem) {
  std::fprintf(stderr, "Unknown special variable: %.*s\n", int(name.size()), name.data());
  if (elem && elem->spec && elem->spec->lineNumber)
    std::fprintf(stderr, "Used in transpec, line %d\n", elem->spec->lineNumber);
}

}  // namespace

void CallSpecialVariable(const std::string& call, ElemNode* elem, std::FILE* stream,
                         int trackColumn, const std::vector<bool>& fromDocument) {
  (void)stream;
  (void)trackColumn;
  (void)fromDocument;
  std::vector<std::string_view> words = Split(call);
  UnknownName(words.empty() ? std::string_view() : words[0], elem);
}

}  // namespace qlx
