// The interactive browser (-b): a line-oriented command loop over the
// finished document tree.  The user moves a current element through the
// tree, lists what it holds, searches, queries relations, prints the
// reports for the document or a subtree, sets and shows variables,
// loads the SDATA and character maps and runs translations.
//
// Answers go to standard output, complaints about unknown commands to
// standard error; the reports go to settings.outStream.  When standard
// input and output are both terminals (and the build has GNU readline)
// command lines are read with line editing and a history; otherwise the
// prompt is written to standard output and lines are read as they come,
// whole, whatever their length.
#pragma once

#include <string>

namespace qlx {

struct ElemNode;
struct Variables;

// Runs the command loop from doc.root until end of input or "quit", then
// writes a newline.  `vars` are the variables that set and show use and
// that every translation starts from (and changes).
void RunBrowser(Variables& vars);

// Runs one command line (without its newline) as the command loop does,
// with *current as the current element (only "cd" changes it).  Returns
// false for "quit".  For callers that bring their own lines (the fuzzer).
bool RunBrowserCommand(Variables& vars, const std::string& line, ElemNode** current);

}  // namespace qlx
