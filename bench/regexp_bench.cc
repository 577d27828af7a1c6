// The pattern compiler and matcher on the shapes translation specs use:
// context patterns against ancestor strings, attribute-value patterns
// against short values, content patterns against data items, and a few
// long subjects.  A few cases run through the system's POSIX regexec too,
// for scale.
//
//   build/<dir>/regexp_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <regex.h>

#include <cstdlib>
#include <string>

#include "regexp/program.h"
#include "regexp/regexp.h"

namespace {

using qlx::CompiledPattern;
using qlx::CompilePattern;
using qlx::MatchPattern;

const char kAncestors[] = "PARA SECT2 SECT1 CHAPTER BOOK";
const char kParagraph[] =
    "The translator reads the ESIS stream of a document instance, loads the "
    "whole tree and translates every element with the first spec whose "
    "conditions hold; see section 4.2 for the details of the matching.";

void Match(benchmark::State& state, const char* pattern, std::string subject) {
  CompiledPattern* p = CompilePattern(pattern);
  int matched = 0;
  for (auto _ : state) {
    matched = MatchPattern(p, subject.c_str());
    benchmark::DoNotOptimize(matched);
  }
  state.SetLabel(matched ? "match" : "no match");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(subject.size()));
}

void Posix(benchmark::State& state, const char* pattern, std::string subject) {
  regex_t re;
  if (regcomp(&re, pattern, REG_EXTENDED | REG_NOSUB) != 0) {
    state.SkipWithError("regcomp failed");
    return;
  }
  int matched = 0;
  for (auto _ : state) {
    matched = regexec(&re, subject.c_str(), 0, nullptr, 0) == 0;
    benchmark::DoNotOptimize(matched);
  }
  state.SetLabel(matched ? "match" : "no match");
  regfree(&re);
}

// Patterns live until the program ends; here each one is given back.
void Compile(benchmark::State& state, const char* pattern) {
  for (auto _ : state) {
    CompiledPattern* p = CompilePattern(pattern);
    benchmark::DoNotOptimize(p);
    delete p->plan;
    std::free(p);
  }
}

std::string Repeat(const std::string& unit, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

// Context patterns (nearest ancestor first).
BENCHMARK_CAPTURE(Match, context_plain_word, "SECT1", kAncestors);
BENCHMARK_CAPTURE(Match, context_anchored, "^PARA SECT[0-9]", kAncestors);
BENCHMARK_CAPTURE(Match, context_choice, "^(LIST|ITEM|ENTRY) ", kAncestors);
BENCHMARK_CAPTURE(Match, context_deep, "SECT[0-9]+ .*BOOK$", kAncestors);
BENCHMARK_CAPTURE(Match, context_absent, "APPENDIX", kAncestors);
// Attribute values.
BENCHMARK_CAPTURE(Match, att_any, ".", "yes");
BENCHMARK_CAPTURE(Match, att_choice, "^(yes|no)$", "no");
BENCHMARK_CAPTURE(Match, att_number, "^[0-9]+$", "12345");
BENCHMARK_CAPTURE(Match, att_number_fail, "^[0-9]+$", "12a45");
// Content patterns against one data item.
BENCHMARK_CAPTURE(Match, content_word, "section", kParagraph);
BENCHMARK_CAPTURE(Match, content_blank, "^[ \t\n]*$", kParagraph);
BENCHMARK_CAPTURE(Match, content_two_words, "ESIS.*spec", kParagraph);
BENCHMARK_CAPTURE(Match, content_number, "[0-9]+\\.[0-9]+", kParagraph);
BENCHMARK_CAPTURE(Match, content_choice_fail, "(TODO|FIXME|XXX)", kParagraph);
// Long subjects (1 MB).
BENCHMARK_CAPTURE(Match, long_loop_match, "(a|b)*c", Repeat("ab", 500000) + "c");
BENCHMARK_CAPTURE(Match, long_loop_late, "(a|b)*c", Repeat("ab", 500000) + "dc");
BENCHMARK_CAPTURE(Match, long_tail_fail, "(ab)+$", Repeat("ab", 500000) + "a");
BENCHMARK_CAPTURE(Match, long_two_stars_fail, ".*x.*y",
                  std::string(500000, 'y') + std::string(500000, 'x'));
BENCHMARK_CAPTURE(Match, long_open_choices, "(a|ab)*c", Repeat("ab", 500000) + "c");
// The system library on some of the same.
BENCHMARK_CAPTURE(Posix, context_choice, "^(LIST|ITEM|ENTRY) ", kAncestors);
BENCHMARK_CAPTURE(Posix, att_number, "^[0-9]+$", "12345");
BENCHMARK_CAPTURE(Posix, content_word, "section", kParagraph);
BENCHMARK_CAPTURE(Posix, content_number, "[0-9]+\\.[0-9]+", kParagraph);
// Compiling.
BENCHMARK_CAPTURE(Compile, context, "^(LIST|ITEM|ENTRY) ");
BENCHMARK_CAPTURE(Compile, content, "[0-9]+\\.[0-9]+");

}  // namespace

BENCHMARK_MAIN();
