#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/emit.h"
#include "output/maps.h"
#include "testutil.h"
#include "util/libfile.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class MapsTest : public testing::Test {
 protected:
  void SetUp() override {
    output = OutputState();
    savedLibDir_ = settings.libDir;
    settings.libDir = "/nonexistent";
    ResetLibraryDirectories();
  }
  void TearDown() override {
    output = OutputState();
    settings.libDir = savedLibDir_;
    ResetLibraryDirectories();
  }
  std::string Sdata(const char* name) {
    const std::string* v = LookupVar(output.sdataMap, name);
    return v ? *v : "<none>";
  }
  // The map as "key=replacement" items, in order.
  std::vector<std::string> CharEntries() {
    std::vector<std::string> items;
    for (const CharMapEntry& e : output.charMap.entries) items.push_back(e.key + "=" + e.replacement);
    return items;
  }

  test::TempDir dir_;
  std::string savedLibDir_;
};

TEST_F(MapsTest, SdataMapLines) {
  std::string longName(100000, 'n');
  std::string file =
      "[amp  ]\t&\n"
      "[lt   ] <\n"
      "[gt   ]\t\t\t>\n"
      "# a comment\n"
      "\n"
      "[tab  ]\ta\tb  \n"
      "[hash ]\t#\n"
      "[cr   ]\tx\r\n"
      "\tnameless\n" +
      longName + "\t" + longName + "\n" +
      "[last ]\tend";  // no newline at the end
  LoadSdataMap(dir_.Write("iso.map", file));
  ASSERT_NE(output.sdataMap, nullptr);
  EXPECT_EQ(output.sdataMap->step, 50);
  EXPECT_EQ(Sdata("[amp  ]"), "&");
  EXPECT_EQ(Sdata("[lt   ] <"), "");  // no tab: all name
  EXPECT_EQ(Sdata("[lt   ]"), "<none>");
  EXPECT_EQ(Sdata("[gt   ]"), ">");
  EXPECT_EQ(Sdata("[tab  ]"), "a\tb  ");
  EXPECT_EQ(Sdata("[hash ]"), "#");
  EXPECT_EQ(Sdata("[cr   ]"), "x\r");
  EXPECT_EQ(Sdata(""), "nameless");
  EXPECT_EQ(Sdata(longName.c_str()), longName);
  EXPECT_EQ(Sdata("[last ]"), "end");
  EXPECT_EQ(output.sdataMap->count(), 9u);
}

TEST_F(MapsTest, SdataMapsAddUp) {
  LoadSdataMap(dir_.Write("a.map", "one\t1\ntwo\t2\n"));
  LoadSdataMap(dir_.Write("b.map", "two\tzwei\nthree\t!echo drei; echo vier\n"));
  EXPECT_EQ(Sdata("one"), "1");
  EXPECT_EQ(Sdata("two"), "zwei");
  EXPECT_EQ(Sdata("three"), "drei");  // a command value: its first line
  EXPECT_EQ(output.sdataMap->entries[1].name, "two");
}

TEST_F(MapsTest, SdataMapFailures) {
  EXPECT_TRUE(LoadSdataMap(dir_.Write("a.map", "one\t1\n")));
  CaptureStderr();
  EXPECT_FALSE(LoadSdataMap(dir_.path() + "/missing.map"));
  std::string err = GetCapturedStderr();
  EXPECT_NE(err.find("Can not open SDATA file '" + dir_.path() + "/missing.map': "),
            std::string::npos)
      << err;
  EXPECT_EQ(err.back(), '\n');  // the error text ends the line
  EXPECT_EQ(Sdata("one"), "1");

  output = OutputState();
  CaptureStderr();
  LoadSdataMap("missing.map");
  GetCapturedStderr();
  EXPECT_EQ(output.sdataMap, nullptr);  // not created by a failure
}

