#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <poll.h>
#include <unistd.h>

#include "output/emit.h"
#include "output/maps.h"
#include "util/fatal.h"
#include "util/vartable.h"

namespace qlx {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// Collects what the writer sends to a buffer.
class MemoryStream {
 public:
  OutBuffer* get() { return &buffer_; }
  std::string Text() const { return std::string(buffer_.text()); }

 private:
  OutBuffer buffer_;
};

class EmitTest : public testing::Test {
 protected:
  void SetUp() override {
    output = OutputState();
    messages_.columnOwner = &out_;
  }
  void TearDown() override { output = OutputState(); }

  // The bytes that EmitText writes for `text`: to the output (track), or
  // as a message that belongs to it.
  std::string Emit(const char* text, int track = 1) {
    OutBuffer& to = track ? out_ : messages_;
    const size_t before = to.size();
    EmitText(text, &to, track);
    return std::string(to.text().substr(before));
  }
  std::string Data(const char* text, bool verbatim = false) {
    const size_t before = out_.size();
    EmitData(text, &out_, verbatim);
    return std::string(out_.text().substr(before));
  }
  int& column() { return out_.column; }
  void Map(const char* name, const char* value) {
    if (!output.sdataMap) output.sdataMap = NewVarTable(50);
    SetMapping(output.sdataMap, name, value);
  }

