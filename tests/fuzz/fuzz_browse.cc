// Browser command lines over the fixed document fixtures/browse.esis.
// Input: command lines, one a line, run in order until "quit".  Lines
// that would read or write files other than the fixtures are skipped:
// "tran", "sdata" and "cmap" take only names without '/' that do not begin
// with '.' (the empty name opens the
// fixtures directory itself), found in the fixtures directory (the library directory), and
// tran's output file must be "out.txt" in the private working directory,
// removed after every input.

#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "browse/browser.h"
#include "doc/tree.h"
#include "harness.h"
#include "translate/context.h"
#include "util/settings.h"
#include "util/split.h"

namespace {

bool SafeName(std::string_view name) {
  return (name.empty() || name[0] != '.') && name.find('/') == std::string_view::npos &&
         name != "out.txt";
}

bool Allowed(std::string_view line) {
  // The browser's own word splitting, so both see the same words.
  std::vector<std::string_view> w = qlx::Split(line, 20, qlx::SPLIT_ALLOC);
  if (w.empty()) return true;
  if (w[0] == "tran" || w[0] == "sdata" || w[0] == "cmap") {
    if (w.size() >= 2 && !SafeName(w[1])) return false;
    if (w[0] == "tran" && w.size() >= 3 && w[2] != "out.txt") return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string document = fuzz::ReadFile(fuzz::Fixture("browse.esis"));
  fuzz::InitOnce();
  fuzz::ResetProcessState();
  qlx::ElemNode* current = fuzz::ReadDocument(document);
  if (!current) __builtin_trap();  // the fixture must read
  std::string_view input(reinterpret_cast<const char*>(data), size);
  qlx::Variables vars;
  const qlx::BrowserSession session{vars, fuzz::NullStream()};
  fuzz::Guarded([&] {
    while (!input.empty()) {
      size_t nl = input.find('\n');
      std::string line(input.substr(0, nl));
      input.remove_prefix(nl == std::string_view::npos ? input.size() : nl + 1);
      line = line.c_str();  // the loop reads C strings: a NUL ends the line
      if (!Allowed(line)) continue;
      if (!qlx::RunBrowserCommand(session, line, &current)) break;
    }
  });
  std::fflush(stdout);
  unlink("out.txt");
  return 0;
}
