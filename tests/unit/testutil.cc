#include "testutil.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "doc/esis.h"
#include "util/fatal.h"
#include "util/linereader.h"
#include "util/settings.h"

namespace qlx::test {
namespace {

[[noreturn]] void ThrowFatal(int status) { throw FatalExit{status}; }

}  // namespace

ThrowOnFatal::ThrowOnFatal() { SetFatalHandler(ThrowFatal); }
ThrowOnFatal::~ThrowOnFatal() { SetFatalHandler(nullptr); }

ElemNode* ReadDocument(const std::string& esis) { return ReadDocument(esis, EsisReadOptions()); }

ElemNode* ReadDocument(const std::string& esis, const EsisReadOptions& options) {
  ResetDocument();
  std::FILE* tmp = std::tmpfile();
  std::fwrite(esis.data(), 1, esis.size(), tmp);
  std::fflush(tmp);
  std::rewind(tmp);
  ElemNode* root;
  {
    LineReader in(fileno(tmp));
    root = ReadESIS(in, "test", options);
  }
  std::fclose(tmp);
  doc.root = root;
  return root;
}

TempDir::TempDir() {
  char tmpl[] = "/tmp/qlx-test-XXXXXX";
  path_ = mkdtemp(tmpl);
}

TempDir::~TempDir() {
  std::string cmd = "rm -rf '" + path_ + "'";
  if (std::system(cmd.c_str()) != 0) {
  }
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  std::string full = path_ + "/" + name;
  std::ofstream(full, std::ios::binary) << content;
  return full;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace qlx::test
