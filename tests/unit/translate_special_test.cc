#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "doc/tree.h"
#include "output/emit.h"
#include "testutil.h"
#include "translate/expand.h"
#include "translate/links.h"
#include "translate/match.h"
#include "translate/special.h"
#include "translate/translate.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/libfile.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {
namespace {

// DOC
//   LIST (ID L1, TYPE bullet)
//     ITEM I1 (LINKEND I3, K "a b c")   data "x1 i2\nI3"
//     ITEM I2 (LINKENDS "I1 I3", K "d")
//     ITEM I3 (TARGET I1, K "z")          P (empty)
//   REF (LINKEND NOPE, IDREF I2)
//   DATA                                  data "w1 w2\tw3", "w4"
//   NAMES                                 data "i1 i3", "nope i2"
const char* kDoc =
    "AID TOKEN TOP\n(DOC\n"
    "AID TOKEN L1\nATYPE CDATA bullet\n(LIST\n"
    "AID TOKEN I1\nALINKEND CDATA I3\nAK CDATA a b c\n(ITEM\n-x1 i2\\nI3\n)ITEM\n"
    "AID TOKEN I2\nALINKENDS CDATA I1 I3\nAK CDATA d\n(ITEM\n)ITEM\n"
    "AID TOKEN I3\nATARGET CDATA I1\nAK CDATA z\n(ITEM\n(P\n)P\n)ITEM\n"
    ")LIST\n"
    "ALINKEND CDATA NOPE\nAIDREF CDATA I2\n(REF\n)REF\n"
    "(DATA\n-w1 w2\tw3\n-w4\n)DATA\n"
    "(NAMES\n-i1 i3\n-nope i2\n)NAMES\n"
    ")DOC\n";

// Named actions that say where they ran.
const char* kSpecs =
    "GI: _one\nSpecID: 1\nIgnore: all\nStartText: <1:${_gi}${ID: }>\n-\n"
    "GI: _two\nSpecID: 2\nIgnore: all\nStartText: <2:${_gi}${ID: }>\n-\n"
    "GI: _loopA\nSpecID: 3\nIgnore: all\nStartText: <A=${each_A}>\n-\n"
    "GI: _loopC\nSpecID: 4\nIgnore: all\nStartText: <C=${_C}>\n-\n";

class SpecialTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = settings;
    t_.run.loop = LinkLoopState{};
    root_ = test::ReadDocument(kDoc);
    list_ = NthChild(root_, 0);
    i1_ = NthChild(list_, 0);
    i2_ = NthChild(list_, 1);
    i3_ = NthChild(list_, 2);
    ref_ = NthChild(root_, 1);
    data_ = NthChild(root_, 2);
    Load(kSpecs);
  }
  void TearDown() override {
    t_.run.loop = LinkLoopState{};
    settings = saved_;
  }
  void Load(const std::string& text) { ReadSpecs(t_, dir_.Write("s.ts", text)); }

  // Writes `text` for `elem` as a spec text would be; keeps the messages.
  std::string Run(const std::string& text, ElemNode* elem) {
    OutBuffer out;
    testing::internal::CaptureStderr();
    WriteSpecText(t_, text, elem, &out, 1);
    err_ = testing::internal::GetCapturedStderr();
    return std::string(out.text());
  }

  RunSettings saved_;
  Translation t_{nullptr, Diagnostics()};
  test::TempDir dir_;
  std::string err_;
  ElemNode *root_, *list_, *i1_, *i2_, *i3_, *ref_, *data_;
};

