#include "main/run.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "browse/browser.h"
#include "doc/esis.h"
#include "doc/query.h"
#include "doc/tree.h"
#include "doc/xml.h"
#include "info/reports.h"
#include "output/maps.h"
#include "translate/parallel.h"
#include "translate/translate.h"
#include "util/fatal.h"
#include "util/linereader.h"
#include "util/outbuf.h"
#include "util/settings.h"
#include "util/split.h"
#include "util/vartable.h"

namespace qlx {
namespace {

const char* const kOptions = "+df:t:vc:s:o:huSxIl:bHVWi:D:Z";

// A write to a closed pipe must fail with EPIPE and be reported, not kill
// the process.  A handler (unlike SIG_IGN) is reset for the commands that
// spec texts run, so they keep the default behaviour.
void OnSigpipe(int) {}

void SetStartupVariables(VarTable* vars) {
  const char* user = std::getenv("USER");
  SetMapping(vars, "user", user ? user : "UnknownUser");
  char buf[100];
  std::time_t now = std::time(nullptr);
  if (std::strftime(buf, sizeof buf, "%a %d %b %Y, %R", std::localtime(&now)) == 0) buf[0] = '\0';
  SetMapping(vars, "date", buf);
  if (gethostname(buf, sizeof buf) != 0) std::strcpy(buf, "unknown-host");
  buf[sizeof buf - 1] = '\0';
  SetMapping(vars, "host", buf);
  SetMapping(vars, "transpec", "??");
}

}  // namespace

// The first "=" becomes a blank, and the text splits into a name and the
// rest (leading blanks skipped, inner and trailing blanks kept).
void AssignVariable(VarTable* variables, const char* arg) {
  std::string text = arg;
  size_t eq = text.find('=');
  if (eq == std::string::npos) {
    std::fprintf(stderr, "Expected an '=' in variable assignment: %s. Ignored\n", arg);
    return;
  }
  text[eq] = ' ';
  std::vector<std::string_view> words = Split(text, 2);
  if (words.empty()) return;
  if (words.size() == 1) {
    SetMapping(variables, words[0], nullptr);
  } else {
    SetMapping(variables, words[0], words[1]);
  }
}

namespace {

void ParseOptions(int argc, char** argv, VarTable* vars) {
  int c;
  while ((c = getopt(argc, argv, kOptions)) != -1) {
    switch (c) {
      case 't': settings.transpecFile = optarg; break;
      case 's': settings.sdataMapFile = optarg; settings.sdataMapNamed = true; break;
      case 'c': settings.charMapFile = optarg; settings.charMapNamed = true; break;
      case 'v': settings.validate = true; break;
      case 'i': settings.subtreeId = optarg; break;
      case 'b': settings.browse = 1; break;
      case 'S': settings.reportStats = true; break;
      case 'u': settings.reportUsage = true; break;
      case 'x': settings.reportContext = true; break;
      case 'h': settings.reportTree = true; break;
      case 'o': settings.outFile = optarg; break;
      case 'l': settings.libDir = optarg; break;
      case 'I': settings.reportIds = true; break;
      case 'W': settings.warnings = 0; break;
      case 'V': settings.verbose = 1; break;
      case 'H':
        PrintUsage();
        std::fflush(stdout);
        std::exit(0);
      case 'D': AssignVariable(vars, optarg); break;
      case 'Z': settings.promptNewline = 1; break;
      case 'd': settings.esisDataFix = true; break;
      case 'f':
        settings.textBlockThreshold = std::atoi(optarg);
        settings.textBlockThresholdNamed = true;
        break;
      default:
        std::fprintf(stderr, "Try '%s -H' for help.\n", settings.progName.c_str());
        Fatal(1);
    }
  }
}

// Flushes and closes the output stream `out` (null: none; `output`: the
// translation's buffer on it, if any); a write that failed on the way (a
// full disk, a closed pipe) is reported and makes the run fail.
int FinishOutput(std::FILE* out, OutBuffer* output) {
  const char* name = settings.outFile ? settings.outFile : "standard output";
  if (!out) return 0;
  bool failed = false;
  int err = 0;
  if (output && !output->Flush()) {
    failed = true;
    err = output->error();
  }
  if (std::fflush(out) != 0 || std::ferror(out)) {
    if (!failed) err = errno;
    failed = true;
  }
  if (settings.outFile) {
    if (std::fclose(out) != 0 && !failed) {
      failed = true;
      err = errno;
    }
  }
  if (failed) {
    std::fprintf(stderr, "%s: error writing output '%s': %s\n", settings.progName.c_str(), name,
                 std::strerror(err));
    return 1;
  }
  return 0;
}

// The first bytes of the input: at least one that is not white space (or
// a byte-order mark), unless the input ends before.  A read error is left
// for the reader to meet again.
std::string ReadHead(int fd) {
  std::string head;
  char buf[4096];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return head;
    head.append(buf, size_t(n));
    size_t i = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF\xFF\xFE");
    if (i != std::string::npos && head.size() >= 4) return head;
  }
}

}  // namespace

