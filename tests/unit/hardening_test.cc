// Runs that stop in the middle must leave the process able to go on: the
// fuzz targets (and these tests) catch fatal stops and read the next
// input.  The end-to-end faults and hostile documents are in
// tests/scripts/hardening_*.sh.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "testutil.h"
#include "transpec/transpec.h"
#include "translate/translate.h"

namespace qlx {
namespace {

// The lowest free file descriptor: it grows when a descriptor leaks.
int LowestFreeFd() {
  int fd = open("/dev/null", O_RDONLY);
  close(fd);
  return fd;
}

TEST(Hardening, SpecFileClosedWhenAPatternStopsTheRun) {
  test::ThrowOnFatal fatal;
  test::TempDir dir;
  std::string path = dir.Write("bad.ts", "GI: P\nContext: (unclosed\n-\nGI: Q\n-\n");
  int before = LowestFreeFd();
  for (int i = 0; i < 3; ++i) {
    Translation t(nullptr, Diagnostics());
    EXPECT_THROW(ReadSpecs(t, path), test::FatalExit);
  }
  EXPECT_EQ(LowestFreeFd(), before);
}

}  // namespace
}  // namespace qlx
