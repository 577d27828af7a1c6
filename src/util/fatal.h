// Fatal stops and the program's error texts.
// Every fatal condition ends the process through Fatal(), whose last step a
// test or a fuzzer may replace (for instance with a throw) so that the fatal
// paths can be exercised in-process.
#pragma once

#include <cstdio>
#include <string>

#include "util/outbuf.h"

namespace qlx {

// Ends the program with the given status after flushing the standard
// streams.  On a thread that records its messages (see RecordMessages) it
// throws FatalStop instead.  Calls the installed fatal handler first; the default handler
// calls std::exit.  Never returns.
[[noreturn]] void Fatal(int status);

// Replaces the handler that Fatal calls; returns the previous one.  A
// handler must not return (throwing is fine).
using FatalHandler = void (*)(int status);
FatalHandler SetFatalHandler(FatalHandler handler);

// The out-of-memory convention: perror(text), then Fatal(1).
[[noreturn]] void OutOfMemory(const char* text);
inline constexpr const char* kMallocFailed = "Malloc failed -- out of memory.  Bailing out.";
inline constexpr const char* kCallocFailed = "Calloc failed -- out of memory.  Bailing out.";
inline constexpr const char* kReallocFailed = "Realloc failed -- out of memory.  Bailing out.";

// Installs a new-handler that follows the out-of-memory convention, so a
// failed allocation anywhere ends the run with the "Malloc failed" text.
void InstallOutOfMemoryHandler();

// The program's error-number report.  Writes "error number N\n" through
// perror (so standard error gets that text, ": " and the system's text for
// the current errno), and returns the system's description of the given
// error number followed by a newline, for callers to end their messages.
std::string strerror(int errnum);

// Where the messages of the calling thread go: standard error (a buffer
// that writes at the end of every message), or while a RecordMessages
// lives on the thread, its buffer.
OutBuffer* Diagnostics();

// What a fatal stop throws on a thread that records its messages.
struct FatalStop {
  int status;
};

// While the object lives, the calling thread's messages go to `messages`
// (a memory buffer, which may Follow() the output they belong to), and a
// fatal stop (Fatal, OutOfMemory) writes its message there and throws
// FatalStop instead of ending the process: whoever records replays the
// messages and the stop in their place.
class RecordMessages {
 public:
  explicit RecordMessages(OutBuffer* messages);
  ~RecordMessages();
  RecordMessages(const RecordMessages&) = delete;
  RecordMessages& operator=(const RecordMessages&) = delete;

 private:
  OutBuffer* previous_;
};

// Whether the calling thread records its messages now.
bool IsRecording();

}  // namespace qlx
