#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "util/linereader.h"

namespace qlx {
namespace {

struct Line {
  std::string text;
  bool newline;
  bool operator==(const Line&) const = default;
};

// The lines of `input` as a reader should hand them out.
std::vector<Line> Expected(const std::string& input) {
  std::vector<Line> lines;
  size_t start = 0;
  for (size_t nl; (nl = input.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(Line{input.substr(start, nl - start), true});
  if (start < input.size()) lines.push_back(Line{input.substr(start), false});
  return lines;
}

// Reads `input` through a pipe that a writer fills `chunk` bytes per
// write, so that reads end at every kind of place in a line.
std::vector<Line> ReadThroughPipe(const std::string& input, size_t chunk, bool* sawNul = nullptr) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  std::thread writer([&] {
    for (size_t at = 0; at < input.size(); at += chunk) {
      size_t n = std::min(chunk, input.size() - at);
      for (size_t done = 0; done < n;) {
        ssize_t w = write(fds[1], input.data() + at + done, n - done);
        if (w <= 0) break;
        done += size_t(w);
      }
    }
    close(fds[1]);
  });
  std::vector<Line> lines;
  LineReader reader(fds[0]);
  std::string_view line;
  while (reader.Next(&line)) lines.push_back(Line{std::string(line), reader.hadNewline()});
  EXPECT_EQ(reader.error(), 0);
  if (sawNul) *sawNul = reader.sawNul();
  writer.join();
  close(fds[0]);
  return lines;
}

// Every line length around the 64-byte blocks the reader scans, empty
// lines, and a last line with and without its newline, cut into chunks
// of many sizes.
TEST(LineReader, LinesOfEveryLengthWhateverTheChunks) {
  std::string input;
  for (size_t len = 0; len <= 200; ++len) {
    for (size_t i = 0; i < len; ++i) input += char('a' + (len + i) % 26);
    input += '\n';
    if (len % 17 == 0) input += '\n';
  }
  for (size_t chunk : {size_t(1), size_t(7), size_t(63), size_t(64), size_t(65), size_t(4096),
                       input.size()}) {
    EXPECT_EQ(ReadThroughPipe(input, chunk), Expected(input)) << "chunk " << chunk;
    std::string unterminated = input + "last line";
    EXPECT_EQ(ReadThroughPipe(unterminated, chunk), Expected(unterminated)) << "chunk " << chunk;
  }
  EXPECT_TRUE(ReadThroughPipe("", 1).empty());
  EXPECT_EQ(ReadThroughPipe("\n", 1), (std::vector<Line>{{"", true}}));
}

// Lines longer than the reader's first buffer are handed out whole, and
// the short lines around them are not disturbed.
TEST(LineReader, LongLinesGrowTheBuffer) {
  std::string input = "first\n" + std::string(3 << 20, 'x') + "\nmiddle\n" +
                      std::string((1 << 20) - 1, 'y') + "\n" + std::string(1 << 20, 'z');
  std::vector<Line> lines = ReadThroughPipe(input, 100000);
  EXPECT_EQ(lines, Expected(input));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1].text.size(), size_t(3) << 20);
  EXPECT_FALSE(lines[4].newline);
}

TEST(LineReader, ReportsANulByteAndAReadError) {
  bool sawNul = true;
  ReadThroughPipe("plain\ntext\n", 3, &sawNul);
  EXPECT_FALSE(sawNul);
  std::string withNul("a\nb", 3);
  withNul += '\0';
  withNul += "c\n";
  EXPECT_EQ(ReadThroughPipe(withNul, 2, &sawNul), Expected(withNul));
  EXPECT_TRUE(sawNul);

  LineReader reader(-1);
  std::string_view line;
  EXPECT_FALSE(reader.Next(&line));
  EXPECT_NE(reader.error(), 0);
}

}  // namespace
}  // namespace qlx
