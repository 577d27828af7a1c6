// The shortcuts the hot paths take must give what the general paths give:
// the intern table's probing and growth, the reader's shortcuts (IMPLIED
// attribute records, the element-name cache, the NUL check per input
// block), and the data writer's scan for bytes to map.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "doc/tree.h"
#include "output/emit.h"
#include "output/maps.h"
#include "testutil.h"

namespace qlx {
namespace {

TEST(InternTableTest, GrowsAndFindsEveryTextAgain) {
  Arena arena;
  InternTable table(&arena);
  EXPECT_EQ(table.Find("absent"), nullptr);  // an empty table
  // Texts that differ only in their length or past the first eight bytes,
  // the empty text, and enough texts for the table to grow several times.
  std::vector<std::string> texts = {"", "ABCDEFGH", "ABCDEFGHI", "ABCDEFGHJ", "A", "AA"};
  for (int i = 0; i < 5000; ++i) texts.push_back("name" + std::to_string(i));
  std::vector<const char*> stored;
  for (const std::string& t : texts) stored.push_back(table.Intern(t));
  ASSERT_EQ(table.texts().size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(table.texts()[i], stored[i]);  // insertion order
    EXPECT_EQ(stored[i], texts[i]);
    EXPECT_EQ(table.Intern(texts[i]), stored[i]) << texts[i];
    EXPECT_EQ(table.Find(texts[i]), stored[i]) << texts[i];
  }
  EXPECT_EQ(table.texts().size(), texts.size());  // nothing stored twice
  EXPECT_EQ(table.Find("name5000"), nullptr);
  EXPECT_EQ(table.Find("ABCDEFG"), nullptr);
}

TEST(ReaderShortcutsTest, ImpliedRecordsAndAttributeValuesThatLookLikeThem) {
  ElemNode* root = test::ReadDocument(
      "AROLE IMPLIED\n"
      "ANOTE CDATA IMPLIED\n"   // a value that reads "IMPLIED": kept
      "AX\tIMPLIED\n"           // a tab before the type: still IMPLIED
      "AY TOKEN  IMPLIED\n"     // a value " IMPLIED": its blank is data
      "(DOC\n)DOC\n");
  ASSERT_EQ(root->attCount(), 2);
  EXPECT_STREQ(root->atts()[0].name, "NOTE");
  EXPECT_STREQ(root->atts()[0].value, "IMPLIED");
  EXPECT_STREQ(root->atts()[1].name, "Y");
  EXPECT_STREQ(root->atts()[1].value, " IMPLIED");
}

TEST(ReaderShortcutsTest, ElementNamesFromTheCacheAreTheInternedNames) {
  // More names than the cache has slots, in an order that makes names
  // meet in a slot, and names that are prefixes of each other.
  std::string esis = "(DOC\n";
  std::vector<std::string> names;
  for (int i = 0; i < 600; ++i) names.push_back("E" + std::to_string(i % 300));
  names.push_back("E1X");
  names.push_back("E");
  for (const std::string& n : names) esis += "(" + n + "\n)" + n + "\n";
  esis += ")DOC\n";
  ElemNode* root = test::ReadDocument(esis);
  ASSERT_EQ(root->childCount, int(names.size()));
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(NthChild(root, i)->gi, names[i]);
    EXPECT_EQ(NthChild(root, i)->gi, doc.giTable.Find(names[i])) << names[i];
  }
  EXPECT_EQ(doc.giTable.texts().size(), 303u);  // DOC, 300 names, E1X, E
}

TEST(ReaderShortcutsTest, NulFarIntoTheInputIsStillFound) {
  // The reader reads in blocks of a megabyte; the NUL lies in the third.
  std::string esis = "(DOC\n";
  std::string line = "-" + std::string(99, 'x') + "\n";
  long records = 1;
  while (esis.size() < (5u << 19)) {
    esis += line;
    ++records;
  }
  esis += std::string("-a\0b\n", 5);
  esis += ")DOC\n";
  test::ThrowOnFatal guard;
  testing::internal::CaptureStderr();
  int status = -1;
  try {
    test::ReadDocument(esis);
  } catch (const test::FatalExit& e) {
    status = e.status;
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error: NUL character in ESIS record " + std::to_string(records + 1) + ".\n");
  EXPECT_EQ(status, 1);
}

std::string Emitted(const char* data) {
  OutBuffer out;
  EmitData(data, &out, false);
  return std::string(out.text());
}

TEST(DataWriterScanTest, MapKeysAnywhereForAnyNumberOfKeys) {
  output = OutputState();
  // Keys before, inside and after the sixteen-byte blocks the scan takes.
  const char* plain = "0123456789abcdef0123456789^caret";
  const char* late = "0123456789abcdef0123456789&x";
  const char* first = "&0123456789abcdef";
  const char* block = "0123456789ab<def0123";
  for (int keys : {1, 3, 9}) {  // one byte, a few, more than the scan's eight
    output.charMap.Clear();
    output.charMap.Add("&", "&amp;");
    if (keys > 1) {
      output.charMap.Add("<", "&lt;");
      output.charMap.Add(">", "&gt;");
    }
    for (int k = 3; k < keys; ++k) output.charMap.Add(std::string(1, char('Q' + k)), "?");
    EXPECT_EQ(Emitted(plain), plain) << keys;  // the caret of the data stays a caret
    EXPECT_EQ(Emitted(late), "0123456789abcdef0123456789&amp;x") << keys;
    EXPECT_EQ(Emitted(first), "&amp;0123456789abcdef") << keys;
    EXPECT_EQ(Emitted(block), keys > 1 ? "0123456789ab&lt;def0123" : block) << keys;
  }
  output = OutputState();
}

// A key anywhere after the first special byte, or before it, for key
// counts on both sides of each way the scan compares (four, eight, more),
// and after the map was cleared and filled anew.
TEST(DataWriterScanTest, KeysBeforeAndAfterEscapesAtEveryPlace) {
  output = OutputState();
  for (int keys : {1, 4, 5, 8, 9}) {
    output.charMap.Clear();
    output.charMap.Add("Z", "zz");  // cleared below: must map nothing then
    output.charMap.Clear();
    output.charMap.Add("&", "&amp;");
    for (int k = 1; k < keys; ++k) output.charMap.Add(std::string(1, char('a' + k)), "?");
    for (size_t len = 1; len <= 34; ++len) {
      std::string plain(len, 'Q');
      for (size_t at = 0; at < len; ++at) {
        std::string text = plain;
        text[at] = '&';
        std::string want = plain.substr(0, at) + "&amp;" + plain.substr(at + 1);
        EXPECT_EQ(Emitted(text.c_str()), want) << keys << " " << len << " " << at;
        // An escape and a data caret before the key, and after it.
        EXPECT_EQ(Emitted(("^\\n" + text).c_str()), "^\n" + want) << keys << " " << at;
        EXPECT_EQ(Emitted((text + "\\nZ^").c_str()), want + "\nZ^") << keys << " " << at;
        if (keys > 1) {  // the last key added, right after the escape
          std::string last = plain;
          last[at] = char('a' + keys - 1);
          EXPECT_EQ(Emitted(("\\n" + last).c_str()), "\n" + plain.substr(0, at) + "?" + plain.substr(at + 1))
              << keys << " " << at;
        }
      }
    }
  }
  output = OutputState();
}

}  // namespace
}  // namespace qlx
