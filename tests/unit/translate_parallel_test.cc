#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "doc/tree.h"
#include "util/outbuf.h"
#include "output/emit.h"
#include "testutil.h"
#include "translate/links.h"
#include "translate/match.h"
#include "translate/parallel.h"
#include "translate/translate.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/vartable.h"
#include "translate/expand.h"

namespace qlx {
namespace {

// Sections (every other one with a subsection) of paragraphs holding data,
// emphasis, cross references forwards and backwards, processing
// instructions and, now and then, a paragraph to be skipped.
std::string MakeDocument(int sections, int paras, bool sdata = false) {
  std::string esis = "(DOC\n";
  for (int s = 0; s < sections; ++s) {
    esis += "AID TOKEN S" + std::to_string(s) + "\n(SEC\n(TITLE\n-Section " + std::to_string(s) +
            "\n)TITLE\n";
    for (int p = 0; p < paras; ++p) {
      if (p == paras / 2 && s % 2 == 0)
        esis += "AID TOKEN S" + std::to_string(s) + "X\n(SEC\n(TITLE\n-Sub\n)TITLE\n";
      esis += std::string("ASKIP CDATA ") + (p % 7 == 6 ? "yes" : "no") + "\n(PARA\n-text " +
              std::to_string(s) + "." + std::to_string(p) + " a<b\n";
      if (p % 3 == 0)
        esis += "ALINKEND CDATA S" + std::to_string((s * 5 + 3) % sections) + "\n(XREF\n)XREF\n";
      if (p % 4 == 1) esis += "AROLE CDATA strong\n(EMPH\n-bold\n)EMPH\n-tail\n";
      if (p % 5 == 2) esis += "?pi " + std::to_string(p) + "\n";
      if (sdata && p % 3 == 2) esis += "-sdata \\|[deg]\\| and \\|[ent]\\|\n";
      if (sdata && p == 1 && s == 3) esis += "-\\|[unknown]\\|\n";
      esis += ")PARA\n";
    }
    if (s % 2 == 0) esis += ")SEC\n";
    esis += ")SEC\n";
  }
  return esis + ")DOC\n";
}

// Block texts that end in "^", as most translations to markup have them.
const char* kBlockSpecs =
    "GI: DOC\nStartText: <doc>^\nEndText: ^</doc>^\n-\n"
    "GI: SEC\nStartText: ^<sec id=\"${ID}\">^\nEndText: ^</sec>^\n-\n"
    "GI: TITLE\nContext: SEC SEC\nStartText: ^<h3>\nEndText: </h3>^\n-\n"
    "GI: TITLE\nStartText: ^<h2>\nEndText: </h2>^\n-\n"
    "GI: PARA\nAttValue: SKIP yes\nIgnore: all\n-\n"
    "GI: PARA\nStartText: ^<p>\nEndText: </p>^\n-\n"
    "GI: EMPH\nAttValue: ROLE ^strong$\nStartText: <b>\nEndText: </b>\n-\n"
    "GI: XREF\nStartText: <a>${_followlink LINKEND 10}</a>\n-\n"
    "GI: _x\nSpecID: 10\nIgnore: all\nStartText: ${_followrel child TITLE 11}\n-\n"
    "GI: _t\nSpecID: 11\n-\n"
    "GI: _pi\nStartText: ^<?\nEndText: ?>^\n-\n"
    "GI: *\n-\n";

// Inline texts: whether a run starts at the start of a line changes.
const char* kInlineSpecs =
    "GI: SEC\nStartText: [sec ${_gi l} ${_nchild}\nEndText: ]^\n-\n"
    "GI: PARA\nStartText: (\nEndText: )\n-\n"
    "GI: TITLE\nReplace: ^title ${_path}^\n-\n"
    "GI: EMPH\nVerbatim: yes\nStartText: *\nEndText: *\n-\n"
    "GI: XREF\nStartText: ${_id ${LINKEND} 11}^\n-\n"
    "GI: _t\nSpecID: 11\nIgnore: all\nStartText: ->${ID}\n-\n"
    "GI: _pi\nReplace: ^\n-\n";

// No "*" and no spec for the processing instructions: warnings in the
// middle of the walk.
const char* kWarningSpecs =
    "GI: SEC\nStartText: ^<sec>^\nEndText: ^</sec>^\n-\n"
    "GI: PARA\nStartText: ^<p>\nEndText: </p>^\n-\n"
    "GI: XREF\nStartText: ${_id ${LINKEND} 12}\n-\n"
    "GI: _n\nSpecID: 12\nIgnore: all\nStartText: ${_gi}${_nchild}\n-\n";

struct Result {
  std::string out, err;
  std::vector<bool> processed;
  AheadStats stats;
  int status = 0;  // of a fatal stop
};

class ParallelTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = settings;
    savedAhead_ = aheadSettings;
    aheadSettings.minElements = 0;
  }
  void TearDown() override {
    output.sdataMap = output.sdataUsed = nullptr;
    settings = saved_;
    aheadSettings = savedAhead_;
    largeStackSize = kLargeStack;
  }

