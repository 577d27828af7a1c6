// Translation on two threads.  The main thread walks the top of the tree
// and writes the output in order; a second thread translates the runs of
// content that follow ahead of it, each into a buffer of its own, and the
// main thread copies a buffer out when the walk reaches its run.
//
// Work ahead is used only where it cannot differ from a plain run: the
// spec list must not change anything that later text reads (no Set or
// Increment, no special call but those that only read and unknown names,
// which only write a message, no text whose expansion could form another
// call, no variable value that could form a call, and no SDATA map whose
// use could run a command).  Messages are recorded and replayed.
//
// A run translated ahead is recorded: its output into a memory buffer
// whose column is unknown at the start, its messages each at its position
// in that output, and a fatal stop as a marker at the end.  What a plain
// run would write only where the line already holds text (a caret, the
// blank before data that _blanks gathers), met before anything has set
// the column, is recorded as written there and listed as held only for
// such a line.  Named actions nested deep move to a large stack as in a
// plain run.  When the walk reaches the run, the main thread replays the
// record: at the start of a line without the text held for a line with
// text, the messages written in their places, the fatal stop made.
// Nothing is translated twice, except a run whose output passed the size
// limit (a bound on memory), which is dropped whole and translated in its
// turn, and a run that failed as a plain run would fail too (memory
// exhausted where failed allocations throw, see TranslateAhead).
// Every element a run finishes is marked processed when its buffer is
// taken, as a plain run would have marked it.
#pragma once

#include "translate/context.h"
#include "util/outbuf.h"

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

#include <pthread.h>
#include <vector>

namespace qlx {

struct ElemNode;
struct TranSpec;

// A second thread with a stack as large as the main thread's.  The exit of
// the program stops it (through `stop`) and waits for it, so that exit()
// never destroys what it reads; one runs at a time.
class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Runs body(arg); false when no thread could be started.
  bool Start(void* (*body)(void*), void* arg, void (*stop)(void*));
  // Calls stop(arg) and waits for the thread (nothing when none runs).
  void Join();

 private:
  pthread_t thread_{};
  bool started_ = false;
  void (*stop_)(void*) = nullptr;
  void* arg_ = nullptr;
};

// Gives every element of the subtree its spec, as AssignSpecs does, with
// the second half matched on a second thread where that is allowed (a
// document of minElements or more, every "Action:" target there).  A
// message on that thread gives up the rest of its half, which the main
// thread matches in its turn, after its own half, so messages keep their
// document order.
void AssignSpecsInParallel(Translation& t, ElemNode* top);

// Whether the translation's spec list allows work ahead (see above).
bool SpecsAllowWorkAhead(const Translation& t);

// How work ahead is planned: the tests set small sizes.
struct AheadSettings {
  int threads = 0;              // threads in all; 0: the machine's cores, at most 2
  int minElements = 20000;      // smaller subtrees are translated plainly
  int chunkElements = 0;        // elements in a run; 0: chosen by the size
  int window = 8;               // runs that may be translated ahead of the walk
  int maxRetries = 16;          // runs dropped (too large) before work ahead stops
  // The most a run translated ahead may write.  A run that writes more (a
  // spec that copies much of the document for each element, say) is
  // dropped and translated in its turn, straight to the output, so that work
  // ahead never holds more than about the window times this.
  size_t maxChunkBytes = size_t(8) << 20;
  // For tests, which must see the same paths however the threads run: the
  // main thread too translates every run into a buffer before writing it.
  bool alwaysAhead = false;
};

extern AheadSettings aheadSettings;

// One run of content: items [first, last) of `parent`, translated with the
// parent's spec, and what translating it ahead produced.
struct AheadChunk {
  ElemNode* parent = nullptr;
  TranSpec* spec = nullptr;
  int first = 0, last = 0;
  // Filled ahead:
  int state = 0;               // see AheadTranslator::State
  OutBuffer out;               // the output
  OutBuffer messages;          // the messages, following `out`
  int fatalStatus = -1;        // a fatal stop ended the run (its status)
  std::vector<int> finished;   // serials of the elements it finished
};

// Splits the subtree under `top` into runs: an element whose subtree holds
// more than `chunkElements` elements is walked by the main thread (its
// content is split further); the other items of its content are grouped
// into runs of about `chunkElements` elements.  The runs follow the walk's
// own rules: the content of a replaced or wholly ignored element is not
// visited, and the children of an element that ignores them are not
// counted.  Runs are in document order.
std::vector<AheadChunk> PlanChunks(const Translation& t, ElemNode* top, int chunkElements);

class AheadTranslator {
 public:
  enum State { kFree, kClaimed, kDone, kAbandoned };

  // A translator for the walk of `top` writing to `stream`, or null when
  // the work would not pay or is not allowed (the specs, the size, one
  // core, no stream).  Its thread starts at once.
  static std::unique_ptr<AheadTranslator> Plan(Translation& t, ElemNode* top, OutBuffer* stream);

  // Starts the thread (without one, every run is translated in its turn).
  AheadTranslator(Translation& walk, std::vector<AheadChunk> chunks);
  ~AheadTranslator();  // stops and joins the thread
  AheadTranslator(const AheadTranslator&) = delete;
  AheadTranslator& operator=(const AheadTranslator&) = delete;

  // Whether the walk has reached the next run: item `item` of `elem`.
  bool At(const ElemNode* elem, int item) const {
    return next_ < chunks_.size() && chunks_[next_].parent == elem && chunks_[next_].first == item;
  }

  // Writes the next run to `stream` (its buffer, or translated now) and
  // returns the item after it.
  int Write(OutBuffer* stream);

  // Stops the thread after the run it is at, and waits for it.
  void StopThread();

 private:
  static void* ThreadMain(void* self);
  static void RequestStop(void* self);
  // Claims the next free run within the window (mutex held); -1: none.
  long ClaimAhead();
  // Translates run k into its buffer (mutex not held).
  void TranslateAhead(AheadChunk& c);

  Translation& walk_;  // the translation of the walk; each run ahead has its own
  std::vector<AheadChunk> chunks_;
  size_t next_ = 0;      // the next run to write
  size_t nextFree_ = 0;  // the first run nobody has claimed
  bool stop_ = false;
  size_t taken_ = 0, retried_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<OutBuffer> spare_;  // buffers of runs already written, for reuse
  WorkerThread worker_;
};

}  // namespace qlx
