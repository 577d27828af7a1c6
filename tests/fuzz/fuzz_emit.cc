// The output writer with the SDATA and character maps.  Input:
//   <SDATA map file>\n%%\n<character map file>\n%%\n<text>
// (without the separators the whole input is the text and no map is
// loaded).  The text goes through EmitText with and without column
// tracking, and through EmitData as document data with and without the
// character map.  Besides the sanitizers: a text without escapes, carets
// or NUL bytes is written as it stands, and the positions of the data's
// own carets that ApplyCharMap reports are carets of its result.

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "harness.h"
#include "output/emit.h"
#include "util/outbuf.h"
#include "output/maps.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "output invariant broken: %s\n", what);
  std::abort();
}

// Runs fn on a memory stream and returns what it wrote.
template <typename Fn>
std::string Captured(Fn&& fn) {
  qlx::OutBuffer out;
  fuzz::Guarded([&] { fn(&out); });
  return std::string(out.text());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemFile sdataFile, charFile;
  fuzz::InitOnce();
  fuzz::ResetProcessState();
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view sdata, chars;
  if (fuzz::Cut(&input, "\n%%\n", &sdata) && fuzz::Cut(&input, "\n%%\n", &chars)) {
    sdataFile.Set(sdata);
    charFile.Set(chars);
    fuzz::Guarded([&] {
      qlx::LoadSdataMap(sdataFile.path());
      qlx::LoadCharMap(charFile.path());
    });
  }
  std::string text(input);

  std::string out = Captured([&](qlx::OutBuffer* f) { qlx::EmitText(text, f, 1); });
  if (text.find_first_of(std::string_view("\\^\0", 3)) == std::string::npos && out != text)
    Broken("plain text not written as it stands");
  Captured([&](qlx::OutBuffer* f) { qlx::EmitText(text.c_str(), f, 0); });
  Captured([&](qlx::OutBuffer* f) { qlx::EmitData(text.c_str(), f, false); });
  Captured([&](qlx::OutBuffer* f) { qlx::EmitData(text.c_str(), f, true); });

  std::vector<size_t> carets;
  std::string mapped;
  fuzz::Guarded([&] { mapped = qlx::ApplyCharMap(text.c_str(), &carets); });
  for (size_t i = 0; i < carets.size(); ++i) {
    if (carets[i] >= mapped.size() || mapped[carets[i]] != '^') Broken("caret position");
    if (i > 0 && carets[i] <= carets[i - 1]) Broken("caret positions out of order");
  }
  if (qlx::output.charMap.empty() && mapped != text.c_str()) Broken("empty map changed the data");
  return 0;
}
