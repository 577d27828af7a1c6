// The reader's two stages: whatever the block size, and whether the first
// stage runs on a thread of its own, a document reads the same: the tree,
// the messages and their order, the fatal stops and what they leave.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <new>
#include <string>
#include <thread>
#include <vector>

#include "doc/esis.h"
#include "doc/query.h"
#include "doc/tree.h"
#include "testutil.h"
#include "util/linereader.h"
#include "util/settings.h"

namespace qlx {
namespace {

using namespace std::string_literals;
using Threads = EsisReadOptions::Threads;

std::string Text(const char* s) { return s ? s : "(null)"; }

// Everything reading leaves in the document, as text: the elements in
// serial order with every field the reader sets, the entities, the ID
// index and the element each ID finds.
std::string Dump() {
  std::string out;
  for (int s = 0; s < doc.nextSerial; ++s) {
    const ElemNode* e = ElementBySerial(s);
    out += std::to_string(s) + " " + Text(e->gi) + " parent=" + std::to_string(e->parentSerial) +
           " order=" + std::to_string(e->order) + " end=" + std::to_string(e->end) +
           " children=" + std::to_string(e->childCount) + " line=" + std::to_string(ElementLine(e)) +
           " file=" + Text(ElementFileName(e)) + "\n";
    for (int i = 0; i < e->attCount(); ++i)
      out += "  @" + Text(e->atts()[i].name) + "=" + Text(e->atts()[i].value) + "\n";
    for (int i = 0; i < e->contentCount; ++i) {
      const ContentItem& item = e->items()[i];
      out += std::string("  ") + item.kind();
      out += item.kind() == '(' ? std::to_string(item.elem()->serial) : Text(item.text());
      out += "\n";
    }
    if (EntityInfo* ent = ElementEntity(e)) out += "  entity " + Text(ent->name) + "\n";
  }
  for (const EntityInfo* ent = doc.entityFirst; ent; ent = ent->next)
    out += "E " + Text(ent->name) + " " + Text(ent->type) + " " + Text(ent->notation) + " " +
           Text(ent->systemId) + " " + Text(ent->publicId) + " " + Text(ent->generatedName) + "\n";
  for (const IdEntry& id : doc.idIndex) {
    const ElemNode* first = FindElementByID(id.id);
    out += "ID " + Text(id.id) + " " + std::to_string(id.elem->serial) + " first " +
           (first ? std::to_string(first->serial) : "none") + "\n";
  }
  return out;
}

struct Outcome {
  std::string dump;
  std::string err;
  int status = 0;  // the fatal stop's, or 0
  bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
  return os << "status " << o.status << "\nstderr:\n" << o.err << "tree:\n" << o.dump.substr(0, 2000);
}

template <typename ReadFn>
Outcome Capture(ReadFn read) {
  test::ThrowOnFatal guard;
  Outcome o;
  testing::internal::CaptureStderr();
  try {
    read();
  } catch (const test::FatalExit& e) {
    o.status = e.status;
  }
  o.err = testing::internal::GetCapturedStderr();
  o.dump = Dump();  // after a fatal stop too: what was built before it
  return o;
}

Outcome Read(const std::string& esis, const EsisReadOptions& options) {
  return Capture([&] { test::ReadDocument(esis, options); });
}

std::string OptionsName(const EsisReadOptions& o) {
  const char* threads = o.threads == Threads::kNever ? "never" : o.threads == Threads::kAlways ? "always" : "auto";
  return std::to_string(o.blockRecords) + " records, threads " + threads;
}

// The reference reads in large blocks on this thread; the others cut the
// records at every place, on a second thread or not.
const EsisReadOptions kReference{size_t(1) << 16, Threads::kNever};
const EsisReadOptions kSplits[] = {
    {1, Threads::kNever},  {1, Threads::kAlways}, {2, Threads::kAlways},    {3, Threads::kAuto},
    {7, Threads::kAlways}, {64, Threads::kAuto},  {16384, Threads::kAlways},
};

// A document with every kind of record: line records with and without a
// file name (in info blocks and content), entities and the attributes
// that name them, attributes of every form (a bad type and an internal
// entity record draw messages), IDs (one twice), processing instructions
// in content and info blocks, data with record ends, CR-LF line ends, a
// value longer than a block's bytes, many small elements, and records
// after the root's end.
std::string RichDocument() {
  std::string d =
      "?xml version\n"
      "L1 main.sgm\n"
      "sfig.eps\npPUBLIC ID\nfgen1\nEfig NDATA eps\nEother NDATA gif\nDfig x CDATA 1\nNfig\n"
      "AID TOKEN ROOT\nALANG CDATA en\nAROLE IMPLIED\n(DOC\n"
      "-\\nleading record end\n-\\n\n-plain \\| data\\n\n"
      "?pi in content\n"
      "L5\n"
      "AID TOKEN P1\nAX\tCDATA\ttwo\twords\nAY  TOKEN   z\nAE CDATA \nAF CDATA\nAG\tIMPLIED\n"
      "ABAD BOGUS value\nIint CDATA text\nL7 other.sgm\n?pi in info\n(P\n-text one\r\n)P\r\n"
      "ANAME ENTITY nosuch\nAENTITYREF ENTITY fig\n(FIG\n)FIG\n"
      "AEXTERNAL ENTITY other\n(FIG\n)FIG\n"
      "AID TOKEN P1\n(P\n(EMPTY\n)EMPTY\n)P\n"
      "ALONG CDATA " + std::string(300000, 'v') + "\nASHORT CDATA s\n(BIG\n-after big\n)BIG\n";
  for (int i = 0; i < 300; ++i) {
    d += "AN CDATA " + std::to_string(i % 7) + "\nAM IMPLIED\n(ITEM\n-item " + std::to_string(i) + "\n";
    if (i % 10 == 0) d += "(SUB\n?sub pi\n)SUB\n";
    if (i % 50 == 0) d += "L" + std::to_string(100 + i) + "\nAQ BOGUS" + std::to_string(i) + " x\n(LATE\n)LATE\n";
    d += ")ITEM\n";
  }
  d += ")DOC\nC\n-never read\n";
  return d;
}

// The records of `doc` up to its nth line, then `tail`.
std::string Cut(const std::string& d, int nthLine, const std::string& tail) {
  size_t at = 0;
  for (int i = 0; i < nthLine; ++i) at = d.find('\n', at) + 1;
  return d.substr(0, at) + tail;
}

// Whatever the cut, each split reads what the single block reads: the
// whole document, and the document stopped at every kind of fatal record
// (or at the end of its input) at places early, late and in between.
TEST(EsisPipeline, EverySplitReadsTheSame) {
  const std::string rich = RichDocument();
  std::vector<std::string> docs = {rich, "", "(DOC\n)DOC\n", "(DOC\n)DOC", "AX CDATA y\n", "(DOC\n(P\n-x\n",
                                   "(DOC\n-no newline at the end\n)DOC"};
  const std::string fatal[] = {
      "-nul \0 in data\n"s,
      "AX CDATA nul \0 in a value\n(X\n)X\n"s,
      "L9 nul\0.sgm\n(X\n)X\n"s,
      "Ee\0 NDATA x\n(X\n)X\n"s,
      "ssys\0id\n(X\n)X\n"s,
      "?pi\0nul\n"s,
      "-data\n(X\n)X\n",  // in an info block when it follows one
      "&entity\n",
      "S sub\n",
      "\n",
      "&no newline",
      ")X\n",
  };
  for (int line : {0, 1, 5, 13, 30, 400, 2000}) {
    for (const std::string& f : fatal) docs.push_back(Cut(rich, line, f));
    docs.push_back(Cut(rich, line, ""));  // the input ends there
    docs.push_back(Cut(rich, line, "AX CDATA y\nAY CDATA z\n"));  // ... in an info block
  }
  for (bool dataFix : {false, true}) {
    settings.esisDataFix = dataFix;
    for (const std::string& d : docs) {
      const Outcome want = Read(d, kReference);
      for (const EsisReadOptions& o : kSplits) {
        EXPECT_EQ(Read(d, o), want) << OptionsName(o) << ", data fix " << dataFix << ", input:\n"
                                    << d.substr(0, 300);
      }
    }
  }
  settings.esisDataFix = false;
  // The reference is not empty: the rich document reads whole, with its
  // two kinds of message in record order.
  const Outcome whole = Read(rich, kReference);
  EXPECT_EQ(whole.status, 0);
  EXPECT_NE(whole.dump.find("ID ROOT 0 first 0\nID P1 1 first 1\nID P1 4 first 1\n"), std::string::npos)
      << whole;
  const std::string first =
      "Error: Bad attr line (1): ABAD BOGUS...\n"
      "Error: Got CMD_INT_ENT in AccumElemInfo: int CDATA text\n"
      "Error: Bad attr line (7): AQ BOGUS0...\n";  // a line record in content changes nothing
  EXPECT_EQ(whole.err.substr(0, first.size()), first);
}

// A NUL stops the reading only where the serial reader stored the text:
// not in an IMPLIED attribute, one of a bad type (reported, cut at the
// NUL) or a processing instruction of an info block.
TEST(EsisPipeline, NulsWhereNothingIsStored) {
  for (const EsisReadOptions& o : {kReference, EsisReadOptions{1, Threads::kAlways}}) {
    const Outcome ignored = Read("AA\0 IMPLIED\nAB\0x\tIMPLIED\nAC BO\0GUS v\n?p\0i\n(DOC\n)DOC\n"s, o);
    EXPECT_EQ(ignored.status, 0) << OptionsName(o);
    EXPECT_EQ(ignored.err, "Error: Bad attr line (0): AC BO...\n") << OptionsName(o);
    const Outcome stored = Read("AA IMPLIED\nAB TOKEN IM\0PLIED\n(DOC\n)DOC\n"s, o);
    EXPECT_EQ(stored.status, 1) << OptionsName(o);
    EXPECT_EQ(stored.err, "Error: NUL character in ESIS record 2.\n") << OptionsName(o);
  }
}

// The messages of records before a fatal one come first, in record order,
// and the fatal one names its record, however the blocks fall.
TEST(EsisPipeline, MessagesComeOutInRecordOrder) {
  std::string d = "(DOC\n";
  for (int i = 0; i < 40; ++i)
    d += "AY CDATA ok\nL" + std::to_string(i + 1) + "\nAX BAD" + std::to_string(i) + " v\n(P\n)P\n";
  d += "-a\0b\n)DOC\n"s;
  std::string want;
  for (int i = 0; i < 40; ++i)
    want += "Error: Bad attr line (" + std::to_string(i + 1) + "): AX BAD" + std::to_string(i) + "...\n";
  want += "Error: NUL character in ESIS record 202.\n";
  for (size_t block : {1, 2, 5, 1000}) {
    for (Threads t : {Threads::kNever, Threads::kAlways}) {
      const Outcome got = Read(d, EsisReadOptions{block, t});
      EXPECT_EQ(got.err, want) << block;
      EXPECT_EQ(got.status, 1) << block;
    }
  }
}

// Reads `esis` from a pipe that a writer fills `chunk` bytes per write.
Outcome ReadThroughPipe(const std::string& esis, size_t chunk, const EsisReadOptions& options) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  std::thread writer([&] {
    for (size_t at = 0; at < esis.size(); at += chunk) {
      const size_t n = std::min(chunk, esis.size() - at);
      for (size_t done = 0; done < n;) {
        ssize_t w = write(fds[1], esis.data() + at + done, n - done);
        if (w <= 0) break;
        done += size_t(w);
      }
    }
    close(fds[1]);
  });
  Outcome o = Capture([&] {
    ResetDocument();
    LineReader in(fds[0]);
    ReadESIS(in, nullptr, options);
  });
  char sink[4096];
  while (read(fds[0], sink, sizeof sink) > 0) {  // what the reader left, so the writer ends
  }
  writer.join();
  close(fds[0]);
  return o;
}

TEST(EsisPipeline, PipeInputInOddChunks) {
  const std::string rich = RichDocument();
  const std::string docs[] = {rich, Cut(rich, 700, "&bad\n"), Cut(rich, 1000, ""), "(DOC\n-x"};
  for (const std::string& d : docs) {
    const Outcome want = Read(d, kReference);
    for (size_t chunk : {size_t(1), size_t(7), size_t(4093), d.size() + 1}) {
      for (const EsisReadOptions& o : {EsisReadOptions{3, Threads::kAlways}, EsisReadOptions{64, Threads::kAuto},
                                       EsisReadOptions{16384, Threads::kNever}}) {
        if (chunk == 1 && o.blockRecords != 3) continue;  // one byte per write is slow; once is enough
        EXPECT_EQ(ReadThroughPipe(d, chunk, o), want) << "chunk " << chunk << ", " << OptionsName(o);
      }
    }
  }
}

// The reading ends with the root's end record, on either thread: the
// records after it are still there for the caller.
TEST(EsisPipeline, NothingAfterTheRootIsRead) {
  test::TempDir dir;
  std::string d = "(DOC\n";
  for (int i = 0; i < 100; ++i) d += "(P\n)P\n";
  d += ")DOC\n-after\n(NEXT\n";
  const std::string path = dir.Write("doc.esis", d);
  for (const EsisReadOptions& o : {kReference, EsisReadOptions{1, Threads::kAlways}, EsisReadOptions{7, Threads::kAuto}}) {
    ResetDocument();
    int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    LineReader in(fd);
    ElemNode* root = ReadESIS(in, path.c_str(), o);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->childCount, 100);
    std::string_view line;
    ASSERT_TRUE(in.Next(&line)) << OptionsName(o);
    EXPECT_EQ(line, "-after") << OptionsName(o);
    close(fd);
  }
}

// A failed read is reported under the input's name; the handler for
// failed allocations is the caller's again once the reading has ended.
TEST(EsisPipeline, ReadErrorsAndTheAllocationHandler) {
  const std::new_handler before = std::get_new_handler();
  for (const EsisReadOptions& o : {kReference, EsisReadOptions{1, Threads::kAlways}}) {
    const int fd = open("/", O_RDONLY | O_DIRECTORY);
    const Outcome got = Capture([&] {
      ResetDocument();
      LineReader in(fd);
      ReadESIS(in, "a directory", o);
    });
    close(fd);
    EXPECT_EQ(got.err, "a directory: Is a directory\n") << OptionsName(o);
    EXPECT_EQ(got.status, 1) << OptionsName(o);
    EXPECT_EQ(std::get_new_handler(), before) << OptionsName(o);
  }
}

}  // namespace
}  // namespace qlx