void PrintUsage() {
  static const char* const lines[] = {
      "  -t file   Print translated output using translation spec in <file>",
      "  -s file   <file> contains a list of SDATA entity mappings",
      "  -c file   <file> contains a list of character mappings",
      "  -v        Validate using translation spec specified with -t",
      "  -i id     Consider only subtree starting at element with ID <id>",
      "  -b        Interactive browser",
      "  -S        Print statistics (how often elements occur, etc.)",
      "  -u        Print element usage summary (# of children, depth, etc.)",
      "  -x        Print context of each element",
      "  -h        Print document hierarchy as a tree",
      "  -o file   Write output to <file>.  Default is standard output.",
      "  -l dir    Set library directory to <dir>. (or env. variable QLX_LIB)",
      "  -I        List all IDs used in the instance",
      "  -W        Do not print warning messages",
      "  -H        Print this help message",
      "  -Dvar=val Set variable 'var' to value 'val'",
      "  file      Take input from named file.  If not specified, assume stdin.",
      "            File should be output from the 'sgmls' program (ESIS).",
  };
  std::printf("usage: %s [option ...] [file]\n", settings.progName.c_str());
  for (const char* line : lines) std::printf("%s\n", line);
  std::printf("\nVersion: %s\n", QLX_VERSION);
}

