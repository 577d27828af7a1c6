// The hot paths of a translation on a generated DocBook-like document
// (the shape of the peer benchmark's documents): reading the ESIS, the
// output writer on spec texts and on data with a character map, choosing
// specs, expanding spec texts, and a whole translation.
//
//   build/<dir>/translate_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "doc/esis.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "output/maps.h"
#include "transpec/transpec.h"
#include "translate/expand.h"
#include "translate/match.h"
#include "translate/translate.h"
#include "util/fatal.h"
#include "util/outbuf.h"
#include "util/linereader.h"

namespace {

using namespace qlx;

// An ESIS text of `sections` sections, each with a title, paragraphs with
// inline elements and attribute records (most of them IMPLIED, as onsgmls
// writes them), a program listing and an &amp; now and then.
std::string MakeEsis(int sections) {
  std::string s = "AID TOKEN BENCH\nALANG CDATA en\nAROLE IMPLIED\n(ARTICLE\n(TITLE\n-A benchmark\n)TITLE\n";
  for (int i = 0; i < sections; ++i) {
    std::string id = std::to_string(i);
    s += "AID TOKEN SECT" + id + "\nALANG IMPLIED\nAROLE IMPLIED\n(SECTION\n(TITLE\n-Section " + id +
         " of the document\n)TITLE\n";
    for (int p = 0; p < 4; ++p) {
      s += "AID IMPLIED\nALANG IMPLIED\nAROLE IMPLIED\n(PARA\n"
           "-The text of the paragraph runs on for a while, as paragraphs do, and\\n\n"
           "AROLE IMPLIED\n(EMPHASIS\n-stresses\n)EMPHASIS\n"
           "- a word; then it names a file & <a tag> and links to\\n\n"
           "ALINKEND TOKEN SECT" + std::to_string(i / 2) + "\nAENDTERM IMPLIED\n(XREF\n)XREF\n"
           "-. The end of the paragraph.\n)PARA\n";
    }
    s += "AID IMPLIED\nAROLE IMPLIED\nALANGUAGE CDATA shell\n(PROGRAMLISTING\n"
         "-$ make check\\nall tests passed\n)PROGRAMLISTING\n)SECTION\n";
  }
  s += ")ARTICLE\n";
  return s;
}

const char kSpec[] =
    "GI: ARTICLE\nStartText: <html>^<body>^\nEndText: ^</body>^</html>^\n-\n"
    "GI: TITLE\nContext: SECTION\nStartText: ^<h2>\nEndText: </h2>^\n-\n"
    "GI: TITLE\nStartText: ^<h1>\nEndText: </h1>^\n-\n"
    "GI: SECTION\nStartText: ^<div id=\"${ID:l}\">^\nEndText: ^</div>^\n-\n"
    "GI: PARA\nStartText: ^<p>\nEndText: </p>^\n-\n"
    "GI: EMPHASIS\nStartText: <em>\nEndText: </em>\n-\n"
    "GI: XREF\nStartText: <a href=\"#${LINKEND:l}\">${_followlink LINKEND 10}</a>\n-\n"
    "GI: PROGRAMLISTING\nVerbatim:\nStartText: ^<pre>\nEndText: </pre>^\n-\n"
    "GI: _title_of\nSpecID: 10\nIgnore: all\n-\n"
    "GI: *\n-\n";

const char kCharMap[] = "& &amp;\n< &lt;\n> &gt;\n";

std::string WriteTemp(const std::string& name, const std::string& content) {
  std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                     "/qlx_bench_" + std::to_string(getpid()) + "_" + name;
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) std::abort();
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
  return path;
}

ElemNode* ReadFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) std::abort();
  LineReader in(fd);
  ResetDocument();
  ElemNode* root = ReadESIS(in, path.c_str());
  close(fd);
  return root;
}

// Everything the benchmarks share: the document on disk and read, the spec
// file and the character map.
struct Fixture {
  std::string esis = MakeEsis(200);
  std::string esisPath = WriteTemp("doc.esis", esis);
  std::string specPath = WriteTemp("doc.ts", kSpec);
  std::string mapPath = WriteTemp("doc.cmap", kCharMap);
  int sinkFd = open("/dev/null", O_WRONLY);
  OutBuffer sinkBuffer{sinkFd, "/dev/null"};
  OutBuffer* sink = &sinkBuffer;
  ~Fixture() {
    std::remove(esisPath.c_str());
    std::remove(specPath.c_str());
    std::remove(mapPath.c_str());
    sinkBuffer.Flush();
    close(sinkFd);
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_ReadESIS(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(ReadFile(f.esisPath));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.esis.size()));
  state.counters["elements"] = doc.nextSerial;
}
BENCHMARK(BM_ReadESIS)->Unit(benchmark::kMillisecond);

void BM_EmitText(benchmark::State& state) {
  Fixture& f = Shared();
  const std::string text = "^<div class=\"section\" id=\"sect12\">^\\s<h2>";
  f.sink->column = 0;
  for (auto _ : state) EmitText(text, f.sink, 1);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_EmitText);

// A data record of the usual length, with and without a byte to map.
void BM_EmitData(benchmark::State& state, const char* data) {
  Fixture& f = Shared();
  LoadCharMap(f.mapPath);
  for (auto _ : state) EmitData(data, f.sink, false);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::string_view(data).size()));
  output.charMap.Clear();
}
BENCHMARK_CAPTURE(BM_EmitData, plain,
                  "The text of the paragraph runs on for a while, as paragraphs do, and\\n");
BENCHMARK_CAPTURE(BM_EmitData, mapped, " a word; then it names a file & <a tag> and links to\\n");

void BM_MatchSpec(benchmark::State& state) {
  Fixture& f = Shared();
  ElemNode* root = ReadFile(f.esisPath);
  Translation t(nullptr, Diagnostics());
  ReadSpecs(t, f.specPath);
  // A title inside a section: a context test and a fallback on the way.
  ElemNode* title = NthChild(NthChild(root, 1), 0);
  for (auto _ : state) benchmark::DoNotOptimize(MatchSpec(t, title, 0));
}
BENCHMARK(BM_MatchSpec);

void BM_AssignSpecs(benchmark::State& state) {
  Fixture& f = Shared();
  ElemNode* root = ReadFile(f.esisPath);
  Translation t(nullptr, Diagnostics());
  ReadSpecs(t, f.specPath);
  for (auto _ : state) AssignSpecs(t, root);
  state.counters["elements"] = benchmark::Counter(double(doc.nextSerial) * double(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AssignSpecs)->Unit(benchmark::kMicrosecond);

void BM_Expansion(benchmark::State& state) {
  Fixture& f = Shared();
  ElemNode* root = ReadFile(f.esisPath);
  ElemNode* section = NthChild(root, 1);
  Translation t(f.sink, Diagnostics());
  for (auto _ : state) WriteSpecText(t, "^<div id=\"${ID:l}\">^", section, f.sink, 1);
}
BENCHMARK(BM_Expansion);

void BM_Translation(benchmark::State& state) {
  Fixture& f = Shared();
  ElemNode* root = ReadFile(f.esisPath);
  LoadCharMap(f.mapPath);
  Variables vars;
  for (auto _ : state) TranslateTree(root, f.specPath.c_str(), f.sink, vars);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.esis.size()));
  output.charMap.Clear();
}
BENCHMARK(BM_Translation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