  OutBuffer out_, messages_;
};

TEST_F(EmitTest, Escapes) {
  struct Case {
    const char* text;
    std::string written;
  } cases[] = {
      {"\\101", "A"},
      {"\\0121.", "\n1."},  // at most three octal digits
      {"\\1011", "A1"},
      {"\\11x", "\tx"},
      {"\\18", std::string("\x01", 1) + "8"},
      {"\\0", ""},
      {"\\400", ""},  // 256 modulo 256
      {"\\777", "\xff"},
      {"\\n\\r\\s\\t", "\n\r \t"},
      {"\\q\\\\\\^", "q\\^"},
      {"ab\\", "ab"},
      {"\\#65;\\#233;\\#8364;\\#128512;", "A\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"},
      {"\\#0;x", "x"},
      {"\\#1114112;\\#55296;", "\xef\xbf\xbd\xef\xbf\xbd"},  // no such characters
      {"\\#;\\#12x\\#", "#;#12x#"},                         // not the escape
      {"\\#99999999999999999999;", "\xef\xbf\xbd"},
  };
  for (const Case& c : cases) {
    column() = 0;
    EXPECT_EQ(Emit(c.text), c.written) << c.text;
  }
}

TEST_F(EmitTest, ColumnCounting) {
  Emit("abc");
  EXPECT_EQ(column(), 3);
  Emit("x\ny");
  EXPECT_EQ(column(), 1);
  Emit("\\n");
  EXPECT_EQ(column(), 0);
  Emit("\\012");  // a newline by code does not reset the column
  EXPECT_EQ(column(), 1);
  Emit("\\r");
  EXPECT_EQ(column(), 0);
  Emit("\\101\\t\\\\");  // one per escape
  EXPECT_EQ(column(), 3);

  column() = 5;
  Emit("a\nb", 0);  // untracked text leaves the column
  EXPECT_EQ(column(), 5);
  Emit("msg\\n", 0);  // but \n and \r reset it whatever the stream
  EXPECT_EQ(column(), 0);

  column() = 2147483000;  // saturates instead of overflowing
  EXPECT_EQ(Emit(std::string(1000, 'x').c_str()).size(), 1000u);
  EXPECT_EQ(column(), 2147483647);
  EXPECT_EQ(Emit("^"), "\n");
}

TEST_F(EmitTest, CaretsAndNullText) {
  EXPECT_EQ(Emit(nullptr), "");  // already at the start of a line
  Emit("abc");
  EXPECT_EQ(Emit(nullptr), "\n");
  EXPECT_EQ(Emit(nullptr), "");

  column() = 0;
  EXPECT_EQ(Emit("^.TS^"), ".TS\n");
  Emit("text");
  EXPECT_EQ(Emit("^.TS^"), "\n.TS\n");

  EXPECT_EQ(Emit("a^^b", 0), "a\n\nb");
  EXPECT_EQ(column(), 0);
  EXPECT_EQ(Emit("^^", 0), "\n\n");
}

TEST_F(EmitTest, NullStreamDoesNothing) {
  column() = 4;
  CaptureStderr();
  OutBuffer none = OutBuffer::Discarding();
  for (OutBuffer* stream : {static_cast<OutBuffer*>(nullptr), &none}) {
    EmitText("abc\\n\\|unknown\\|^", stream, 1);
    EmitText(nullptr, stream, 1);
    EmitData("data\\|unknown\\|", stream, false);
  }
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(column(), 4);
  EXPECT_EQ(output.sdataUsed, nullptr);
}

TEST_F(EmitTest, ViewsEndAtTheirEndOrAtNul) {
  MemoryStream out;
  std::string_view text = "ab^cd";
  EmitText(text.substr(0, 3), out.get(), 1);
  EmitText(std::string_view("x\0y", 3), out.get(), 1);
  EXPECT_EQ(out.Text(), "ab\nx");
}

// Every special byte at every place of texts of every length up to a few
// of the scan's blocks, reached from every starting point the writer uses:
// the first one is found, none is found where there is none.
TEST_F(EmitTest, SpecialBytesFoundAtEveryPlace) {
  for (size_t len = 0; len <= 40; ++len) {
    std::string plain(len, 'x');
    for (size_t k = 0; k < len; ++k) plain[k] = char('A' + k % 26);  // no escape letters
    EXPECT_EQ(Emit(plain.c_str(), 0), plain);
    for (size_t at = 0; at < len; ++at) {
      std::string text = plain;
      const std::string head = plain.substr(0, at), tail = plain.substr(at + 1);
      text[at] = '^';  // untracked: always a line end
      EXPECT_EQ(Emit(text.c_str(), 0), head + "\n" + tail) << len << " " << at;
      text[at] = '\n';
      EXPECT_EQ(Emit(text.c_str(), 0), head + "\n" + tail) << len << " " << at;
      text[at] = '\\';  // escapes the next character, or ends the text
      EXPECT_EQ(Emit(text.c_str(), 0), head + tail) << len << " " << at;
      text[at] = '\0';
      MemoryStream out;
      EmitText(std::string_view(text), out.get(), 0);
      EXPECT_EQ(out.Text(), head) << len << " " << at;
      // A second special further on: the scan resumes after the first.
      for (size_t second = at + 1; second < len; second += 5) {
        std::string two = plain;
        two[at] = '^';
        two[second] = '^';
        std::string want = plain;
        want[at] = '\n';
        want[second] = '\n';
        EXPECT_EQ(Emit(two.c_str(), 0), want) << len << " " << at << " " << second;
      }
    }
  }
}

// A NUL ends a text wherever the writer stands: in an escape, after an
// SDATA reference, inside a replacement.
TEST_F(EmitTest, NulEndsTextsAndReplacements) {
  Map("n", "N");
  SetMapping(output.sdataMap, "z", std::string_view("A\0B", 3));
  MemoryStream out;
  EmitText(std::string_view("a\\\0n", 4), out.get(), 1);
  EmitText(std::string_view("|\\|n\\\0zz", 8), out.get(), 1);
  EmitText(std::string_view("|\\|n\\q\0zz", 9), out.get(), 1);
  EmitText(std::string_view("|\\101\0", 6), out.get(), 1);
  EmitText(std::string_view("|\\#65\0;", 7), out.get(), 1);
  EmitText("|x\\|z\\|y", out.get(), 1);
  EXPECT_EQ(out.Text(), "a|N|N|A|#65|xAy");
}

TEST_F(EmitTest, SdataFromMapAndUnknownNames) {
  Map("[amp  ]", "&");
  CaptureStderr();
  EXPECT_EQ(Emit("a\\|[amp  ]\\|b"), "a&b");
  EXPECT_EQ(GetCapturedStderr(), "");
  ASSERT_NE(output.sdataUsed, nullptr);
  EXPECT_EQ(*LookupVar(output.sdataUsed, "[amp  ]"), "&");

  output = OutputState();
  column() = 0;
  CaptureStderr();
  EXPECT_EQ(Emit("a\\|[amp  ]\\|b\\|[amp  ]\\|"), "a[[amp  ]]b[[amp  ]]");
  EXPECT_EQ(GetCapturedStderr(),
            "Error: Could not find SDATA substitution '[amp  ]'.\n"
            "Error: Could not find SDATA substitution '[amp  ]'.\n");
  EXPECT_EQ(output.sdataUsed, nullptr);

  // The bracketed name is written as it stands and does not count; only
  // the reference's backslash does.
  column() = 0;
  CaptureStderr();
  EXPECT_EQ(Emit("\\|^x n\\|"), "[^x n]");
  GetCapturedStderr();
  EXPECT_EQ(column(), 1);
}

TEST_F(EmitTest, SdataReplacementsAreInterpretedAndFixedOnceUsed) {
  Map("br", "^line\\n");
  Map("outer", "<\\|inner\\|>");
  Map("inner", "\\101");
  EXPECT_EQ(Emit("x\\|br\\|y"), "x\nline\ny");
  column() = 0;
  EXPECT_EQ(Emit("\\|outer\\|"), "<A>");
  EXPECT_EQ(column(), 5);  // three backslashes, '<' and '>' 

  // A later map value does not change a name already substituted.
  Map("inner", "B");
  EXPECT_EQ(Emit("\\|inner\\|"), "A");

  // A name with no value counts as absent.
  SetMapping(output.sdataMap, "none", nullptr);
  CaptureStderr();
  EXPECT_EQ(Emit("\\|none\\|"), "[none]");
  EXPECT_NE(GetCapturedStderr().find("'none'"), std::string::npos);
}

TEST_F(EmitTest, SdataReferenceClosingAndUnclosed) {
  Map("n", "N");
  EXPECT_EQ(Emit("\\|n\\|z"), "Nz");
  EXPECT_EQ(Emit("\\|n\\qz"), "Nz");  // any character after the backslash closes
  EXPECT_EQ(Emit("a\\|n\\"), "aN");   // the text ends right after the backslash
  CaptureStderr();
  EXPECT_EQ(Emit("\\|a|b\\|"), "[a|b]") << "a bar belongs to the name";
  EXPECT_NE(GetCapturedStderr().find("'a|b'"), std::string::npos);
  // Never closed: nothing is lost and the rest is written as usual.
  column() = 0;
  EXPECT_EQ(Emit("a\\|[amp  ]^b"), "a|[amp  ]\nb");
}

TEST_F(EmitTest, SelfReferringReplacementsStop) {
  Map("self", "x\\|self\\|y");
  CaptureStderr();
  std::string written = Emit("\\|self\\|.");
  std::string err = GetCapturedStderr();
  ASSERT_EQ(written, "x[self]y.");  // before the cases that would explode
  EXPECT_NE(err.find("'self' refers to itself"), std::string::npos) << err;

  // Through another name; each of these would double the output per level
  // if the cycle were only cut by the depth limit.
  Map("a", "\\|b\\|\\|b\\|");
  Map("b", "(\\|a\\|)");
  CaptureStderr();
  EXPECT_EQ(Emit("\\|a\\|"), "([a])([a])");
  GetCapturedStderr();

  // A chain deeper than the limit stops at the limit.
  for (int i = 0; i < 100; ++i) {
    Map(("n" + std::to_string(i)).c_str(), ("\\|n" + std::to_string(i + 1) + "\\|").c_str());
  }
  CaptureStderr();
  std::string expect = "[n" + std::to_string(kMaxSdataNesting) + "]";
  EXPECT_EQ(Emit("\\|n0\\|!"), expect + "!");
  err = GetCapturedStderr();
  EXPECT_NE(err.find("nested too deeply"), std::string::npos) << err;
}

TEST_F(EmitTest, DataCaretsAreTextMapCaretsBreakLines) {
  EXPECT_EQ(Data("^a^b^"), "^a^b^");
  EXPECT_EQ(column(), 5);
  CaptureStderr();
  EXPECT_EQ(Data("x\\nq\\|u\\|", true), "x\nq[u]");  // escapes still work
  GetCapturedStderr();

  output.charMap.Add("x", "^X");
  column() = 0;
  EXPECT_EQ(Data("x^x"), "X^\nX");
  EXPECT_EQ(Data("^", true), "^");  // verbatim: no map

  Map("up", "^UP");  // a caret in an SDATA replacement breaks the line
  EXPECT_EQ(Data("a\\|up\\|^"), "a\nUP^");
}

TEST_F(EmitTest, DataThroughTheCharacterMap) {
  output.charMap.Add("n", "N");
  output.charMap.Add("&", "\\&");
  output.charMap.Add("e", "");
  EXPECT_EQ(Data("one\\n&"), "oN\n&");  // the n after a backslash is kept
  EXPECT_EQ(Data("one", true), "one");
  EXPECT_EQ(Data(nullptr), "");
}

TEST_F(EmitTest, LongTextsAndUnbufferedStreams) {
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "word\\t^";
  std::string want;
  for (int i = 0; i < 20000; ++i) want += "word\t\n";
  EXPECT_EQ(Emit(big.c_str()), want);

  // On standard error (unbuffered) a message inside a text comes after the
  // text before it.
  CaptureStderr();
  EmitText("abc\\|zz\\|def", Diagnostics(), 0);
  EXPECT_EQ(GetCapturedStderr(), "abcError: Could not find SDATA substitution 'zz'.\n[zz]def");
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

// The writer fills the buffer's room itself; what it writes must keep its
// place among other writes to the buffer, through many refills of a small
// buffer, and a buffer whose column is unknown records its first caret as
// pending instead of guessing.
TEST(EmitStreamTest, KeepsOrderThroughRefillsAndRecordsPendingBreaks) {
  output = OutputState();
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::string expected;
  {
    OutBuffer out(fileno(file), "tmp", 64);  // small: many refills
    for (int i = 0; i < 200; ++i) {
      EmitText("plain text ", &out, 1);
      out.Printf("[%d]", i);
      EmitData("data^", &out, false);
      out.Put('|');
      expected += "plain text [" + std::to_string(i) + "]data^|";
    }
    EmitText(std::string(1000, 'x'), &out, 1);  // longer than the buffer
    expected += std::string(1000, 'x');
    std::string escaped, plain;
    for (int i = 0; i < 300; ++i) {
      escaped += "w" + std::to_string(i) + "\\s\\#233;^";
      plain += "w" + std::to_string(i) + " \xc3\xa9\n";
    }
    EmitText(escaped, &out, 1);
    out.Put("<put>");
    EmitText(escaped.c_str(), &out, 0);
    expected += plain + "<put>" + plain;
    ASSERT_TRUE(out.Flush());
  }
  std::rewind(file);
  std::string got(expected.size() + 10, '\0');
  got.resize(std::fread(got.data(), 1, got.size(), file));
  EXPECT_EQ(got, expected);
  std::fclose(file);

  OutBuffer ahead;
  ahead.column = OutBuffer::kUnknownColumn;
  EmitText("^", &ahead, 1);  // unknown: held for a line with text
  ASSERT_EQ(ahead.midLineOnly.size(), 1u);
  EXPECT_EQ(ahead.midLineOnly[0].from, 0u);
  EXPECT_EQ(ahead.midLineOnly[0].to, 1u);
  EXPECT_EQ(ahead.column, 0);
  EmitText("a^b^", &ahead, 1);  // known from here on
  EXPECT_EQ(ahead.text(), "\na\nb\n");
  EXPECT_EQ(ahead.midLineOnly.size(), 1u);
  OutBuffer later;
  later.column = OutBuffer::kUnknownColumn;
  later.Put("raw");  // raw bytes leave the column unknown
  EmitText("\\0", &later, 1);  // an escape makes it known (not 0)
  EmitText("^x", &later, 1);
  EXPECT_TRUE(later.midLineOnly.empty());
  EXPECT_EQ(later.text(), "raw\nx");
  output = OutputState();
}

}  // namespace
}  // namespace qlx
