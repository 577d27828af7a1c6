#include "harness.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>
#include <fcntl.h>
#include <ftw.h>
#include <sys/mman.h>
#include <unistd.h>

#include "doc/esis.h"
#include "doc/xml.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "translate/links.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/libfile.h"
#include "util/linereader.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace fuzz {
namespace {

[[noreturn]] void ThrowFatal(int status) { throw FatalStop{status}; }

std::string privateDir;

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  std::remove(path);
  return 0;
}

// The private directory and whatever the runs left in it go when the
// process ends normally (a crash keeps them for a look).
void RemovePrivateDir() {
  if (privateDir.empty()) return;
  if (chdir("/") != 0) return;
  nftw(privateDir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

}  // namespace

void InitOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  qlx::SetFatalHandler(ThrowFatal);
  qlx::InstallOutOfMemoryHandler();
  char dir[] = "/tmp/qlx-fuzz-XXXXXX";
  if (!mkdtemp(dir) || chdir(dir) != 0) {
    std::perror("qlx fuzz: private directory");
    std::abort();
  }
  privateDir = dir;
  std::atexit(RemovePrivateDir);
  setenv("PATH", "/nonexistent", 1);
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    std::fflush(stdout);
    dup2(null, 1);
    close(null);
  }
  ResetProcessState();
}

std::FILE* NullStream() {
  static std::FILE* stream = std::fopen("/dev/null", "w");
  return stream;
}

void ResetProcessState() {
  qlx::settings = qlx::RunSettings{};
  qlx::settings.libDir = QLX_FUZZ_FIXTURES;
  qlx::ResetDocument();
  delete qlx::output.sdataMap;
  delete qlx::output.sdataUsed;
  qlx::output.sdataMap = nullptr;
  qlx::output.sdataUsed = nullptr;
  qlx::output.charMap.Clear();
  qlx::ResetLibraryDirectories();
}

MemFile::MemFile() {
  fd_ = memfd_create("qlx-fuzz", 0);
  if (fd_ < 0) {
    std::perror("qlx fuzz: memfd_create");
    std::abort();
  }
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

void MemFile::Set(std::string_view bytes) {
  if (ftruncate(fd_, 0) != 0) std::abort();
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done, off_t(done));
    if (n <= 0) std::abort();
    done += size_t(n);
  }
  lseek(fd_, 0, SEEK_SET);
}

qlx::ElemNode* ReadDocument(std::string_view esis) { return ReadDocument(esis, qlx::EsisReadOptions()); }

qlx::ElemNode* ReadDocument(std::string_view esis, const qlx::EsisReadOptions& options) {
  static MemFile file;
  file.Set(esis);
  qlx::ResetDocument();
  qlx::ElemNode* root = nullptr;
  Guarded([&] {
    qlx::LineReader in(file.fd());
    root = qlx::ReadESIS(in, nullptr, options);
  });
  qlx::doc.root = root;
  return root;
}

qlx::ElemNode* ReadXmlDocument(std::string_view xml) {
  static MemFile file;
  file.Set(xml);
  qlx::ResetDocument();
  qlx::ElemNode* root = nullptr;
  Guarded([&] {
    root = qlx::ReadXML(file.fd(), {}, nullptr);
  });
  qlx::doc.root = root;
  return root;
}

std::string Fixture(const char* name) { return std::string(QLX_FUZZ_FIXTURES) + "/" + name; }

bool Cut(std::string_view* data, std::string_view sep, std::string_view* head) {
  size_t at = data->find(sep);
  if (at == std::string_view::npos) return false;
  *head = data->substr(0, at);
  data->remove_prefix(at + sep.size());
  return true;
}

std::string ReadFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    std::perror(path.c_str());
    std::abort();
  }
  std::string text;
  char buf[8192];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

}  // namespace fuzz

namespace {
std::vector<std::string> expectedCommands;
}

void fuzz::ExpectOnlyCommands(std::initializer_list<std::string_view> commands) {
  expectedCommands.assign(commands.begin(), commands.end());
}

// The stand-ins for the C library's popen and pclose (see harness.h).
extern "C" std::FILE* popen(const char* command, const char* mode) {
  if (!expectedCommands.empty()) {
    bool known = false;
    for (const std::string& c : expectedCommands) known = known || c == command;
    if (!known) {
      std::fprintf(stderr, "unexpected command run: '%s'\n", command);
      std::abort();
    }
  }
  if (std::string_view(mode) != "r") {
    errno = EINVAL;
    return nullptr;
  }
  std::string text = "output of ";
  text += command;
  text += '\n';
  std::FILE* f = fmemopen(nullptr, text.size() + 1, "w+");
  if (!f) return nullptr;
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return f;
}

extern "C" int pclose(std::FILE* stream) {
  std::fclose(stream);
  return 0;
}