TEST_F(SpecialTest, ElementValues) {
  EXPECT_EQ(Run("${_gi}|${_gi lower}|${_gi M}|${_gi Mixed}|${_gi U}", list_),
            "LIST|list|List|List|LIST");
  EXPECT_EQ(Run("${_nchild}/${_nchild ITEM}/${_nchild P}/${_n1gchild}", list_), "3/3/0/0");
  EXPECT_EQ(Run("[${_n1gchild}]", i3_), "[0]") << "the first child P has no children";
  EXPECT_EQ(Run("[${_n1gchild}]", root_), "[3]");
  EXPECT_EQ(Run("[${_n1gchild}]", i2_), "[]") << "no child element";
  EXPECT_EQ(Run("${_allatts}", i1_), "ID=\"I1\" LINKEND=\"I3\" K=\"a b c\"");
  EXPECT_EQ(Run("[${_allatts}]", data_), "[]");
  EXPECT_EQ(Run("${_path}", NthChild(i3_, 0)), "DOC(0) LIST(2) ITEM(0) P");
  EXPECT_EQ(Run("${_pattr TYPE}|${_pattr NONE}|${_pattr ID}", i1_), "bullet||L1");
  EXPECT_EQ(Run("[${_pattr TYPE}]", root_), "[]");
  EXPECT_EQ(err_, "Element does not have a parent:\n");
  EXPECT_EQ(Run("${_infile}|${_infile root}|${_infile line}", i1_),
            "input-file??|input-file??|input-file?? 0");
  SetFileNameFrom(i1_, "dir.v2/doc.sgml");
  SetLineFrom(i1_, 12);
  EXPECT_EQ(Run("${_infile root}|${_infile line}", i1_), "dir.v2/doc|dir.v2/doc.sgml 12");
  SetFileNameFrom(i1_, nullptr);
  EXPECT_EQ(Run("${_infile root}|${_infile line}", i1_), "input-file??|input-file?? 12");
  setenv("QLX_SPECIAL_TEST", "from-env", 1);
  EXPECT_EQ(Run("${_env QLX_SPECIAL_TEST}|${_env QLX_NOT_SET_ANYWHERE}|${_env}", root_),
            "from-env||");
  EXPECT_EQ(err_, "");
}

TEST_F(SpecialTest, FileNameOfTheLinkedEntity) {
  Run("[${_filename}]", i1_);
  EXPECT_EQ(err_.substr(0, err_.find('\n')), "Expected ext entity (internal error? bug?):");
  EntityInfo entity;
  entity.name = "pic";
  SetElementEntity(i1_, &entity);
  Run("[${_filename}]", i1_);
  EXPECT_EQ(err_.substr(0, err_.find('\n')), "Expected filename (internal error? bug?):");
  EXPECT_NE(err_.find("  ID: I1\n"), std::string::npos) << "the location follows";
  entity.generatedName = "/pics/pic.png";
  EXPECT_EQ(Run("[${_filename}]", i1_), "[/pics/pic.png]");
  SetElementEntity(i1_, nullptr);
}

TEST_F(SpecialTest, ConditionsRunActionsOnTheCurrentElement) {
  EXPECT_EQ(Run("${_attval TYPE 1}|${_attval TYPE bullet 2}|${_attval TYPE dash 2}|"
                "${_attval TYPE}|${_attval NONE 1}",
                list_),
            "<1:LISTL1>|<2:LISTL1>|||");
  EXPECT_EQ(Run("${_pattval TYPE 1}|${_pattval TYPE bullet 2}|${_pattval TYPE x 2}", i2_),
            "<1:ITEMI2>|<2:ITEMI2>|");
  EXPECT_EQ(Run("[${_pattval TYPE 1}]", root_), "[]") << "no parent: nothing";
  SetMapping(&t_.vars, "mode", "draft");
  EXPECT_EQ(Run("${_isset mode 1}|${_isset mode draft 2}|${_isset mode final 2}|"
                "${_isset unset 1}|${_isset mode}",
                i1_),
            "<1:ITEMI1>|<2:ITEMI1>|||");
  EXPECT_EQ(Run("${_action 2}", ref_), "<2:REF>");
  EXPECT_EQ(err_, "");
}

TEST_F(SpecialTest, IdRunsActionOrTheElementsOwnSpec) {
  Load("GI: ITEM\nStartText: {item ${ID}}\n-\n");
  EXPECT_EQ(Run("${_id I2 1}|${_id I2}|${_id NOSUCH 1}|${_id NOSUCH}", root_),
            "<1:ITEMI2>|{item I2}||");
  EXPECT_EQ(err_, "") << "a missing ID is silent";
  // Without a current element (a _Start text) _id still works.
  EXPECT_EQ(Run("${_id I3 2}", nullptr), "<2:ITEMI3>");
}

