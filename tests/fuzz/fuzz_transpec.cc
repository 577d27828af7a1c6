// The spec file reader and compiler: the input is a translation spec file.
// The compiled specs are then matched against every element of a fixed
// document, by name and by SpecID, so the compiled tests run too.

#include <string_view>

#include "doc/tree.h"
#include "harness.h"
#include "translate/match.h"
#include "transpec/transpec.h"
#include "translate/translate.h"
#include "util/fatal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemFile file;
  static const std::string document = fuzz::ReadFile(fuzz::Fixture("browse.esis"));
  fuzz::InitOnce();
  fuzz::ResetProcessState();
  qlx::ElemNode* root = fuzz::ReadDocument(document);
  if (!root) __builtin_trap();  // the fixture must read
  file.Set(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzz::Guarded([&] {
    qlx::Translation t(nullptr, qlx::Diagnostics());
    qlx::ReadSpecs(t, file.path());
    qlx::AssignSpecs(t, root);
    for (qlx::ElemNode* e = root; e; e = qlx::NextElement(e)) {
      for (int id = 1; id <= 3; ++id) qlx::MatchSpec(t, e, id);
    }
    (void)qlx::FirstSpecWithGi(t.run.specs, "_Start");
    (void)qlx::FindSpecById(t.run.specs, 0);
  });
  return 0;
}
