// The interactive browser (-b): a line-oriented command loop over the
// finished document tree.  The user moves a current element through the
// tree, lists what it holds, searches, queries relations, prints the
// reports for the document or a subtree, sets and shows variables,
// loads the SDATA and character maps and runs translations.
//
// Answers go to standard output, complaints about unknown commands to
// standard error; the reports go to the session's report stream.  When standard
// input and output are both terminals (and the build has GNU readline)
// command lines are read with line editing and a history; otherwise the
// prompt is written to standard output and lines are read as they come,
// whole, whatever their length.
#pragma once

#include <cstdio>
#include <string>

namespace qlx {

struct ElemNode;
struct Variables;

// What a browser session works with besides the document.
struct BrowserSession {
  // The variables that set and show use, and that every translation
  // starts from (and changes).
  Variables& vars;
  // Where the reports (sum, tree, stat, cont, "id ?") go.
  std::FILE* reports;
};

// Runs the command loop from doc.root until end of input or "quit", then
// writes a newline.
void RunBrowser(const BrowserSession& session);

// Runs one command line (without its newline) as the command loop does,
// with *current as the current element (only "cd" changes it).  Returns
// false for "quit".  For callers that bring their own lines (the fuzzer).
bool RunBrowserCommand(const BrowserSession& session, const std::string& line, ElemNode** current);

}  // namespace qlx
