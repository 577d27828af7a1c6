#include <gtest/gtest.h>

#include <unistd.h>

#include "testutil.h"
#include "util/libfile.h"
#include "util/settings.h"

namespace qlx {
namespace {

std::string FirstLine(std::FILE* f) {
  if (!f) return "<none>";
  char buf[256] = "";
  if (!std::fgets(buf, sizeof buf, f)) buf[0] = '\0';
  std::fclose(f);
  return buf;
}

class LibFileTest : public testing::Test {
 protected:
  void SetUp() override { saved_ = settings.libDir; ResetLibraryDirectories(); }
  void TearDown() override { settings.libDir = saved_; ResetLibraryDirectories(); }
  std::string saved_;
};

TEST_F(LibFileTest, DirectoryListSplitsAtColonsAndBlanks) {
  settings.libDir = "a:b c::d:";
  EXPECT_EQ(LibraryDirectories(), (std::vector<std::string>{"a", "b", "c", "d", ""}));
}

TEST_F(LibFileTest, SearchesWorkingDirectoryThenLibrariesInOrder) {
  test::TempDir one, two, cwd;
  one.Write("spec.ts", "one\n");
  two.Write("spec.ts", "two\n");
  two.Write("other.ts", "other\n");
  cwd.Write("spec.ts", "cwd\n");
  settings.libDir = one.path() + ":" + two.path();
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(cwd.path().c_str()), 0);
  EXPECT_EQ(FirstLine(OpenLibFile("spec.ts")), "cwd\n");
  EXPECT_EQ(FirstLine(OpenLibFile("other.ts")), "other\n");
  EXPECT_EQ(FirstLine(OpenLibFile("missing.ts")), "<none>");
  ASSERT_EQ(chdir(old), 0);
  EXPECT_EQ(FirstLine(OpenLibFile("spec.ts")), "one\n");
}

TEST_F(LibFileTest, AbsoluteNamesAreNotSearchedAndListIsBuiltOnce) {
  test::TempDir lib;
  lib.Write("x.ts", "x\n");
  settings.libDir = lib.path();
  EXPECT_EQ(FirstLine(OpenLibFile("/x.ts")), "<none>");
  EXPECT_EQ(FirstLine(OpenLibFile("x.ts")), "x\n");
  settings.libDir = "/nonexistent";  // too late: the list is fixed
  EXPECT_EQ(FirstLine(OpenLibFile("x.ts")), "x\n");
}

TEST_F(LibFileTest, TrailingColonTriesTheRootDirectory) {
  settings.libDir = "/nonexistent:";
  EXPECT_NE(FirstLine(OpenLibFile("proc/version")), "<none>") << "tried as /proc/version";
}

}  // namespace
}  // namespace qlx