  Result Translate(const std::string& esis, const std::string& specs, int threads) {
    ElemNode* root = test::ReadDocument(esis);
    doc.root = root;
    aheadSettings.threads = threads;
    OutBuffer out;
    Translation t(&out, Diagnostics());
    Result r;
    OutBuffer* const owner = Diagnostics()->columnOwner;
    testing::internal::CaptureStderr();
    try {
      test::ThrowOnFatal fatal;
      TranslateTree(t, root, dir_.Write("s.ts", specs).c_str());
    } catch (const test::FatalExit& stop) {
      r.status = stop.status;
      Diagnostics()->columnOwner = owner;  // as the run would have left it
    }
    r.err = testing::internal::GetCapturedStderr();
    r.stats = t.run.aheadStats;
    r.out = std::string(out.text());
    r.processed = t.run.processed;
    r.processed.resize(size_t(doc.nextSerial));
    return r;
  }

  // The same translation on one thread and, with runs of several sizes
  // all translated ahead, on two: every byte and every processed mark must
  // agree, whichever thread took which run.
  AheadStats Compare(const std::string& esis, const std::string& specs,
                     std::initializer_list<int> chunks = {1, 3, 40}, Result* plainOut = nullptr) {
    Result plain = Translate(esis, specs, 1);
    if (plainOut) *plainOut = plain;
    EXPECT_EQ(plain.stats.runs, 0u);
    AheadStats total;
    aheadSettings.alwaysAhead = true;
    aheadSettings.maxRetries = 1000;
    for (int chunk : chunks) {
      aheadSettings.chunkElements = chunk;
      aheadSettings.window = chunk == 3 ? 1 : 4;
      Result ahead = Translate(esis, specs, 2);
      SCOPED_TRACE("chunk " + std::to_string(chunk));
      EXPECT_EQ(ahead.out, plain.out);
      EXPECT_EQ(ahead.err, plain.err);
      EXPECT_EQ(ahead.processed, plain.processed);
      EXPECT_EQ(ahead.status, plain.status);
      EXPECT_GT(ahead.stats.runs, 1u);
      // The buffers kept for reuse stay within the window.
      EXPECT_LE(ahead.stats.buffers, size_t(aheadSettings.window) + 2);
      total.runs += ahead.stats.runs;
      total.taken += ahead.stats.taken;
      total.retried += ahead.stats.retried;
    }
    return total;
  }

  RunSettings saved_;
  AheadSettings savedAhead_;
  test::TempDir dir_;
};

TEST_F(ParallelTest, OutputMessagesAndMarksAsOnOneThread) {
  const std::string esis = MakeDocument(12, 9);
  settings.verbose = 1;  // the report of unprocessed elements reads the marks
  AheadStats block = Compare(esis, kBlockSpecs);
  EXPECT_GT(block.taken, 0u);

  // Runs that start at a line start or not: carets settled at the splice.
  AheadStats inl = Compare(esis, kInlineSpecs);
  EXPECT_GT(inl.taken, 0u);
  EXPECT_EQ(inl.retried, 0u);

  // Messages recorded and replayed in their places, never written twice:
  // warnings, unknown special variables, a call left open.
  AheadStats warned =
      Compare(esis, std::string(kWarningSpecs) + "GI: EMPH\nStartText: <${_nosuch ${ROLE}}\nEndText: >${_gi\n-\n");
  EXPECT_GT(warned.taken, 0u);
  EXPECT_EQ(warned.retried, 0u);

  aheadSettings.maxChunkBytes = 200;  // runs given up for their size
  AheadStats big = Compare(esis, kBlockSpecs);
  EXPECT_GT(big.retried, 0u);
  EXPECT_GT(big.taken, 0u);
}

