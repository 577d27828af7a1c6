#include <gtest/gtest.h>

#include <cstring>

#include "doc/query.h"
#include "doc/tree.h"
#include "testutil.h"
#include "util/settings.h"

namespace qlx {
namespace {

using test::ReadDocument;

TEST(Esis, SingleEmptyElement) {
  ElemNode* root = ReadDocument("(DOC\n)DOC\n");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->gi, "DOC");
  EXPECT_EQ(root->contentCount, 0);
  EXPECT_EQ(FirstChild(root), nullptr);
  EXPECT_EQ(DataCount(root), 0);
  EXPECT_EQ(root->order, -1);
  EXPECT_EQ(root->serial, 0);
  EXPECT_EQ(root->parent(), nullptr);
}

TEST(Esis, AttributesIdsAndInterning) {
  ElemNode* root = ReadDocument(
      "(DOC\n"
      "AID TOKEN X\nAX CDATA two words\nAY IMPLIED\nAZ CDATA \n(P\n-text\n)P\n"
      "AW CDATA two words\n(P\n)P\n)DOC\n");
  ElemNode* p = NthChild(root, 0);
  ASSERT_EQ(p->attCount(), 3);
  EXPECT_STREQ(p->atts()[0].name, "ID");
  EXPECT_STREQ(p->atts()[1].value, "two words");
  EXPECT_STREQ(p->atts()[2].name, "Z");
  EXPECT_STREQ(p->atts()[2].value, "");
  EXPECT_STREQ(ElementId(p), "X");
  ASSERT_EQ(doc.idIndex.size(), 1u);
  EXPECT_EQ(doc.idIndex[0].elem, p);
  // Equal texts are one stored text.
  EXPECT_EQ(NthChild(root, 1)->atts()[0].value, p->atts()[1].value);
  EXPECT_EQ(NthChild(root, 1)->gi, p->gi);
}

TEST(Esis, ContentOrderChildrenDataAndSerials) {
  ElemNode* root = ReadDocument("(DOC\n-a\n(X\n)X\n?pi text\n-b\n(Y\n(Z\n)Z\n)Y\n)DOC\n");
  ASSERT_EQ(root->contentCount, 5);
  EXPECT_EQ(root->items()[2].kind(), '?');
  EXPECT_STREQ(root->items()[2].text(), "pi text");
  ASSERT_EQ(root->childCount, 2);
  ASSERT_EQ(DataCount(root), 2);
  EXPECT_STREQ(NthData(root, 1), "b");
  ElemNode* y = NthChild(root, 1);
  EXPECT_EQ(y->order, 1);
  EXPECT_EQ(y->serial, 2);
  EXPECT_EQ(ElementDepth(NthChild(y, 0)), 2);
  EXPECT_EQ(NthChild(y, 0)->parent(), y);
  EXPECT_EQ(NextElement(root), NthChild(root, 0));
  EXPECT_EQ(NextElement(NthChild(root, 0)), y);
  EXPECT_EQ(NextElement(y), NthChild(y, 0));
}

// Children and siblings are found through the serial order: the next
// subtree starts where one ends, whatever data and depth lie between.
TEST(Esis, NavigationFollowsSubtreesAndData) {
  ElemNode* root = ReadDocument(
      "(DOC\n-a\n(A\n(A1\n(A11\n)A11\n)A1\n-in a\n)A\n-b\n(B\n)B\n?pi\n(C\n(C1\n)C1\n)C\n)DOC\n"
      "(NEXT\n)NEXT\n");
  ElemNode* a = FirstChild(root);
  ASSERT_NE(a, nullptr);
  ElemNode* b = NextSibling(a);
  ElemNode* c = NextSibling(b);
  ASSERT_TRUE(b && c);
  EXPECT_STREQ(b->gi, "B");
  EXPECT_STREQ(c->gi, "C");
  EXPECT_EQ(NextSibling(c), nullptr);
  EXPECT_EQ(NextSibling(root), nullptr) << "the root has no siblings";
  EXPECT_EQ(PrevSibling(b), a) << "back over a subtree two levels deep";
  EXPECT_EQ(PrevSibling(c), b);
  EXPECT_EQ(PrevSibling(a), nullptr);
  ElemNode* a1 = FirstChild(a);
  EXPECT_EQ(NextSibling(a1), nullptr) << "the element after A1's subtree is B, a sibling of A";
  EXPECT_EQ(NextSibling(FirstChild(a1)), nullptr);
  EXPECT_EQ(FirstChild(b), nullptr);
  EXPECT_EQ(NthChild(root, 2), c);
  EXPECT_EQ(NthChild(root, 3), nullptr);
  EXPECT_EQ(NthChild(root, -1), nullptr);
  EXPECT_EQ(SubtreeEnd(a), b->serial);
  EXPECT_EQ(SubtreeEnd(root), doc.nextSerial);
  EXPECT_EQ(ElementDepth(FirstChild(a1)), 3);
  EXPECT_EQ(DataCount(root), 2);
  EXPECT_EQ(DataCount(a), 1);
}

// Attribute records are split on runs of blanks (spaces and tabs), the
// value taking the rest; the common single-space forms agree with that.
TEST(Esis, AttributeRecordsOfEveryBlankForm) {
  ElemNode* root = ReadDocument(
      "AA CDATA one two\nAB\tCDATA\tx\ty\nAC  TOKEN   z\nAD CDATA \nAE CDATA\n"
      "AF IMPLIED\nAG\tIMPLIED\nAH  IMPLIED\nAI TOKEN IMPLIED\n(DOC\n)DOC\n");
  std::string got;
  for (int i = 0; i < root->attCount(); ++i)
    got += std::string(root->atts()[i].name) + "=[" + root->atts()[i].value + "] ";
  // The value is all after the one blank that follows the type.
  EXPECT_EQ(got, "A=[one two] B=[x\ty] C=[  z] D=[] E=[] I=[IMPLIED] ");
}

// Equal attribute lists are stored once; lists that differ in a value, in
// order or in length are not confused.
TEST(Esis, EqualAttributeListsAreShared) {
  ElemNode* root = ReadDocument(
      "(DOC\nAX CDATA 1\nAY CDATA 2\n(P\n)P\nAX CDATA 1\nAY CDATA 2\nAZ IMPLIED\n(Q\n)Q\n"
      "AY CDATA 2\nAX CDATA 1\n(P\n)P\nAX CDATA 1\n(P\n)P\nAX CDATA 1\nAY CDATA 3\n(P\n)P\n)DOC\n");
  ElemNode* e[5];
  for (int i = 0; i < 5; ++i) e[i] = NthChild(root, i);
  EXPECT_EQ(e[0]->attList, e[1]->attList) << "an IMPLIED attribute is not kept";
  for (int i = 2; i < 5; ++i) EXPECT_NE(e[0]->attList, e[i]->attList) << i;
  EXPECT_STREQ(e[2]->atts()[0].name, "Y");
  ASSERT_EQ(e[3]->attCount(), 1);
  EXPECT_STREQ(FindAttValue(e[4], "Y"), "3");
  EXPECT_EQ(root->attList, nullptr);
  EXPECT_EQ(root->attCount(), 0);
}

TEST(Esis, LineRecordsCountOnlyInInfoBlocks) {
  ElemNode* root = ReadDocument(
      "L3 a.sgm\n(DOC\nL9\nAX CDATA y\nL12 file.sgm\n(P\n-x\nL40\n(Q\n)Q\n)P\nL50\n)DOC\n");
  EXPECT_EQ(ElementLine(root), 3);
  EXPECT_STREQ(ElementFileName(root), "a.sgm");
  ElemNode* p = NthChild(root, 0);
  EXPECT_EQ(ElementLine(p), 12);
  EXPECT_STREQ(ElementFileName(p), "file.sgm");
  ElemNode* q = NthChild(p, 0);
  EXPECT_EQ(ElementLine(q), 12) << "a line record inside content is ignored";
  // Lines are kept by runs of elements; a later change starts a new run.
  root = ReadDocument("(DOC\n(A\n)A\nAX CDATA v\nL7\n(B\n)B\n(C\n)C\nAX CDATA v\nL2\n(D\n)D\n)DOC\n");
  EXPECT_EQ(ElementLine(root), 0);
  EXPECT_EQ(ElementLine(NthChild(root, 0)), 0);
  EXPECT_EQ(ElementLine(NthChild(root, 1)), 7);
  EXPECT_EQ(ElementLine(NthChild(root, 2)), 7);
  EXPECT_EQ(ElementLine(NthChild(root, 3)), 2);
  SetLineFrom(NthChild(root, 1), 5);
  EXPECT_EQ(ElementLine(NthChild(root, 1)), 5);
  EXPECT_EQ(ElementLine(NthChild(root, 0)), 0);
  EXPECT_EQ(ElementLine(NthChild(root, 3)), 2);
}

TEST(Esis, DataFixDropsOrBlanksLeadingRecordEnd) {
  settings.esisDataFix = true;
  ElemNode* root = ReadDocument("(DOC\n-\\n\n-\\nabc\n-x\\n\n)DOC\n");
  settings.esisDataFix = false;
  ASSERT_EQ(DataCount(root), 2);
  EXPECT_STREQ(NthData(root, 0), " abc");
  EXPECT_STREQ(NthData(root, 1), "x\\n");
  root = ReadDocument("(DOC\n-\\n\n-\\nabc\n)DOC\n");
  ASSERT_EQ(DataCount(root), 2);
  EXPECT_STREQ(NthData(root, 0), "\\n");
}

TEST(Esis, EntitiesAndTheNameAttribute) {
  ElemNode* root = ReadDocument(
      "sfig.eps\npPUB\nEfig NDATA eps\nEother NDATA gif\n(DOC\n"
      "ANAME ENTITY nosuch\nAENTITYREF ENTITY fig\n(G\n)G\n"
      "AENTITYREF ENTITY other\n(H\n)H\n)DOC\n");
  ASSERT_NE(doc.entityFirst, nullptr);
  EXPECT_STREQ(doc.entityFirst->systemId, "fig.eps");
  EXPECT_STREQ(doc.entityFirst->publicId, "PUB");
  EXPECT_STREQ(doc.entityFirst->next->systemId, "fig.eps") << "pending ids stay for later E records";
  EXPECT_EQ(ElementEntity(NthChild(root, 0)), nullptr) << "NAME is tried first and names nothing";
  ASSERT_NE(ElementEntity(NthChild(root, 1)), nullptr);
  EXPECT_STREQ(ElementEntity(NthChild(root, 1))->notation, "gif");
}

TEST(Esis, EndRecordClosesWhateverItsName) {
  ElemNode* root = ReadDocument("(DOC\n(P\n)WRONG\n-after\n)DOC\n-never read\n");
  EXPECT_EQ(root->childCount, 1);
  EXPECT_EQ(DataCount(root), 1);
}

TEST(Esis, DuplicateIdsAreAllRegisteredFirstWins) {
  ReadDocument("(DOC\nAID TOKEN A\n(P\n)P\nAID TOKEN A\n(P\n)P\n)DOC\n");
  ASSERT_EQ(doc.idIndex.size(), 2u);
  EXPECT_EQ(FindElementByID("A"), doc.idIndex[0].elem);
}

struct FatalCase {
  const char* esis;
  const char* message;
};

TEST(Esis, MalformedInputIsFatalWithItsMessage) {
  const FatalCase cases[] = {
      {"", "Error: End of AccumElemInfo - should not be here: \n"},
      {"AX CDATA y\n", "Error: End of AccumElemInfo - should not be here: \n"},
      {"(DOC\n(P\n-x\n", "Error: End of ReadESIS - should not be here: P\n"},
      {"(DOC\n&ent\n)DOC\n", "Error: Unexpected input at 0: '&ent\n'\n"},
      {"L7\n(DOC\nS sub\n)DOC\n", "Error: Unexpected input at 7: 'S sub\n'\n"},
      {"-data\n(DOC\n)DOC\n", "Error: Data in AccumElemInfo, line 0:\n-data\n"},
      {")DOC\n", "Error: Unexpected input in AccumElemInfo, 0:\n)DOC\n"},
      {"(DOC\n-a\0b\n)DOC\n", "Error: NUL character in ESIS record 2.\n"},
  };
  test::ThrowOnFatal guard;
  for (const FatalCase& c : cases) {
    std::string esis = c.esis;
    if (std::strstr(c.message, "NUL")) esis = std::string("(DOC\n-a\0b\n)DOC\n", 14);
    testing::internal::CaptureStderr();
    int status = -1;
    try {
      ReadDocument(esis);
    } catch (const test::FatalExit& e) {
      status = e.status;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message) << c.esis;
    EXPECT_EQ(status, 1) << c.esis;
  }
}

TEST(Esis, NonFatalRecordsAreReportedAndSkipped) {
  testing::internal::CaptureStderr();
  ElemNode* root = ReadDocument("L5\nAX BOGUS y\nIent CDATA x\nAY CDATA z\n(DOC\n)DOC\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error: Bad attr line (5): AX BOGUS...\nError: Got CMD_INT_ENT in AccumElemInfo: ent CDATA x\n");
  ASSERT_EQ(root->attCount(), 1);
  EXPECT_STREQ(root->atts()[0].name, "Y");
}

TEST(Esis, DeepNestingNeedsNoMachineStack) {
  const int depth = 200000;
  std::string esis;
  for (int i = 0; i < depth; ++i) esis += "(E\n";
  esis += "-deep\n";
  for (int i = 0; i < depth; ++i) esis += ")E\n";
  ElemNode* root = ReadDocument(esis);
  ElemNode* e = root;
  while (e->childCount) e = NthChild(e, 0);
  EXPECT_EQ(ElementDepth(e), depth - 1);
  EXPECT_STREQ(NthData(e, 0), "deep");
}

TEST(Esis, LongRecordsAndManyItemsAreKeptWhole) {
  std::string big(200000, 'x');
  std::string esis = "(DOC\n-" + big + "\n";
  for (int i = 0; i < 6000; ++i) esis += "(P\n)P\n";
  for (int i = 0; i < 150; ++i) esis += "AA" + std::to_string(i) + " CDATA v\n";
  esis += "(Q\n)Q\n)DOC\n";
  ElemNode* root = ReadDocument(esis);
  EXPECT_EQ(std::strlen(NthData(root, 0)), big.size());
  EXPECT_EQ(root->childCount, 6001);
  EXPECT_EQ(NthChild(root, 6000)->attCount(), 150);
}

}  // namespace
}  // namespace qlx
