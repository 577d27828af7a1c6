#include "util/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qlx {
namespace {

void ExitHandler(int status) { std::exit(status); }

FatalHandler fatalHandler = ExitHandler;

thread_local bool workingAhead = false;

void NewHandler() { OutOfMemory(kMallocFailed); }

}  // namespace

void Fatal(int status) {
  if (workingAhead) throw WorkAbandoned();
  std::fflush(stdout);
  std::fflush(stderr);
  fatalHandler(status);
  std::exit(status);  // a handler that returned
}

FatalHandler SetFatalHandler(FatalHandler handler) {
  FatalHandler old = fatalHandler;
  fatalHandler = handler ? handler : ExitHandler;
  return old;
}

void OutOfMemory(const char* text) {
  if (workingAhead) throw WorkAbandoned();
  std::perror(text);
  Fatal(1);
}

void InstallOutOfMemoryHandler() { std::set_new_handler(NewHandler); }

std::string strerror(int errnum) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "error number %d\n", errnum);
  std::perror(buf);
  std::string text = ::strerror(errnum);
  text += '\n';
  return text;
}

std::FILE* Diagnostics() {
  if (workingAhead) throw WorkAbandoned();
  return stderr;
}

WorkingAhead::WorkingAhead() : previous_(workingAhead) { workingAhead = true; }
WorkingAhead::~WorkingAhead() { workingAhead = previous_; }

bool IsWorkingAhead() { return workingAhead; }

}  // namespace qlx
