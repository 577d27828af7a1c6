#include "browse/browser.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "browse/find.h"
#include "doc/query.h"
#include "doc/tree.h"
#include "info/reports.h"
#include "output/maps.h"
#include "translate/links.h"
#include "translate/translate.h"
#include "util/fatal.h"
#include "util/outbuf.h"
#include "util/settings.h"
#include "util/split.h"
#include "util/text.h"
#include "util/vartable.h"

#if QLX_HAVE_READLINE
#include <readline/history.h>
#include <readline/readline.h>
#endif

namespace qlx {
namespace {

using Words = std::vector<std::string>;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "PATH" or "PATH -- ID=id": how find, id and pwd name an element.
void PrintHitLine(const ElemNode* e) {
  std::string path = BuildPath(e);
  if (const char* id = ElementId(e)) {
    std::printf("%s -- ID=%s\n", path.c_str(), id);
  } else {
    std::printf("%s\n", path.c_str());
  }
}

void PrintNotFound(const std::string& id) {
  std::printf("Element with ID '%s' not found.\n", id.c_str());
}

// "ls": the element information block.
void ListElement(const ElemNode* e) {
  std::printf("Element: %s\tLineNumber: %d\n", e->gi, ElementLine(e));
  if (e->parent()) std::printf("Context: %s\n", AncestorNames(e, 20).c_str());
  if (e->attCount() > 0) {
    std::printf("%d attributes:\n", e->attCount());
    const AttrPair* atts = e->atts();
    for (int i = 0; i < e->attCount(); ++i)
      std::printf("\t%2d: %s = '%s'\n", i, atts[i].name, atts[i].value ? atts[i].value : "");
  }
  if (const EntityInfo* ent = ElementEntity(e)) {
    std::printf("Entity & notation information:\n");
    if (ent->name) std::printf("Entity name:   %s\n", ent->name);
    if (ent->notation) std::printf("Notation name: %s\n", ent->notation);
    if (ent->systemId) std::printf("Sys id:        %s\n", ent->systemId);
    if (ent->publicId) std::printf("Pub id:        %s\n", ent->publicId);
    if (ent->generatedName) std::printf("Filename:      %s\n", ent->generatedName);
  }
  if (e->order >= 0) std::printf("My order among my siblings: %d\n", e->order);
  if (e->childCount > 0) {
    std::printf("%d child element nodes:\n", e->childCount);
    int i = 0;
    for (const ElemNode* c = FirstChild(e); c; c = NextSibling(c)) std::printf("\t%2d: %s\n", i++, c->gi);
  }
  if (int dataCount = DataCount(e); dataCount > 0) {
    std::printf("%d child data nodes:\n", dataCount);
    int i = 0;
    for (const char* data : DataTexts(e)) {
      if (std::strlen(data) < 40) {
        std::printf("\t%2d: %s\n", i, data);
      } else {
        std::printf("\t%2d: %-40.40s...\n", i, data);
      }
      ++i;
    }
  }
}

// "ls -n": the content items in order.
void ListContent(const ElemNode* e) {
  for (int i = 0; i < e->contentCount; ++i) {
    const ContentItem& item = e->items()[i];
    switch (item.kind()) {
      case '(': std::printf("%s\n", item.elem()->gi); break;
      case '-': std::printf("#data %s\n", item.text()); break;
      case '?': std::printf("#pi %s\n", item.text()); break;
    }
  }
}

// "cd": "cd id I", or a walk of steps; the steps before a failing one stay
// done.
void ChangeElement(const Words& w, ElemNode** current) {
  if (w.size() == 1) return;
  if (w.size() == 3 && w[1] == "id") {
    if (ElemNode* e = FindElementByID(w[2].c_str())) {
      *current = e;
    } else {
      PrintNotFound(w[2]);
    }
    return;
  }
  ElemNode* e = *current;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& step = w[i];
    if (step == "..") {
      if (e->parent()) e = e->parent();
    } else if (step == "/") {
      e = doc.root;
    } else if (!step.empty() && IsDigit(step[0])) {
      int n = LeadingNumber(step);
      if (n >= e->childCount) {
        std::printf("Must be in range 0 - %d.\n", e->childCount);
        break;
      }
      e = NthChild(e, n);
    } else {
      std::printf("Expecting digit, '..', or '/', got '%s'.\n", step.c_str());
      break;
    }
  }
  *current = e;
}

// "data N".
void ShowData(const Words& w, const ElemNode* e) {
  if (w.size() < 2 || w[1].empty() || !IsDigit(w[1][0])) return;
  int n = LeadingNumber(w[1]);
  const int dataCount = DataCount(e);
  if (n < dataCount) {
    std::printf("%s\n", NthData(e, n));
  } else if (dataCount == 0) {
    std::printf("No data at this node.\n");
  } else {
    std::printf("Must be in range 0 - %d.\n", dataCount);
  }
}

// "q rel gi": does an element named gi stand in rel to the current one?
void QueryRelation(Words& w, ElemNode* current) {
  std::string& gi = w[2];
  UpperCaseAscii(gi);
  Relation rel = RelationFromName(w[1].c_str());
  if (rel == REL_Unknown) return;
  bool yes = FindRelated(current, gi.c_str(), rel) != nullptr;
  std::printf("%s, '%s' is%s %s of '%s'.\n", yes ? "Yes" : "No", gi.c_str(), yes ? "" : " not",
              w[1].c_str(), current->gi);
}

// "find [.] sub X [Y]".
void FindCommand(const Words& w, ElemNode* current) {
  ElemNode* top = doc.root;
  size_t k = 1;
  if (w[1] == ".") {
    top = current;
    k = 2;
  }
  const std::string& sub = w[k];
  FindTest test;
  if (!FindTestFromName(sub, &test)) {
    std::fprintf(stderr, "Unknown find command: %s.\n", sub.c_str());
    return;
  }
  size_t needed = k + (test == FIND_Attr ? 3 : 2);
  if (w.size() < needed) {
    std::fprintf(stderr, "Too few words for find command: %s.\n", sub.c_str());
    return;
  }
  const char* y = test == FIND_Attr ? w[k + 2].c_str() : nullptr;
  for (ElemNode* e : FindElements(top, test, w[k + 1].c_str(), y)) PrintHitLine(e);
}

// "id ?", "id I ...", "id -l I ...".
void IdCommand(const Words& w, std::FILE* reports) {
  if (w.size() < 2) return;
  if (!w[1].empty() && w[1][0] == '?') {
    PrintIdList(reports);
    return;
  }
  bool longForm = w[1] == "-l";
  for (size_t i = longForm ? 2 : 1; i < w.size(); ++i) {
    ElemNode* e = FindElementByID(w[i].c_str());
    if (!e) {
      PrintNotFound(w[i]);
    } else if (!longForm) {
      PrintHitLine(e);
    } else {
      if (i != 2) std::printf("\n");
      PrintLocation(e, stdout);
    }
  }
}

// "tran [spec [outfile]]": a translation from the current element.
void TranslateCommand(Variables& vars, const Words& w, ElemNode* current) {
  std::fflush(stdout);
  int fd = 1;
  std::string name = "standard output";
  if (w.size() >= 3) {
    fd = ::open(w[2].c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
      std::perror("Can not open output file");
      return;
    }
    name = w[2];
  }
  OutBuffer out(fd, name);
  TranslateTree(current, w.size() >= 2 ? w[1].c_str() : nullptr, &out, vars);
  bool failed = !out.Flush();
  int err = out.error();
  if (fd != 1) {
    if (::close(fd) != 0 && !failed) {
      failed = true;
      err = errno;
    }
    if (failed)
      std::fprintf(stderr, "%s: error writing output '%s': %s\n", settings.progName.c_str(),
                   name.c_str(), std::strerror(err));
  }
}

void PrintHelp() {
  static const char* const kLines[] = {
      "  ls            List info about current element in tree",
      "                (context, children, attributes, etc.)",
      "  cd N ...      Change to Nth elememt child, where N is shown by 'ls'.",
      "                N may also be '/' (top) or '..' (up).",
      "  cd id I       Change to elememt whose ID is I",
      "  data N        Show data of Nth data node",
      "  where         Show current position in the tree",
      "  id I          Show path to element with id I",
      "                (using '?' for I will lists all IDs and their paths)",
      "  find S        Find elements matching spec S. Recognized syntaxes:",
      "                  find attr <name> <value>",
      "                  find cont <string>",
      "                  find parent <gi-name>",
      "                  find child <gi-name>",
      "                  find gi <gi-name>",
      "  q rel gi      Query: report if elem 'gi' has relation to current elem",
      "                ('rel' is one of 'child parent ancestor descendant",
      "                  sibling sibling+ sibling+1 sibling- sibling-1 cousin')",
      "",
      "  tran file [outfile]",
      "                With trans spec in 'file' translate into 'outfile' (stdout)",
      "  sdata file    Read SDATA map file (for translations).",
      "  cmap file     Read character map file (for translations).",
      "  stat          Print statistics (how often elements occur, etc.)",
      "  sum           Print elem usage summary (# of children, depth, etc.)",
      "  tree          Print document hierarchy as a tree",
      "  cont          Print context of each element",
  };
  for (const char* line : kLines) std::printf("%s\n", line);
}

// Where command lines come from: GNU readline when the user sits at a
// terminal, otherwise plain reads of standard input, whole lines of any
// length, with the prompt written to standard output.
class CommandInput {
 public:
  CommandInput() {
#if QLX_HAVE_READLINE
    useReadline_ = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
    if (useReadline_) rl_readline_name = "qlx";
#endif
  }
  ~CommandInput() { std::free(buf_); }
  CommandInput(const CommandInput&) = delete;
  CommandInput& operator=(const CommandInput&) = delete;

