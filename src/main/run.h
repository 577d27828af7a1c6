// Run control: the command line, the start-up defaults and the run
// sequence (read the ESIS input, then browse, or translate and report).
#pragma once

namespace qlx {

struct VarTable;

// Runs the whole program for the given argument vector and returns the
// exit status; fatal conditions end the process through Fatal().
int RunMain(int argc, char** argv);

// Writes the usage text to standard output.
void PrintUsage();

// One -D argument, "name=value": stored in `variables`, or for the names
// verbose, warnings and foldcase, into the run setting.
void AssignVariable(VarTable* variables, const char* arg);

}  // namespace qlx