TEST_F(SpecialTest, SetAndInsertNode) {
  Run("${_set v one two}", root_);
  EXPECT_EQ(*LookupVar(&t_.vars, "v"), "one");
  Run("${_set v}", root_);
  EXPECT_EQ(LookupVar(&t_.vars, "v"), nullptr);
  // The value is one word: a command without arguments.
  std::string script = dir_.Write("say-ran", "#!/bin/sh\necho ran\necho more\n");
  chmod(script.c_str(), 0755);
  Run("${_set v !" + script + " ignored}", nullptr);
  EXPECT_EQ(*LookupVar(&t_.vars, "v"), "ran") << "the author's command runs";
  // _get reads the variable of a name built in the call, or its default.
  Run("${_set n-2 B}${_set k 2}", root_);
  EXPECT_EQ(Run("${_get n-${k}}|${_get n-3}|${_get n-3 no such}", root_), "B||no such");
  Run("${_insertnode S 7}${_insertnode E 8}${_insertnode X 9}", i1_);
  EXPECT_EQ(t_.InsertedSpecId(i1_, 'S'), 7);
  EXPECT_EQ(t_.InsertedSpecId(i1_, 'E'), 8);
}

// A document must never make the translation run a command, directly or
// through a variable set from its text.
TEST_F(SpecialTest, DocumentTextNeverRunsACommand) {
  std::string marker = dir_.path() + "/ran";
  std::string esis = "ACMD CDATA !touch " + marker + "\n(DOC\n)DOC\n";
  ElemNode* doc = test::ReadDocument(esis);
  EXPECT_EQ(Run("<${_${CMD}}>", doc), "<>");
  EXPECT_EQ(err_, "Error: Command from the document not run: !touch " + marker + "\n");
  Run("${_set v ${CMD}}", doc);
  EXPECT_EQ(*LookupVar(&t_.vars, "v"), "!touch");
  EXPECT_TRUE(LookupVarEntry(&t_.vars, "v")->fromDocument);
  // Copied on, the value stays document text.
  Run("${_set w ${v}}${_${v}}", doc);
  EXPECT_EQ(*LookupVar(&t_.vars, "w"), "!touch");
  EXPECT_EQ(access(marker.c_str(), F_OK), -1) << "no command ran";
  // A '!' written by the author with document text after it still runs.
  SetMapping(&t_.vars, "file", marker);
  EXPECT_EQ(Run("${_!touch ${file}}", doc), "");
  EXPECT_EQ(access(marker.c_str(), F_OK), 0);
}

// What the tables remember lasts as long as their run: the browser makes
// several runs in one process, and each starts with no table.
TEST_F(SpecialTest, TablesBelongToTheirRun) {
  ElemNode* doc = test::ReadDocument("(DOC\nACOLS CDATA 2\n(TABLE\n)TABLE\n(TABLE\n)TABLE\n)DOC\n");
  ElemNode* bare = NthChild(doc, 1);
  EXPECT_EQ(Run("${_calstable tex}", NthChild(doc, 0)), "|l l|");
  EXPECT_EQ(Run("${_calstable tex}", bare), "|l l|");  // the column count carries over
  Translation next(nullptr, Diagnostics());
  OutBuffer out;
  WriteSpecText(next, "${_calstable tex}", bare, &out, 1);
  EXPECT_EQ(std::string(out.text()), "||");
}

TEST_F(SpecialTest, CommandOutputKeepsItsPlace) {
  EXPECT_EQ(Run("before ${_!printf 'one\\ntwo'} after", root_), "before one\ntwo after");
  EXPECT_EQ(Run("${_!printf ''}|${_!exit 3}|", root_), "||");
}

TEST_F(SpecialTest, IncludeCopiesFilesRaw) {
  std::string path = dir_.Write("inc.txt", "raw ^ \\n text\nline 2\n");
  EXPECT_EQ(Run("[${_include " + path + "}]", nullptr), "[raw ^ \\n text\nline 2\n]");
  settings.libDir = "/nonexistent:" + dir_.path();
  ResetLibraryDirectories();
  EXPECT_EQ(Run("[${_include inc.txt}]", nullptr), "[raw ^ \\n text\nline 2\n]");
  ResetLibraryDirectories();
  Run("${_include}", nullptr);
  EXPECT_EQ(err_, "No file name specified for include\n");
  Run("${_include /no/such/file}", nullptr);
  EXPECT_EQ(err_.rfind("Can not open included file '/no/such/file': ", 0), 0u) << err_;
}