namespace {

// Defaults, the start-up variables (into `vars`), the options and the
// input name.
void Configure(int argc, char** argv, Variables& vars) {
  settings.progName = argc > 0 && argv[0] ? argv[0] : "qlx";
  if (const char* lib = std::getenv("QLX_LIB")) settings.libDir = lib;
  // QLX_THREADS=1 keeps the reading and the translation on one thread.
  if (const char* threads = std::getenv("QLX_THREADS")) aheadSettings.threads = std::atoi(threads);
  settings.warnings = 1;
  settings.foldcase = 1;
  SetStartupVariables(&vars);
  ParseOptions(argc, argv, &vars);
  if (optind < argc) settings.inputPath = argv[optind];
  // The browser needs a named input: its commands come on stdin.
  if (settings.browse && !settings.inputPath) {
    std::fputs("You must specify ESIS file on cmd line for browser mode.\n", stderr);
    Fatal(1);
  }
  SetMapping(&vars, "transpec", settings.transpecFile ? settings.transpecFile : "??");
}

// Opens the output: -o's file, else standard output.
std::FILE* OpenOutput() {
  if (!settings.outFile) return stdout;
  std::FILE* out = std::fopen(settings.outFile, "w");
  if (!out) {
    int err = errno;
    std::string text = strerror(err);
    std::fprintf(stderr, "Could not open output '%s' file for writing.\n%s", settings.outFile,
                 text.c_str());
    Fatal(1);
  }
  return out;
}

// Reads the document (the named input, else standard input) into doc;
// counts the files it includes that could not be read in *unreadFiles.
void ReadDocument(int* unreadFiles) {
  int fd = 0;
  if (settings.inputPath) {
    fd = ::open(settings.inputPath, O_RDONLY);
    if (fd < 0) {
      std::perror(settings.inputPath);
      Fatal(1);
    }
    doc.currentFileName = doc.arena.Copy(settings.inputPath);
  } else {
    doc.currentFileName = nullptr;
  }
  // XML or ESIS, told by the first bytes that are not white space.
  std::string head = ReadHead(fd);
  if (LooksLikeXml(head)) {
    // The parsing on a second thread, unless there is one processor or
    // QLX_THREADS=1.
    const bool threaded = aheadSettings.threads != 1 && std::thread::hardware_concurrency() > 1;
    doc.root = ReadXML(fd, head, settings.inputPath, threaded, unreadFiles);
  } else {
    LineReader in(fd, head);
    EsisReadOptions options;
    if (aheadSettings.threads == 1) options.threads = EsisReadOptions::Threads::kNever;
    doc.root = ReadESIS(in, settings.inputPath, options);
  }
  if (settings.inputPath) ::close(fd);
  doc.arena.Trim();
  doc.textArena.Trim();
}

// The translation, on the element named with -i or the root, with the
// maps of the options (SDATA first) and the variables `vars`; without
// output when validating (the caller then has no output stream).
// Returns the number of files it needed and could not read.
int TranslateDocument(Variables& vars, OutBuffer* output) {
  ElemNode* top = doc.root;
  if (settings.subtreeId) {
    top = FindElementByID(settings.subtreeId);
    if (!top) {
      std::fprintf(stderr, "Error: Can not find element with ID %s\n", settings.subtreeId);
      Fatal(1);
    }
  }
  int unread = 0;
  if (settings.sdataMapFile) unread += !LoadSdataMap(settings.sdataMapFile);
  if (settings.charMapFile) unread += !LoadCharMap(settings.charMapFile);
  if (settings.validate) {
    OutBuffer none = OutBuffer::Discarding();
    unread += TranslateTree(top, settings.transpecFile, &none, vars);
  } else {
    unread += TranslateTree(top, settings.transpecFile, output, vars);
    output->Flush();  // the reports follow on the stream; a failure is reported at the end
  }
  return unread;
}

// The reports, always in this order and always on the whole document, to
// the output stream `out`.  After validation (-v) there is none; the
// reports then go to standard output.
void WriteReports(std::FILE* out) {
  std::FILE* reports = out ? out : stdout;
  if (settings.reportUsage) PrintUsageSummary(doc.root, reports);
  if (settings.reportTree) PrintTreeReport(doc.root, reports);
  if (settings.reportStats) PrintStatistics(doc.root, reports);
  if (settings.reportContext) PrintContextReport(doc.root, reports);
  if (settings.reportIds) PrintIdList(reports);
  if (reports != out && (std::fflush(reports) != 0 || std::ferror(reports))) {
    std::fprintf(stderr, "%s: error writing output '%s': %s\n", settings.progName.c_str(),
                 "standard output", std::strerror(errno));
    Fatal(1);
  }
}

}  // namespace

int RunMain(int argc, char** argv) {
  InstallOutOfMemoryHandler();
  std::signal(SIGPIPE, OnSigpipe);
  // The variables of the whole process: the browser's translations share
  // them.
  Variables vars;
  Configure(argc, argv, vars);
  std::FILE* out = OpenOutput();
  // The translation writes through a buffer of its own, in large blocks (a
  // translation writes many megabytes); to a terminal at the end of every
  // text.  The reports write to the stream after it.  A fatal stop writes
  // what the buffer holds (OutBuffer::FlushAll).
  const int outFd = fileno(out);
  const bool terminal = isatty(outFd);
  OutBuffer output(outFd, settings.outFile ? settings.outFile : "standard output", size_t(1) << 18,
                   terminal);
  if (!terminal) std::setvbuf(out, nullptr, _IOFBF, size_t(1) << 18);
  // Files the document or the translation needed and could not read.
  // Each was reported where it failed and the run went on without it; the
  // run then ends with status 1, so that a build does not take the
  // incomplete output for a result.
  int unreadFiles = 0;
  ReadDocument(&unreadFiles);
  // The browser takes over; neither translation nor reports run.
  if (settings.browse) {
    RunBrowser(BrowserSession{vars, out});
    return FinishOutput(out, &output);
  }
  if (settings.transpecFile) {
    unreadFiles += TranslateDocument(vars, &output);
    if (settings.validate) out = nullptr;
  }
  WriteReports(out);
  // A file the translation needed but could not read fails the run, now
  // that everything it could do is done.
  int status = FinishOutput(out, &output);
  return status == 0 && unreadFiles > 0 ? 1 : status;
}

}  // namespace qlx