  // Writes the prompt and reads one line (without its newline, cut at a
  // NUL byte as a C string would be); false at end of input.
  bool Read(const char* prompt, std::string* line) {
#if QLX_HAVE_READLINE
    if (useReadline_) {
      std::fflush(stdout);
      char* text = readline(prompt);
      if (!text) return false;
      line->assign(text);
      std::free(text);
      Remember(*line);
      return true;
    }
#endif
    std::fputs(prompt, stdout);
    std::fflush(stdout);
    ssize_t n = getline(&buf_, &cap_, stdin);
    if (n < 0) return false;
    std::string_view text(buf_, size_t(n));
    text = text.substr(0, text.find('\n'));
    text = text.substr(0, text.find('\0'));
    line->assign(text);
    return true;
  }

 private:
#if QLX_HAVE_READLINE
  // Lines with a word go into the history, a repeat of the last one once.
  void Remember(const std::string& line) {
    if (line.find_first_not_of(" \t") == std::string::npos || line == lastRemembered_) return;
    add_history(line.c_str());
    lastRemembered_ = line;
  }
  bool useReadline_ = false;
  std::string lastRemembered_;
#endif
  char* buf_ = nullptr;
  size_t cap_ = 0;
};

// Runs one command line (without its newline).  `current` is the current
// element, which only "cd" changes.  Returns false for "quit".
bool RunCommand(const BrowserSession& session, const std::string& line, ElemNode** current) {
  Variables& vars = session.vars;
  std::vector<std::string_view> views = Split(line, 20, SPLIT_ALLOC);
  if (views.empty()) return true;
  Words w(views.begin(), views.end());
  const std::string& cmd = w[0];
  ElemNode* here = *current;
  // Rows in a fixed order: a row whose word count does not hold passes
  // the word on, so "q", "find", "show" and "set" with too few words end
  // as unknown commands.
  if (cmd == "ls") {
    if (w.size() >= 2 && w[1] == "-n") {
      ListContent(here);
    } else {
      ListElement(here);
    }
  } else if (cmd == "cd") {
    ChangeElement(w, current);
  } else if (cmd == "data") {
    ShowData(w, here);
  } else if (cmd == "where") {
    PrintLocation(here, stdout);
  } else if (cmd == "pwd") {
    PrintHitLine(here);
  } else if (cmd == "q" && w.size() >= 3) {
    QueryRelation(w, here);
  } else if (cmd == "find" && w.size() >= 3) {
    FindCommand(w, here);
  } else if (cmd == "id") {
    IdCommand(w, session.reports);
  } else if (cmd == "show" && w.size() >= 2) {
    // Outside a translation run: no loop value is set.
    Translation outside(vars, nullptr, Diagnostics());
    if (const std::string* value = LookupVariable(outside, w[1])) {
      std::printf("%s\n", value->c_str());
    } else {
      std::printf("Variable '%s' has no value.\n", w[1].c_str());
    }
  } else if (cmd == "set" && w.size() >= 3) {
    SetMapping(&vars, w[1], w[2]);
  } else if (cmd == "sum" || cmd == "tree" || cmd == "stat" || cmd == "cont") {
    // The whole document, or with any further word (even the empty one a
    // trailing blank gives) the current subtree.
    ElemNode* top = w.size() == 1 ? doc.root : here;
    if (cmd == "sum") PrintUsageSummary(top, session.reports);
    if (cmd == "tree") PrintTreeReport(top, session.reports);
    if (cmd == "stat") PrintStatistics(top, session.reports);
    if (cmd == "cont") PrintContextReport(top, session.reports);
  } else if (cmd == "tran") {
    TranslateCommand(vars, w, here);
  } else if (cmd == "sdata" || cmd == "cmap") {
    if (w.size() < 2) {
      std::fprintf(stderr, "Missing file name - '%s' ignored.\n", cmd.c_str());
    } else if (cmd == "sdata") {
      LoadSdataMap(w[1]);
      settings.sdataMapNamed = true;
    } else {
      LoadCharMap(w[1]);
      settings.charMapNamed = true;
    }
  } else if (cmd == "help" || cmd[0] == '?') {
    PrintHelp();
  } else if (cmd == "quit") {
    return false;
  } else {
    std::fprintf(stderr, "Unknown command '%s' - ingored.\n", cmd.c_str());
  }
  return true;
}

}  // namespace

bool RunBrowserCommand(const BrowserSession& session, const std::string& line, ElemNode** current) {
  return RunCommand(session, line, current);
}

void RunBrowser(const BrowserSession& session) {
  ElemNode* current = doc.root;
  if (!current) return;
  const char* prompt = settings.promptNewline ? "=>\n" : "=> ";
  CommandInput input;
  std::string line;
  while (input.Read(prompt, &line) && RunCommand(session, line, &current)) {
  }
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace qlx