TEST_F(SpecialTest, UnknownNamesAndMissingWords) {
  Load("GI: REF\nStartText: ${_nosuch}\n-\n");
  TranSpec* spec = FirstSpecWithGi(t_.run.specs, "REF");
  SetElementSpec(t_, ref_, spec);
  Run("${_nosuch a b}", ref_);
  EXPECT_EQ(err_, "Unknown special variable: nosuch\nUsed in transpec, line " +
                      std::to_string(spec->lineNumber) + "\n");
  SetElementSpec(t_, ref_, nullptr);
  Run("${_}${_  }", ref_);
  EXPECT_EQ(err_, "Error: Empty special variable call.\nError: Empty special variable call.\n");
  // Before any loop ran, _A and _C are unknown names.
  Run("${_A}${_C}", ref_);
  EXPECT_EQ(err_, "Unknown special variable: A\nUnknown special variable: C\n");
  for (const char* name : {"action", "attval", "get", "id", "isset", "pattr", "pattval", "set",
                           "followlink", "eachcon", "namelist"}) {
    Run(std::string("${_") + name + "}", ref_);
    EXPECT_EQ(err_, std::string("Error: Not enough args for _") + name + ".\n");
  }
  Run("${_insertnode S}${_eachatt K}", ref_);
  EXPECT_EQ(err_,
            "Error: Not enough args for _insertnode.\nError: Not enough args for _eachatt.\n");
  EXPECT_EQ(t_.InsertedSpecId(ref_, 'S'), 0);
}

TEST_F(SpecialTest, CallsThatNeedAnElementInATextWithout) {
  for (const char* call : {"gi", "allatts", "attval A 1", "location", "path", "nchild",
                           "followlink 1", "eachatt K 1", "relation parent DOC 1"}) {
    std::string name = std::string(call).substr(0, std::string(call).find(' '));
    EXPECT_EQ(Run(std::string("[${_") + call + "}]", nullptr), "[]");
    EXPECT_EQ(err_, "Error: _" + name +
                        " needs a current element; this text has none (a _Start, _End or "
                        "processing-instruction text).\n");
  }
  Run("${_find gi ITEM 1}", nullptr);
  EXPECT_EQ(err_.rfind("Error: _find needs a current element", 0), 0u) << err_;
  EXPECT_EQ(Run("${_find top gi ITEM 1}", nullptr), "<1:ITEMI1><1:ITEMI2><1:ITEMI3>");
}

TEST_F(SpecialTest, FollowLink) {
  EXPECT_EQ(Run("${_followlink 1}", i1_), "<1:ITEMI3>");
  EXPECT_EQ(Run("${_followlink 1}", i2_), "<1:ITEMI1>") << "LINKENDS: only the first word";
  EXPECT_EQ(Run("${_followlink TARGET 2}", i3_), "<2:ITEMI1>");
  Run("${_followlink NONE 2}", i3_);
  EXPECT_EQ(err_, "Error: Did not find attr: NONE.\n");
  EXPECT_EQ(Run("${_followlink LINKEND 2}", ref_), "") << "no element NOPE: silent";
  EXPECT_EQ(err_, "");
  // LINKEND names no element: the next name, IDREF, is followed.
  EXPECT_EQ(Run("${_followlink 1}", ref_), "<1:ITEMI2>");
  EXPECT_EQ(err_, "Error: Can not find elem for ID: NOPE.\n");
  SetMapping(&t_.vars, "link_atts", "LINKEND");
  t_.run.loop = LinkLoopState{};
  EXPECT_EQ(Run("${_followlink 1}", ref_), "");
  EXPECT_EQ(err_,
            "Error: Can not find elem for ID: NOPE.\n"
            "Error: Element does not have IDREF attribute set:\n"
            "  Path: DOC(1) REF\n");
  Run("${_followlink 1}", data_);
  EXPECT_EQ(err_, "Error: Element does not have IDREF attribute set:\n  Path: DOC(2) DATA\n");
}

