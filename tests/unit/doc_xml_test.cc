// The XML reader's records cross to the tree builder in blocks: an
// element whose info block (entity records, attributes, start) is cut by
// the end of a block must keep its name and attributes, wherever the cut
// falls.  The blanks between a processing instruction's target and its
// data are kept, however far into the document and however long it is.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "doc/query.h"
#include "doc/tree.h"
#include "doc/xml.h"
#include "testutil.h"

namespace qlx {
namespace {

TEST(XmlReader, InfoBlockCutByTheEndOfABlock) {
  test::TempDir dir;
  std::string dtd =
      "<!DOCTYPE d [<!ELEMENT d (p)*><!ELEMENT p (#PCDATA)>"
      "<!ATTLIST p g ENTITIES #IMPLIED k CDATA #IMPLIED>";
  for (int i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    dtd += "<!ENTITY e" + n + " PUBLIC \"-//X//E" + n + "\" \"e" + n + ".png\" NDATA n" + n + ">";
    dtd += "<!NOTATION n" + n + " PUBLIC \"-//X//N" + n + "\" \"n" + n + "\">";
  }
  dtd += "]>";
  // n records before the element (an empty element is two records, one
  // with data three): every place of the cut within a block.
  for (int n = 0; n < 1100; ++n) {
    std::string fill;
    for (int i = 0; i < n / 2; ++i) fill += "<p/>";
    if (n % 2) fill.replace(0, 4, "<p>x</p>");
    const std::string path = dir.Write("d.xml", dtd + "<d>" + fill + "<p g='e0 e1 e2 e3 e4 e5 e6 e7'>x</p></d>");
    const int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ResetDocument();
    ASSERT_NE(ReadXML(fd, {}, path.c_str(), n / 2 % 2 == 0), nullptr);
    close(fd);
    const ElemNode* last = ElementBySerial(doc.nextSerial - 1);
    ASSERT_STREQ(last->gi, "P") << n;
    ASSERT_EQ(last->attCount(), 1) << n;
    ASSERT_STREQ(last->atts()[0].value, "e0 e1 e2 e3 e4 e5 e6 e7") << n;
  }
}

TEST(XmlReader, LongProcessingInstructionsKeepTheirBlanks) {
  test::TempDir dir;
  std::string xml = "<d>";
  for (int i = 0; i < 3000; ++i) xml += "<p>some words in a paragraph of the document</p>\n";
  std::string data;
  for (int i = 0; i < 40; ++i) {
    data += "data data ";
    xml += "<p><?pi    " + data + "?></p>\n";
  }
  const std::string path = dir.Write("d.xml", xml + "</d>");
  const int fd = open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ResetDocument();
  ASSERT_NE(ReadXML(fd, {}, path.c_str(), true), nullptr);
  close(fd);
  int pis = 0;
  for (int s = 0; s < doc.nextSerial; ++s) {
    const ElemNode* e = ElementBySerial(s);
    for (int i = 0; i < e->contentCount; ++i) {
      if (e->items()[i].kind() != '?') continue;
      ++pis;
      EXPECT_EQ(std::string(e->items()[i].text()).substr(0, 8), "pi    da") << s;
    }
  }
  EXPECT_EQ(pis, 40);
}

}  // namespace
}  // namespace qlx