TEST_F(ParallelTest, SdataFromTheMapAsFromTheTableOfSubstitutions) {
  const std::string esis = MakeDocument(12, 9, true);
  output.sdataMap = NewVarTable(10);
  SetMapping(output.sdataMap, "[deg]", "^deg^");
  SetMapping(output.sdataMap, "[ent]", "\\|[deg]\\|!");
  AheadStats sdata = Compare(esis, kBlockSpecs);
  EXPECT_GT(sdata.taken, 0u);
  EXPECT_EQ(sdata.retried, 0u);  // the unknown name's message is replayed

  // A replacement that would run a command when it is recorded (a command
  // that could not be run when the map was read): one thread.
  SetMappingText(output.sdataMap, "[cmd]", "!echo hi");
  aheadSettings.chunkElements = 2;
  EXPECT_EQ(Translate(esis, kBlockSpecs, 2).stats.runs, 0u);
}

// Runs that start with blanks, at the start of a line and in the middle
// of one: the blanks _blanks gathers there are settled at the splice, with
// or without _space, whose text may itself end the line.
TEST_F(ParallelTest, GatheredBlanksAtTheStartOfARun) {
  std::string esis = "(DOC\n";
  for (int i = 0; i < 30; ++i) {
    const char* gi = i % 2 ? "LINE" : "PARA";
    esis += std::string("(") + gi + "\n-  lead " + std::to_string(i) + "\\n more\n" +
            (i % 3 ? "AROLE CDATA br\n" : "") + "(EMPH\n-x\n)EMPH\n- \n(EMPH\n-y\n)EMPH\n" +
            "-\\n\\011tail  \n)" + gi + "\n" + (i % 4 ? "" : "(LINE\n- \n)LINE\n");
  }
  esis += ")DOC\n";
  const std::string specs =
      "GI: LINE\nStartText: ^\nEndText: ^\n-\n"
      "GI: PARA\nStartText: <p>\nEndText: </p>\n-\n"
      "GI: EMPH\nAttValue: ROLE br\nStartText: <b>\nEndText: </b>^\n-\n"
      "GI: EMPH\nStartText: <i>\nEndText: </i>\n-\n"
      "GI: *\n-\n";
  for (const char* blanks : {"collapse", "drop"})
    for (const char* space : {"", "Var: _space ~\n", "Var: _space ^\n"}) {
      SCOPED_TRACE(std::string(blanks) + " " + space);
      settings = saved_;  // _space as this spec file has it
      AheadStats stats = Compare(esis, std::string("Var: _blanks ") + blanks + "\n" + space + specs, {1, 3});
      EXPECT_GT(stats.taken, 0u);
      EXPECT_EQ(stats.retried, 0u);
    }
}

// Named actions nested deep inside runs done ahead go on a large stack as
// in a plain run: a chain of 1,500 translates whole, and a cycle stops
// with the same message, output and status (on a stack of 8 MB, so that
// its end comes soon).
TEST_F(ParallelTest, DeepActionsAndCyclesInARunDoneAhead) {
  largeStackSize = size_t(8) << 20;
  std::string esis = "(DOC\n(SEC\n";
  for (int i = 0; i < 6; ++i)
    esis += std::string(i == 3 ? "ASTART CDATA yes\n" : "") + "(PARA\n-text " + std::to_string(i) + "\n)PARA\n";
  esis += ")SEC\n(CHAIN\n";
  for (int i = 0; i < 1500; ++i)
    esis += "AID TOKEN I" + std::to_string(i) + "\nANEXT CDATA " +
            (i + 1 < 1500 ? "I" + std::to_string(i + 1) : std::string("END")) + "\n(LINK\n)LINK\n";
  esis += "AID TOKEN END\n(LINK\n)LINK\n)CHAIN\n)DOC\n";
  const std::string specs =
      "GI: CHAIN\nIgnore: all\n-\n"
      "GI: PARA\nStartText: <p>\nEndText: </p>^\n-\n"
      "GI: _last\nSpecID: 10\nAttValue: ID ^END$\nIgnore: all\nStartText: end\n-\n"
      "GI: _link\nSpecID: 10\nIgnore: all\nStartText: ${ID},${_followlink NEXT 10t}\n-\n"
      "GI: _loop\nSpecID: 20\nIgnore: all\nStartText: [${_action 20}\n-\n"
      "GI: *\n-\n";
  AheadStats chain = Compare(esis, "GI: PARA\nAttValue: START yes\nStartText: ${_id I0 10t}\n-\n" + specs, {1});
  EXPECT_GT(chain.taken, 0u);
  EXPECT_EQ(chain.retried, 0u);
  Result plain;
  AheadStats cycle = Compare(esis, "GI: PARA\nAttValue: START yes\nStartText: ${_action 20}\n-\n" + specs, {1}, &plain);
  EXPECT_EQ(plain.status, 1);
  EXPECT_NE(plain.err.find("nested too deep"), std::string::npos);
  EXPECT_GT(cycle.taken, 0u);
  EXPECT_EQ(cycle.retried, 0u);
}