TEST_F(SpecialTest, LinkAttributeNamesAreReadOnce) {
  SetMapping(&t_.vars, "link_atts", "TARGET  LINKENDS");
  EXPECT_EQ(LinkAttributeNames(t_), (std::vector<std::string>{"TARGET", "LINKENDS"}));
  EXPECT_EQ(Run("${_followlink 1}", i3_), "<1:ITEMI1>");
  SetMapping(&t_.vars, "link_atts", "LINKEND");
  EXPECT_EQ(Run("${_followlink 1}", i1_), "") << "the first list stays";
  t_.run.loop = LinkLoopState{};
  EXPECT_EQ(Run("${_followlink 1}", i1_), "<1:ITEMI3>");
}

TEST_F(SpecialTest, ChaseLinkToAName) {
  EXPECT_EQ(Run("${_chasetogi ITEM 1}", i1_), "<1:ITEMI1>") << "the element itself";
  EXPECT_EQ(Run("${_chasetogi P 1}", i1_), "<1:P>") << "a child of the linked element";
  EXPECT_EQ(Run("${_chasetogi P 0}${_chasetogi P 0t}", i1_), "");
  Run("${_chasetogi P}", i1_);
  EXPECT_EQ(err_, "Error: Not enough args for _chasetogi.\n");
  EXPECT_EQ(Run("${_chasetogi DOC 1}", data_), "") << "no link attribute: silent";
  EXPECT_EQ(err_, "");
  SetMapping(&t_.vars, "link_atts", "TARGET LINKEND");
  t_.run.loop = LinkLoopState{};
  // I3 -> I1 (TARGET) -> I3 (LINKEND) -> I1 ...: a cycle.
  EXPECT_EQ(Run("${_chasetogi LIST 1}", i3_), "");
  EXPECT_EQ(err_,
            "Error: _chasetogi met the element with ID I3 twice (a link cycle) without "
            "reaching LIST.\n  Path: DOC(0) LIST(2) ITEM\n  ID: I3\n");
  // Returning to the start element, its children are looked at.
  EXPECT_EQ(Run("${_chasetogi P 1}", i3_), "<1:P>");
  EXPECT_EQ(err_, "");
}

TEST_F(SpecialTest, FindAndPFind) {
  EXPECT_EQ(Run("${_find gi ITEM 1}", root_), "<1:ITEMI1><1:ITEMI2><1:ITEMI3>");
  EXPECT_EQ(Run("${_find gi LIST 1}", i1_), "") << "only the subtree";
  EXPECT_EQ(Run("${_pfind gi ITEM 1}", i2_), "<1:ITEMI1><1:ITEMI2><1:ITEMI3>");
  EXPECT_EQ(Run("${_pfind gi DOC 1}", root_), "<1:DOCTOP>") << "the root starts at itself";
  EXPECT_EQ(Run("${_find top gi LIST 2}", i1_), "<2:LISTL1>");
  EXPECT_EQ(Run("${_find gi-parent P ITEM 1}${_find gi-parent P LIST 1}", root_), "<1:P>");
  EXPECT_EQ(Run("${_find attr K d 2}${_find attr K a 2}", root_), "<2:ITEMI2>");
  EXPECT_EQ(Run("${_find parent DOC 1}", root_), "<1:LISTL1><1:REF><1:DATA><1:NAMES>");
  EXPECT_EQ(Run("${_find other X 1}${_find gi ITEM }", root_), "") << "unknown kind, no action";
  EXPECT_EQ(err_, "");
  // Action texts of any length.
  EXPECT_EQ(Run("${_find gi REF 00000000000000000000000002}", root_), "<2:REF>");
  Run("${_find gi ITEM}${_find top gi ITEM}", root_);
  EXPECT_EQ(err_,
            "Bad '_find' specification - missing args.\n"
            "Bad '_find' specification - missing args.\n");
  Run("${_pfind attr K d}", root_);
  EXPECT_EQ(err_, "Bad '_pfind' specification - missing args (the action after 'attr').\n");
}

TEST_F(SpecialTest, Relations) {
  EXPECT_EQ(Run("${_relation parent LIST 1 2}|${_relation parent DOC 1 2}|"
                "${_relation parent DOC 1}|${_relation parent LIST}",
                i1_),
            "<1:ITEMI1>|<2:ITEMI1>||");
  EXPECT_EQ(Run("${_relation bogus LIST 1 2}", i1_), "<2:ITEMI1>");
  EXPECT_EQ(err_, "Unknown relationship: bogus\n");
  EXPECT_EQ(Run("${_followrel parent LIST 1}|${_followrel sibling+ ITEM 2}|"
                "${_followrel child P 1}",
                i2_),
            "<1:LISTL1>|<2:ITEMI3>|");
}