TEST_F(MapsTest, CharMapLines) {
  std::string longText(70000, 'r');
  LoadCharMap(dir_.Write("c.map",
                         "&  \\&amp;\n"
                         "# comment\n"
                         "\n"
                         "\\# hash\n"
                         "\\\\ \\e\n"
                         "x\n"
                         "t\t \ttab  and  more \n"
                         "ab first-only\n"
                         "a second\n"
                         "l " + longText + "\n"
                         " blank-key\n"
                         "c\r\n"));
  EXPECT_EQ(CharEntries(), (std::vector<std::string>{"&=\\&amp;", "#=hash", "\\=\\e", "x=",
                                                     "t=tab  and  more ", "ab=first-only",
                                                     "a=second", "l=" + longText, "=blank-key",
                                                     "c\r="}));
  const CharMap& map = output.charMap;
  EXPECT_EQ(map.Find('a')->replacement, "first-only");  // the earlier entry wins
  EXPECT_EQ(map.Find('#')->replacement, "hash");
  EXPECT_EQ(map.Find('\\')->replacement, "\\e");
  EXPECT_EQ(map.Find('y'), nullptr);
  EXPECT_EQ(map.Find(' '), nullptr);  // an empty key maps nothing
}

TEST_F(MapsTest, CharMapIsReplacedByTheNextFile) {
  LoadCharMap(dir_.Write("one.map", "a A\nb B\n"));
  LoadCharMap(dir_.Write("two.map", "c C\n"));
  EXPECT_EQ(CharEntries(), std::vector<std::string>{"c=C"});
  EXPECT_EQ(output.charMap.Find('a'), nullptr);

  CaptureStderr();
  LoadCharMap(dir_.path() + "/missing.map");
  std::string err = GetCapturedStderr();
  EXPECT_NE(err.find("Can not open character mapping file '" + dir_.path() + "/missing.map'.\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(err.substr(err.size() - 2), "\n\n");
  EXPECT_EQ(CharEntries(), std::vector<std::string>{"c=C"});

  CaptureStderr();
  EXPECT_FALSE(LoadCharMap(dir_.path()));  // a directory opens but does not read
  GetCapturedStderr();
  EXPECT_EQ(CharEntries(), std::vector<std::string>{"c=C"});

  LoadCharMap(dir_.Write("empty.map", "# nothing\n"));
  EXPECT_TRUE(output.charMap.empty());
  EXPECT_EQ(output.charMap.Find('c'), nullptr);
}

TEST_F(MapsTest, ApplyCharMap) {
  EXPECT_EQ(ApplyCharMap("a^b"), "a^b");  // empty map: unchanged
  output.charMap.Add("nx", "N");
  output.charMap.Add("n", "second");
  output.charMap.Add("-", "");
  output.charMap.Add("^", "caret");
  output.charMap.Add("q", "^Q^");
  // Escapes stay whole; the n after an escaped backslash is document text.
  EXPECT_EQ(ApplyCharMap("n-n\\n\\-\\\\n"), "NN\\n\\-\\\\N");
  std::vector<size_t> carets;
  EXPECT_EQ(ApplyCharMap("q\\^q^", &carets), "^Q^\\^^Q^caret");
  EXPECT_EQ(carets, std::vector<size_t>{4});  // the data's own caret, after the backslash
}

TEST_F(MapsTest, ApplyCharMapBackslashEntryAndSdataNames) {
  output.charMap.Add("\\", "\\\\e");  // the document's backslash becomes \e
  output.charMap.Add(".", "\\&.");
  output.charMap.Add("n", "N");
  // "\\" is one backslash of the document; "\n" is a record end and stays.
  EXPECT_EQ(ApplyCharMap("a\\\\n\\nb."), "a\\\\eN\\nb\\&.");
  // A dot inside an SDATA name is not mapped, the dot after it is.
  EXPECT_EQ(ApplyCharMap("\\|[b.alpha ]\\|."), "\\|[b.alpha ]\\|\\&.");
  // An unclosed reference and a lone backslash at the end are kept.
  EXPECT_EQ(ApplyCharMap("\\|[x.y"), "\\|[x.y");
  EXPECT_EQ(ApplyCharMap("n\\"), "N\\");
}

}  // namespace
}  // namespace qlx
