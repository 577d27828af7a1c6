// The run settings: one process-wide record that start-up and the options
// fill and that every subsystem reads (the warning and verbose levels,
// case folding, the library directories, ...).
#pragma once

#include <cstdio>
#include <string>

// The library directory searched when QLX_LIB is not set: the installed
// library, <prefix>/share/sgml/otranspec, as the build configures it.
#ifndef QLX_DEFAULT_LIB_DIR
#define QLX_DEFAULT_LIB_DIR "/usr/local/share/sgml/otranspec"
#endif

namespace qlx {

struct RunSettings {
  std::string progName = "qlx";
  const char* transpecFile = nullptr;
  const char* subtreeId = nullptr;
  const char* sdataMapFile = nullptr;
  const char* charMapFile = nullptr;
  // A map of that kind was named by -s or -c or by the browser's sdata or
  // cmap command: the maps a spec file names for itself are not loaded.
  bool sdataMapNamed = false, charMapNamed = false;
  bool validate = false;
  const char* outFile = nullptr;
  bool reportUsage = false, reportTree = false, reportStats = false,
       reportContext = false, reportIds = false;
  std::string libDir = QLX_DEFAULT_LIB_DIR;
  int verbose = 0;
  int warnings = 1;
  int foldcase = 1;
  int promptNewline = 0;
  bool esisDataFix = false;
  // Entries with more data characters than this become tbl text blocks
  // (-f); without -f the run's variable _textblock tells (a spec may set
  // it for each table), and unset, it is 35.
  int textBlockThreshold = 35;
  bool textBlockThresholdNamed = false;  // -f was given: _textblock is ignored
  const char* inputPath = nullptr;
  int browse = 0;
};

extern RunSettings settings;

}  // namespace qlx