TEST_F(ParallelTest, WorkAheadStopsAfterTooManyRetries) {
  const std::string esis = MakeDocument(10, 9);
  Result plain = Translate(esis, kWarningSpecs, 1);
  aheadSettings.alwaysAhead = true;
  aheadSettings.chunkElements = 1;
  aheadSettings.maxRetries = 2;
  aheadSettings.maxChunkBytes = 8;  // most runs are given up for their size
  Result ahead = Translate(esis, kWarningSpecs, 2);
  EXPECT_EQ(ahead.out, plain.out);
  EXPECT_EQ(ahead.err, plain.err);
  // Runs already under way when it stopped may still be given up.
  EXPECT_GE(ahead.stats.retried, 2u);
  EXPECT_LE(ahead.stats.retried, 2u + size_t(aheadSettings.window) + 1);
  EXPECT_LT(ahead.stats.taken + ahead.stats.retried, ahead.stats.runs / 2);
}

TEST_F(ParallelTest, SpecsThatChangeStateKeepOneThread) {
  const std::string esis = MakeDocument(4, 4);
  aheadSettings.chunkElements = 2;
  const std::string base = "GI: PARA\nStartText: <p>\n-\n";
  struct Case {
    std::string specs;
    bool allowed;
  };
  const Case cases[] = {
      {base, true},
      {"GI: PARA\nStartText: ${_followrel child EMPH 1}${_gi}${_attval SKIP 1}\n-\n", true},
      {"GI: PARA\nStartText: ${_set x 1}\n-\n", false},
      {"GI: PARA\nStartText: ${_insertnode S 1}\n-\n", false},
      {"GI: PARA\nStartText: ${_eachatt SKIP 1}\n-\n", false},
      {"GI: PARA\nStartText: ${_!echo}\n-\n", false},
      {"GI: PARA\nStartText: ${_${name}}\n-\n", false},
      {"GI: PARA\nStartText: ${_gi\n-\n", true},  // a message, then the call
      {"GI: PARA\nStartText: ${_nosuch x}\n-\n", true},
      {"GI: PARA\nStartText: ${_ set x 1}\n-\n", false},
      // Expansions that form a call: a default text, a value after a '$'.
      {"GI: PARA\nStartText: ${X ${Yset x 1}}\n-\n", false},
      {"GI: PARA\nStartText: ${X $}{_set x 1}\n-\n", false},
      {"GI: PARA\nStartText: $${ROLE}}\n-\n", false},
      {"GI: PARA\nStartText: ${ROLE a {b}} costs $5 ${_gi}\n-\n", true},
      {"GI: PARA\nMessage: hello\n-\n", true},
      {"GI: PARA\nMessage: ${_set x 1}\n-\n", false},
      {"GI: NONE\nQuit: stop\n-\n" + base, true},
      {"GI: PARA\nSet: x 1\n-\n", false},
      {"GI: PARA\nIncrement: n\n-\n", false},
      // A missing target is reported on first use: while the specs are
      // given out, or else in the walk.
      {"GI: PARA\nAction: 99\n-\n", true},
      {"GI: _a\nSpecID: 5\nAction: 99\n-\nGI: PARA\nStartText: ${_action 5t}\n-\n", false},
      {"Var: v ${_set x}\n" + base, false},
      {"Var: v plain\n" + base, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.specs);
    Result r = Translate(esis, c.specs, 2);
    EXPECT_EQ(r.stats.runs > 0, c.allowed);
  }
}

