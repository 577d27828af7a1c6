// Commands built around text of the document, checked against the shell
// itself: for each place an author may put document text, and each text
// that tries to break out of it, the command must print the text whole as
// one argument and run nothing of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "translate/command.h"

namespace qlx {
namespace {

// The author's template with each '@' replaced by `doc`, and the flags
// that mark the replaced characters as the document's.
struct Built {
  std::string text;
  std::vector<bool> fromDocument;
};
Built Fill(std::string_view tmpl, std::string_view doc) {
  Built b;
  for (char c : tmpl) {
    if (c == '@') {
      b.text += doc;
      b.fromDocument.insert(b.fromDocument.end(), doc.size(), true);
    } else {
      b.text += c;
      b.fromDocument.push_back(false);
    }
  }
  return b;
}

std::string Output(const std::string& command) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return "<no shell>";
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  pclose(pipe);
  return out;
}

bool Exists(const char* path) {
  struct stat st;
  return stat(path, &st) == 0;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

TEST(CommandTest, DocumentTextArrivesWholeInEveryQuoting) {
  const char* canary = "qlx-command-test-canary";
  std::remove(canary);
  const std::string hostile[] = {
      "plain",
      "a b;touch qlx-command-test-canary",
      "$(touch qlx-command-test-canary)",
      "`touch qlx-command-test-canary`",
      "'; touch qlx-command-test-canary; '",
      "\" && touch qlx-command-test-canary && \"",
      "x\\' | touch qlx-command-test-canary",
      "line1\nline2 $(touch qlx-command-test-canary)",
      "\\", "'", "\"", "}", ")", "$IFS", "\\$(touch qlx-command-test-canary)",
  };
  struct Place {
    const char* tmpl;
    std::string (*expected)(const std::string&);
  };
  auto same = [](const std::string& s) { return "[" + s + "]"; };
  const Place places[] = {
      {"printf '[%s]' @", same},
      {"printf '[%s]' \"@\"", same},
      {"printf '[%s]' 'x@x'", [](const std::string& s) { return "[x" + s + "x]"; }},
      {"printf '[%s]' x\"y@\"'z'", [](const std::string& s) { return "[xy" + s + "z]"; }},
      {"printf '[%s]' \\@", same},
      {"printf '[%s]' \"$(printf %s @)\"", same},
      {"printf '[%s]' \"$(printf '%s' \"@\")\"", same},
      {"printf '[%s]' \"`printf %s @`\"", same},
      {"printf '[%s]' \"$( (printf %s @) )\"", same},
      {"printf '[%s]' @-@", [](const std::string& s) { return "[" + s + "-" + s + "]"; }},
      {"printf '%s' @ | tr a-z A-Z", [](const std::string& s) { return Upper(s); }},
  };
  for (const Place& place : places) {
    for (const std::string& doc : hostile) {
      Built b = Fill(place.tmpl, doc);
      std::optional<std::string> command = CommandWithDocumentQuoted(b.text, b.fromDocument);
      ASSERT_TRUE(command) << place.tmpl;
      EXPECT_EQ(Output(*command), place.expected(doc)) << place.tmpl << " with " << doc << "\n" << *command;
      EXPECT_FALSE(Exists(canary)) << *command;
      std::remove(canary);
    }
  }
}

TEST(CommandTest, AuthorTextKeepsItsMeaningAndUnquotablePlacesAreRefused) {
  Built b = Fill("printf %s a; printf %s b", "");
  EXPECT_EQ(CommandWithDocumentQuoted(b.text, b.fromDocument), b.text);
  // The flags may start after the text's own start.
  Built at = Fill("!printf '[%s]' @", "x y");
  EXPECT_EQ(Output(*CommandWithDocumentQuoted(std::string_view(at.text).substr(1), at.fromDocument, 1)),
            "[x y]");
  for (const char* tmpl : {"printf %s ${X:-@}", "echo `echo \\`echo @\\``"}) {
    Built r = Fill(tmpl, "$(touch qlx-command-test-canary)");
    EXPECT_FALSE(CommandWithDocumentQuoted(r.text, r.fromDocument)) << tmpl;
  }
}

}  // namespace
}  // namespace qlx
