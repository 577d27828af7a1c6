// Fatal stops and the program's error texts.
// Every fatal condition ends the process through Fatal(), whose last step a
// test or a fuzzer may replace (for instance with a throw) so that the fatal
// paths can be exercised in-process.
#pragma once

#include <cstdio>
#include <string>

#include "util/outbuf.h"

namespace qlx {

// Marks code on the way to ending the process.  Before a call that does not
// return, AddressSanitizer cleans up the calling thread's whole stack, and it
// warns instead when that stack is larger than it expects, as the large
// stack of deeply nested translations is; the process ends anyway, so such
// code is left out of its instrumentation.
#define QLX_ENDS_PROCESS __attribute__((no_sanitize_address))

// Ends the program with the given status after flushing the standard
// streams.  Calls the installed fatal handler first; the default handler
// calls std::exit.  Never returns.
[[noreturn]] QLX_ENDS_PROCESS void Fatal(int status);

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

// The program's messages: standard error, through a buffer that writes at
// the end of every message.  A translation has a message sink of its own
// (translate/context.h), which is this one unless it records.
OutBuffer* Diagnostics();

}  // namespace qlx
