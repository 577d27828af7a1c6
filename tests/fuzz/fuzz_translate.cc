// A translation of fuzzed ESIS under the fixed spec file
// fixtures/translate.ts (every special variable, both table formats) with
// the fixture SDATA and character maps.  Input: an ESIS stream; a first
// line "#v" makes it a validation run (no output stream).  The only
// commands allowed are the spec file's own: a command built from document
// text aborts the run.

#include <string>
#include <string_view>

#include "doc/tree.h"
#include "harness.h"
#include "output/maps.h"
#include "translate/translate.h"
#include "util/outbuf.h"
#include "util/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string spec = fuzz::Fixture("translate.ts");
  fuzz::InitOnce();
  fuzz::ExpectOnlyCommands(
      {"echo document-command", "echo var-command", "echo", ""});
  fuzz::ResetProcessState();
  std::string_view esis(reinterpret_cast<const char*>(data), size);
  qlx::OutBuffer sink = qlx::OutBuffer::Discarding();
  qlx::OutBuffer null(fileno(fuzz::NullStream()), "/dev/null");
  qlx::OutBuffer* out = &null;
  if (esis.substr(0, 3) == "#v\n") {
    out = &sink;
    esis.remove_prefix(3);
  }
  qlx::ElemNode* root = fuzz::ReadDocument(esis);
  if (!root) return 0;
  qlx::settings.verbose = 1;  // the report of unprocessed elements too
  qlx::Variables vars;
  fuzz::Guarded([&] {
    qlx::LoadSdataMap("fuzz.sdata");
    qlx::LoadCharMap("fuzz.cmap");
    qlx::TranslateTree(root, spec.c_str(), out, vars);
  });
  return 0;
}
