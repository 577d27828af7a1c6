// The interactive browser (-b): a line-oriented command loop over the
// finished document tree.  The user moves a current element through the
// tree, lists what it holds, searches, queries relations, prints the
// reports for the document or a subtree, sets and shows global variables,
// loads the SDATA and character maps and runs translations.
//
// Answers go to standard output, complaints about unknown commands to
// standard error; the reports go to settings.outStream.  When standard
// input and output are both terminals (and the build has GNU readline)
// command lines are read with line editing and a history; otherwise the
// prompt is written to standard output and lines are read as they come,
// whole, whatever their length.
#pragma once

namespace qlx {

// Runs the command loop from settings.docRoot until end of input or
// "quit", then writes a newline.
void RunBrowser();

}  // namespace qlx
