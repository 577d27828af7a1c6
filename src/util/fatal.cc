#include "util/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qlx {
namespace {

QLX_ENDS_PROCESS void ExitHandler(int status) { std::exit(status); }

FatalHandler fatalHandler = ExitHandler;

OutBuffer& StandardError() {
  static OutBuffer buffer(2, "standard error", 8192, true);
  return buffer;
}

void NewHandler() { OutOfMemory(kMallocFailed); }

}  // namespace

QLX_ENDS_PROCESS void Fatal(int status) {
  OutBuffer::FlushAll();
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
  std::perror(text);
  Fatal(1);
}

void InstallOutOfMemoryHandler() { std::set_new_handler(NewHandler); }

std::string strerror(int errnum) {
  const int current = errno;
  Diagnostics()->Printf("error number %d\n: %s\n", errnum, ::strerror(current));
  std::string text = ::strerror(errnum);
  text += '\n';
  return text;
}

OutBuffer* Diagnostics() { return &StandardError(); }

}  // namespace qlx
