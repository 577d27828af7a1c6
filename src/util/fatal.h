// Fatal stops and the program's error texts.
// Every fatal condition ends the process through Fatal(), whose last step a
// test or a fuzzer may replace (for instance with a throw) so that the fatal
// paths can be exercised in-process.
#pragma once

#include <cstdio>
#include <string>

namespace qlx {

// Ends the program with the given status after flushing the standard
// streams.  On a thread that works ahead (see Diagnostics) it abandons the
// work instead.  Calls the installed fatal handler first; the default handler
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

// Standard error, the stream of every message of a translation.
//
// A translation may be worked on ahead, into a buffer, by a second thread
// (and by the main thread while it waits for that one).  Work done ahead
// must never show: a message written there would come out early, and out
// of its order.  So on a thread that works ahead, Diagnostics() (and
// Fatal, and OutOfMemory) throw WorkAbandoned instead, and the main thread
// later does that part of the work itself, in its turn, where every
// message and fatal stop comes out as it would have in a plain run.
std::FILE* Diagnostics();

struct WorkAbandoned {};

// Marks the calling thread as working ahead while the object lives.
class WorkingAhead {
 public:
  WorkingAhead();
  ~WorkingAhead();
  WorkingAhead(const WorkingAhead&) = delete;
  WorkingAhead& operator=(const WorkingAhead&) = delete;

 private:
  bool previous_;
};

// Whether the calling thread works ahead now.
bool IsWorkingAhead();

}  // namespace qlx