// The plan must cover the walk: every item of an element the main thread
// walks is in a run, or is a child the main thread walks too.
TEST_F(ParallelTest, PlanCoversTheWalkInOrder) {
  ElemNode* root = test::ReadDocument(MakeDocument(6, 8));
  Translation t(nullptr, Diagnostics());
  ReadSpecs(t, dir_.Write("s.ts", kBlockSpecs));
  AssignSpecs(t, root);
  for (int size : {1, 5, 30, 1000}) {
    SCOPED_TRACE(size);
    std::vector<AheadChunk> chunks = PlanChunks(t, root, size);
    size_t k = 0;
    struct Frame {
      ElemNode* elem;
      int next;
    };
    std::vector<Frame> walk{Frame{root, 0}};
    while (!walk.empty()) {
      Frame& f = walk.back();
      if (f.next == f.elem->contentCount) {
        walk.pop_back();
        continue;
      }
      if (k < chunks.size() && chunks[k].parent == f.elem && chunks[k].first == f.next) {
        ASSERT_GT(chunks[k].last, f.next);
        f.next = chunks[k++].last;
        continue;
      }
      const ContentItem& item = f.elem->items()[f.next++];
      ASSERT_EQ(item.kind(), '(');  // data never stays with the main thread
      ElemNode* child = item.elem();
      ASSERT_GT(SubtreeEnd(child) - child->serial, size);
      const TranSpec* s = ElementSpec(t, child);
      if (s && s->ignore != IGNORE_All && !s->replace) walk.push_back(Frame{child, 0});
    }
    EXPECT_EQ(k, chunks.size());
  }
}

// Warnings for the elements no spec names come from both halves.
TEST_F(ParallelTest, SpecsGivenInParallelAsInOrder) {
  const std::string specs =
      "GI: SEC\nContext: SEC\nStartText: inner\n-\n"
      "GI: PARA\nAttValue: SKIP ^y\nAction: 11\n-\n"
      "GI: XREF EMPH\nStartText: x\n-\n"
      "GI: _t\nSpecID: 11\n-\n";
  ElemNode* root = test::ReadDocument(MakeDocument(8, 9));
  const std::string path = dir_.Write("s.ts", specs);
  Translation t(nullptr, Diagnostics());
  ReadSpecs(t, path);
  testing::internal::CaptureStderr();
  AssignSpecs(t, root);
  const std::string plainErr = testing::internal::GetCapturedStderr();
  const std::vector<uint32_t> plain = t.run.specOf;
  for (int threads : {1, 2}) {
    aheadSettings.threads = threads;
    Translation again(nullptr, Diagnostics());
    ReadSpecs(again, path);
    testing::internal::CaptureStderr();
    AssignSpecsInParallel(again, root);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), plainErr);
    EXPECT_EQ(again.run.specOf, plain);
  }
  EXPECT_NE(plainErr.find("transpec not found for TITLE"), std::string::npos);
}

// A translation done ahead writes its messages to its own sink, each at
// its place in its output, and records a fatal stop instead of ending the
// process; what it finishes is listed, not marked.
TEST(AheadTranslationTest, MessagesMarksAndFatalStopsAreRecorded) {
  ElemNode* root = test::ReadDocument("(DOC\n)DOC\n");
  Translation walk(nullptr, Diagnostics());
  OutBuffer output, messages;
  messages.Follow(&output);
  std::vector<int> finished;
  Translation ahead(walk, &output, &messages, &finished);
  output.Put("ab");
  ahead.messages->Puts("one\n");
  output.Put("cd");
  ahead.messages->Printf("%s\n", "two");
  EXPECT_THROW(ahead.Stop(3), FatalStop);
  ahead.MarkProcessed(root);
  EXPECT_EQ(finished, std::vector<int>{root->serial});
  EXPECT_FALSE(walk.IsProcessed(root));
  EXPECT_EQ(messages.text(), "one\ntwo\n");
  ASSERT_EQ(messages.marks().size(), 2u);
  EXPECT_EQ(messages.marks()[0].outputAt, 2u);
  EXPECT_EQ(messages.marks()[1].outputAt, 4u);
  EXPECT_EQ(messages.marks()[1].messagesEnd, 8u);
}

}  // namespace
}  // namespace qlx
