// Common ground of the fuzz targets: fatal stops turned into exceptions,
// a fresh process state for every input, in-memory files, and the
// reading of a document from bytes.
//
// Each target defines LLVMFuzzerTestOneInput and may define
// LLVMFuzzerInitialize.  The same sources are linked with libFuzzer for
// fuzzing (QLX_FUZZ) and with corpus_runner.cc for the regression tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qlx {
struct ElemNode;
struct EsisReadOptions;
}

namespace fuzz {

// Thrown by the fatal handler in place of exiting.
struct FatalStop {
  int status;
};

// Once per process: the throwing fatal handler, the out-of-memory
// handler, a private working directory that goes at a normal exit (so
// nothing a run creates lands anywhere else), an empty PATH (only shell
// built-ins run), standard output sent to /dev/null, and the library
// directory of the fixtures.
void InitOnce();

// Every process-wide record back to its start-up state: the run settings,
// the document, the output state and maps, the table states, the library
// list.
void ResetProcessState();

// A stdio stream to /dev/null, open for the whole process: output that is
// formatted and written but not kept.
std::FILE* NullStream();

// Runs fn and swallows a fatal stop; returns the stop's status or -1.
template <typename Fn>
int Guarded(Fn&& fn) {
  try {
    fn();
  } catch (const FatalStop& stop) {
    return stop.status;
  }
  return -1;
}

// An in-memory file with a path that opens it from its start
// (/proc/self/fd/N), rewritten for each input.
class MemFile {
 public:
  MemFile();
  void Set(std::string_view bytes);
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

// Reads `esis` as a document with ReadESIS and finishes the tree; null when
// the reader stopped (the fatal stop is swallowed).  The document state is
// reset first.
qlx::ElemNode* ReadDocument(std::string_view esis);
// The same, the reader split as `options` say.
qlx::ElemNode* ReadDocument(std::string_view esis, const qlx::EsisReadOptions& options);

// Reads `xml` as an XML document with ReadXML and finishes the tree, in the
// same way.
qlx::ElemNode* ReadXmlDocument(std::string_view xml);

// The fixtures directory (compiled in).
std::string Fixture(const char* name);

// Splits `data` at the first occurrence of `sep`: the part before goes to
// *head, the rest stays in data; false (and nothing changed) without sep.
bool Cut(std::string_view* data, std::string_view sep, std::string_view* head);

// Commands (popen) never run under the fuzz targets: the harness puts its
// own popen in their place, which answers with a line of fake output
// ("output of <command>\n") and a zero status.  When a target lists the
// commands it expects here, any other command aborts the run: text of the
// document reached a command.
void ExpectOnlyCommands(std::initializer_list<std::string_view> commands);

// The whole content of a file (the fixtures), or abort.
std::string ReadFile(const std::string& path);

}  // namespace fuzz