TEST_F(SpecialTest, LoopValues) {
  EXPECT_EQ(Run("[${each_A}|${each_C}]", root_), "[|]");
  EXPECT_EQ(err_,
            "Requested value for unset _A variable\nRequested value for unset _C variable\n");
  EXPECT_EQ(Run("${_eachatt K 3}", i1_), "<A=a><A=b><A=c>");
  Load("GI: _other\nSpecID: 5\nIgnore: all\nStartText: [${_A}]\n-\n");
  EXPECT_EQ(Run("${_eachatt K 3 5}", i1_), "<A=a>[b][c]");
  EXPECT_EQ(Run("${_eachatt NONE 3}", i1_), "");
  // After the loop the last word stays.
  EXPECT_EQ(Run("${each_A}/${_A}", root_), "c/c");
  EXPECT_EQ(Run("${_eachcon 4}", data_), "<C=w1><C=w2><C=w3><C=w4>") << "blanks and tabs";
  EXPECT_EQ(Run("${_eachcon 4 3}|${_eachcon 3 4 3}", data_),
            "<C=w1><C=w2><C=w3><C=w4>|<C=w1><C=w2><C=w3><C=w4>")
      << "up to three words: the first argument; four or more: the second";
  SetMapping(&t_.vars, "each_C", "global");  // the loop word, never the variable
  EXPECT_EQ(Run("${each_C}", root_), "w4");
  EXPECT_EQ(Run("${_eachcon 4}", i1_), "<C=x1><C=i2\nI3>") << "ESIS escapes stay in the word";
  EXPECT_EQ(Run("[${_eachcon 4}]", root_), "[]") << "no data";
  EXPECT_EQ(err_, "");
}

TEST_F(SpecialTest, NameList) {
  ElemNode* names = NthChild(root_, 3);
  EXPECT_EQ(Run("${_namelist 1 2}", names), "<1:ITEMI1><2:ITEMI3><2:ITEMI2>");
  EXPECT_EQ(err_, "Error: Can not find ID: NOPE.\n") << "the first word of the second item";
  EXPECT_EQ(Run("${_namelist 2}", names), "<2:ITEMI1><2:ITEMI3><2:ITEMI2>");
  settings.foldcase = 0;
  EXPECT_EQ(Run("${_namelist 1}", names), "");
  EXPECT_EQ(err_,
            "Error: Can not find ID: i1.\nError: Can not find ID: i3.\n"
            "Error: Can not find ID: nope.\nError: Can not find ID: i2.\n");
}

// Actions that make calls of their own, several levels deep, leave the
// outer calls' words and walks intact.
TEST_F(SpecialTest, NestedActionsDisturbNothingOfTheOuterCall) {
  Load("GI: _outer\nSpecID: 10\nIgnore: all\nStartText: {${_gi}:${_eachatt K 11 12}}\n-\n"
       "GI: _first\nSpecID: 11\nIgnore: all\nStartText: [${_A}${_followlink 13}]\n-\n"
       "GI: _more\nSpecID: 12\nIgnore: all\nStartText: (${_A})\n-\n"
       "GI: _linked\nSpecID: 13\nIgnore: all\n"
       "StartText: <${_gi} ${ID} ${_find gi P 14}${_eachatt K 15 15}>\n-\n"
       "GI: _p\nSpecID: 14\nIgnore: all\nStartText: p${_attval NONE x y z 1}\n-\n"
       "GI: _inner\nSpecID: 15\nIgnore: all\nStartText: (${each_A})\n-\n");
  EXPECT_EQ(Run("${_find gi ITEM 10}", root_),
            "{ITEM:[a<ITEM I3 p(z)>](b)(c)}"
            "{ITEM:[d<ITEM I1 (a)(b)(c)>]}"
            "{ITEM:[z]}");
  EXPECT_EQ(err_.substr(0, err_.find('\n')), "Error: Element does not have IDREF attribute set:")
      << "I3 has only TARGET, which is not a link attribute by default";
}

}  // namespace
}  // namespace qlx
