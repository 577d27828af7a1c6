// Pattern compilation and matching.  Input: the pattern, a NUL byte, the
// subject (without a NUL, the whole input is the pattern and the subject
// is empty).  Besides the sanitizers: the match and group positions lie
// inside the subject and the match, a second call answers the same, and
// the compiler's hints (anchoring, first character, required literal)
// never change the answer: a wrong hint would make the matcher skip a real
// match.

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "harness.h"
#include "regexp/program.h"
#include "regexp/regexp.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "pattern invariant broken: %s\n", what);
  std::abort();
}

bool Inside(const char* p, const char* lo, const char* hi) { return p >= lo && p <= hi; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InitOnce();
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  std::string pattern = input.substr(0, nul);
  std::string subject = nul == std::string::npos ? "" : input.substr(nul + 1);
  subject = subject.c_str();  // the matcher sees a C string
  qlx::CompiledPattern* p = nullptr;
  fuzz::Guarded([&] { p = qlx::CompilePattern(pattern.c_str()); });
  if (!p) return 0;
  const char* s = subject.c_str();
  const char* end = s + subject.size();
  if (qlx::MatchPattern(p, s)) {
    if (!p->start[0] || !p->end[0]) Broken("match without bounds");
    if (!Inside(p->start[0], s, end) || !Inside(p->end[0], p->start[0], end))
      Broken("match bounds outside the subject");
    for (int g = 1; g < 10; ++g) {
      if (!p->start[g] != !p->end[g]) Broken("group with one bound");
      if (p->start[g] && (!Inside(p->start[g], p->start[0], p->end[0]) ||
                          !Inside(p->end[g], p->start[g], p->end[0])))
        Broken("group outside the match");
    }
    // A second call gives the same answer (the matcher keeps nothing).
    const char* first = p->start[0];
    const char* last = p->end[0];
    if (!qlx::MatchPattern(p, s) || p->start[0] != first || p->end[0] != last)
      Broken("second match differs");
  }
  // The same program without the compiler's hints (anchoring, first
  // character, required literal) must find the same match: the hints may
  // only save work.
  size_t bytes = offsetof(qlx::CompiledPattern, code) + size_t(p->codeSize);
  auto* plain = static_cast<qlx::CompiledPattern*>(std::malloc(bytes));
  std::memcpy(plain, p, bytes);
  plain->anchored = 0;
  plain->firstChar = 0;
  plain->mustText = nullptr;
  plain->mustLength = 0;
  int hinted = qlx::MatchPattern(p, s);
  if (qlx::MatchPattern(plain, s) != hinted) Broken("hints change the answer");
  if (hinted) {
    for (int g = 0; g < 10; ++g) {
      if (plain->start[g] != p->start[g] || plain->end[g] != p->end[g])
        Broken("hints change the match or a group");
    }
  }
  std::free(plain);
  qlx::FreePattern(p);
  return 0;
}
