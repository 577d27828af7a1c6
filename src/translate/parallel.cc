#include "translate/parallel.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include <sys/resource.h>
#include <unistd.h>

#include "doc/tree.h"
#include "output/emit.h"
#include "translate/links.h"
#include "translate/match.h"
#include "translate/special.h"
#include "translate/translate.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {

AheadSettings aheadSettings;

namespace {

// Whether the text can make no call that may not run ahead.  Its calls are
// the "${_name ...}" it holds, by a name written out in full (the table of
// special variables says which may run ahead), and any "${" its expansion
// forms, which calls what follows the character after the brace.  The
// expansion forms none where every other '$' starts a variable reference
// with no '$' inside (a default text is written as it stands) or is
// followed by neither '{' nor '$' (a '$' before a reference would form one
// with a value that starts with a brace).
bool CallsAreHarmless(const std::string& text) {
  for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + 1)) {
    if (at + 1 == text.size()) break;
    if (text[at + 1] == '$') return false;
    if (text[at + 1] != '{') continue;
    if (at + 2 < text.size() && text[at + 2] == '_') {
      size_t end = at + 3;
      while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) ++end;
      // Without a name the call is what follows the blanks.
      if (end == at + 3) return false;
      // Left open at the end of the text, the call is made with what it holds.
      if (end < text.size()) {
        const char after = text[end];
        if (after != '}' && after != ' ' && after != '\t' && after != '\n') return false;
      }
      if (!SpecialCallMayRunAhead(std::string_view(text.data() + at + 3, end - at - 3))) return false;
      continue;
    }
    // A variable reference, up to its matching '}'.
    int depth = 0;
    size_t end = at + 2;
    for (; end < text.size(); ++end) {
      if (text[end] == '$') return false;
      if (text[end] == '{') ++depth;
      else if (text[end] == '}' && depth-- == 0) break;
    }
    if (end == text.size()) return false;
    at = end;
  }
  return true;
}

bool TextIsHarmless(const OptText& text) { return !text || CallsAreHarmless(*text); }

// Whether the walk visits the content of an element with this spec.
bool ContentVisited(const TranSpec* s) { return !s->replace && !s->quit && s->ignore != IGNORE_All; }

// The worker whose thread runs, for the stop at exit.
WorkerThread* running = nullptr;

// exit() must not destroy what the thread reads while it runs.
void StopAtExit() {
  if (running) running->Join();
}

size_t ThreadStackSize() {
  size_t size = size_t(64) << 20;
  struct rlimit limit;
  if (getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      limit.rlim_cur > size)
    size = limit.rlim_cur;
  return size;
}

int ThreadsToUse() {
  if (aheadSettings.threads > 0) return aheadSettings.threads;
  return sysconf(_SC_NPROCESSORS_ONLN) >= 2 ? 2 : 1;
}

}  // namespace

bool WorkerThread::Start(void* (*body)(void*), void* arg, void (*stop)(void*)) {
  if (started_ || running) return false;  // one worker at a time
  static bool stopRegistered = false;
  if (!stopRegistered) stopRegistered = std::atexit(StopAtExit) == 0;
  if (!stopRegistered) return false;  // without the stop, no thread
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return false;
  pthread_attr_setstacksize(&attr, ThreadStackSize());
  started_ = pthread_create(&thread_, &attr, body, arg) == 0;
  pthread_attr_destroy(&attr);
  if (!started_) return false;
  stop_ = stop;
  arg_ = arg;
  running = this;
  return true;
}

void WorkerThread::Join() {
  if (!started_) return;
  stop_(arg_);
  pthread_join(thread_, nullptr);
  started_ = false;
  if (running == this) running = nullptr;
}

namespace {

// Work ahead reads SDATA replacements from the map alone (see emit.cc):
// that gives what the main thread's table of substitutions made gives when
// no replacement runs a command when it is recorded (a "!" value whose
// command failed when the map was read), and the table holds the map's
// values.
bool SdataMapAllowsWorkAhead() {
  if (!output.sdataMap) return true;
  for (const VarEntry& entry : output.sdataMap->entries)
    if (entry.hasValue && !entry.value.empty() && entry.value[0] == '!') return false;
  if (output.sdataUsed)
    for (const VarEntry& used : output.sdataUsed->entries) {
      if (!used.hasValue) continue;
      const VarEntry* mapped = LookupVarEntry(output.sdataMap, used.name);
      if (!mapped || !mapped->hasValue || mapped->value != used.value) return false;
    }
  return true;
}

}  // namespace

bool SpecsAllowWorkAhead(const Translation& t) {
  if (!SdataMapAllowsWorkAhead()) return false;
  for (const auto& owned : t.run.specs.specs) {
    const TranSpec& s = *owned;
    if (s.setVars || s.incrementVars) return false;
    if (s.action > 0 && !FindSpecById(t.run.specs, s.action)) return false;
    if (!TextIsHarmless(s.startText) || !TextIsHarmless(s.endText) || !TextIsHarmless(s.replace) ||
        !TextIsHarmless(s.message))
      return false;
  }
  // A variable's value becomes spec text where it is used.
  for (const VarEntry& entry : t.vars.entries)
    if (entry.hasValue && entry.value.find_first_of("${") != std::string::npos) return false;
  return true;
}

std::vector<AheadChunk> PlanChunks(const Translation& t, ElemNode* top, int chunkElements) {
  std::vector<AheadChunk> chunks;
  TranSpec* topSpec = SpecToUse(t, top);
  if (!ContentVisited(topSpec)) return chunks;
  struct Level {
    ElemNode* elem;
    TranSpec* spec;
    int next;
    int runStart;
    long runSize;
  };
  std::vector<Level> stack{Level{top, topSpec, 0, -1, 0}};
  auto closeRun = [&chunks](Level& level) {
    if (level.runStart < 0) return;
    AheadChunk c;
    c.parent = level.elem;
    c.spec = level.spec;
    c.first = level.runStart;
    c.last = level.next;
    chunks.push_back(std::move(c));
    level.runStart = -1;
    level.runSize = 0;
  };
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.elem->contentCount) {
      closeRun(level);
      stack.pop_back();
      continue;
    }
    const ContentItem& item = level.elem->items()[level.next];
    long weight = 1;
    if (item.kind() == '(' && level.spec->ignore != IGNORE_Children) {
      ElemNode* child = item.elem();
      weight = long(SubtreeEnd(child) - child->serial);
      if (weight > chunkElements) {
        // Walked by the main thread: its content is split in turn.
        closeRun(level);
        ++level.next;
        TranSpec* childSpec = SpecToUse(t, child);
        if (ContentVisited(childSpec)) stack.push_back(Level{child, childSpec, 0, -1, 0});
        continue;
      }
    }
    if (level.runStart < 0) level.runStart = level.next;
    level.runSize += weight;
    ++level.next;
    if (level.runSize >= chunkElements) closeRun(level);
  }
  return chunks;
}

std::unique_ptr<AheadTranslator> AheadTranslator::Plan(Translation& t, ElemNode* top, OutBuffer* stream) {
  t.run.aheadStats = AheadStats{};
  if (!stream || !top) return nullptr;
  if (ThreadsToUse() < 2) return nullptr;
  const long elements = long(SubtreeEnd(top) - top->serial);
  if (elements < aheadSettings.minElements) return nullptr;
  if (!SpecsAllowWorkAhead(t)) return nullptr;
  int chunkElements = aheadSettings.chunkElements;
  if (chunkElements <= 0) chunkElements = int(std::clamp(elements / 1024, 256L, 65536L));
  std::vector<AheadChunk> chunks = PlanChunks(t, top, chunkElements);
  if (chunks.size() < 2) return nullptr;
  // What the walk would otherwise set up on first use, set up now, while
  // only this thread runs.
  ResolveActions(t.run.specs);
  LinkAttributeNames(t);
  if (t.run.processed.size() < size_t(doc.nextSerial)) t.run.processed.resize(size_t(doc.nextSerial));
  return std::make_unique<AheadTranslator>(t, std::move(chunks));
}

AheadTranslator::AheadTranslator(Translation& walk, std::vector<AheadChunk> chunks)
    : walk_(walk), chunks_(std::move(chunks)) {
  worker_.Start(ThreadMain, this, RequestStop);
}

AheadTranslator::~AheadTranslator() {
  StopThread();
  walk_.run.aheadStats = AheadStats{chunks_.size(), taken_, retried_, spare_.size()};
}

void AheadTranslator::RequestStop(void* self) {
  auto* t = static_cast<AheadTranslator*>(self);
  {
    std::lock_guard<std::mutex> lock(t->mutex_);
    t->stop_ = true;
  }
  t->changed_.notify_all();
}

void AheadTranslator::StopThread() { worker_.Join(); }

long AheadTranslator::ClaimAhead() {
  if (stop_ || nextFree_ >= chunks_.size() || nextFree_ >= next_ + size_t(aheadSettings.window))
    return -1;
  const size_t k = nextFree_++;
  chunks_[k].state = kClaimed;
  return long(k);
}

void* AheadTranslator::ThreadMain(void* self) {
  auto* t = static_cast<AheadTranslator*>(self);
  std::unique_lock<std::mutex> lock(t->mutex_);
  for (;;) {
    const long k = t->ClaimAhead();
    if (k >= 0) {
      AheadChunk& c = t->chunks_[size_t(k)];
      lock.unlock();
      t->TranslateAhead(c);
      lock.lock();
      t->changed_.notify_all();
      continue;
    }
    if (t->stop_ || t->nextFree_ >= t->chunks_.size()) break;
    t->changed_.wait(lock);
  }
  return nullptr;
}

// Runs with the mutex released; the state is published by the caller's
// notify, under the mutex (state is written here only under it).
void AheadTranslator::TranslateAhead(AheadChunk& c) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!spare_.empty()) {
      c.out = std::move(spare_.back());
      spare_.pop_back();
    }
  }
  c.out.Clear();
  c.out.SetLimit(aheadSettings.maxChunkBytes);
  c.out.column = OutBuffer::kUnknownColumn;  // known where the record is copied out
  c.messages.Clear();
  c.messages.Follow(&c.out);
  c.messages.columnOwner = &c.out;
  c.out.readOnlyTables = c.messages.readOnlyTables = true;
  c.out.messages = c.messages.messages = &c.messages;
  c.fatalStatus = -1;
  c.finished.clear();
  bool ok = true;
  {
    Translation ahead(walk_, &c.out, &c.messages, &c.finished);
    ahead.nesting = 1;  // as inside the top element
    try {
      TranslateItems(ahead, c.parent, c.spec, c.first, c.last, &c.out);
    } catch (const FatalStop& stop) {
      c.fatalStatus = stop.status;  // replayed after the output before it
    } catch (...) {
      // Only a failure a plain run meets as well: where failed allocations
      // throw instead of ending the process (no new-handler installed, as
      // in a library use), std::bad_alloc or std::length_error, or what a
      // fatal handler that throws throws.  The run is dropped and
      // translated in its turn, where the main thread meets the same
      // failure, or writes what a plain run writes if memory has been
      // freed meanwhile.
      ok = false;
    }
  }
  if (c.out.overflowed()) ok = false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (ok) {
    c.state = kDone;
  } else {
    if (spare_.size() <= size_t(aheadSettings.window)) spare_.push_back(std::move(c.out));
    c.state = kAbandoned;
  }
}

namespace {

using MidLineText = OutBuffer::MidLineText;

// Copies text[*at, to) to `sink`, less what the spans from *next on cover
// ([span.*from, span.*end)); a text of messages is written whole messages
// at a time.
void CopyLeavingOut(std::string_view text, size_t to, std::span<const MidLineText> spans,
                    size_t MidLineText::*from, size_t MidLineText::*end, size_t* at, size_t* next,
                    OutBuffer* sink, bool messages) {
  auto put = [&](size_t a, size_t b) {
    sink->Put(text.substr(a, b - a));
    if (messages) sink->Done();
  };
  for (; *next < spans.size() && spans[*next].*from < to; ++*next) {
    if (spans[*next].*from > *at) put(*at, spans[*next].*from);
    *at = std::max(*at, spans[*next].*end);
  }
  if (to > *at) put(*at, to);
  *at = std::max(*at, to);
}

// Copies a run's record into the output: its bytes and its messages in
// their places, where the output is at the start of a line without what
// the record holds only for a line that already holds text.
void Replay(AheadChunk& c, OutBuffer* stream, OutBuffer* messagesOut) {
  const std::string_view text = c.out.text();
  const std::string_view messages = c.messages.text();
  std::span<const MidLineText> left;
  if (stream->column == 0) left = c.out.midLineOnly;
  size_t written = 0, messagesAt = 0, nextOut = 0, nextMessages = 0;
  auto copyOutput = [&](size_t to) {
    CopyLeavingOut(text, to, left, &MidLineText::from, &MidLineText::to, &written, &nextOut, stream, false);
  };
  auto copyMessages = [&](size_t to) {
    CopyLeavingOut(messages, to, left, &MidLineText::messagesFrom, &MidLineText::messagesTo, &messagesAt,
                   &nextMessages, messagesOut, true);
  };
  for (const OutBuffer::Mark& mark : c.messages.marks()) {
    copyOutput(mark.outputAt);
    copyMessages(mark.messagesEnd);
  }
  copyOutput(text.size());
  copyMessages(messages.size());
  if (c.out.column != OutBuffer::kUnknownColumn) stream->column = c.out.column;
  stream->Done();
}

}  // namespace

int AheadTranslator::Write(OutBuffer* stream) {
  AheadChunk& c = chunks_[next_];
  bool inTurn = false;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (c.state == kFree && !(aheadSettings.alwaysAhead && !stop_)) {
        // Nobody took it (runs are claimed in order): translate it in turn.
        c.state = kClaimed;
        nextFree_ = next_ + 1;
        inTurn = true;
        break;
      }
      if (c.state == kDone || c.state == kAbandoned) break;
      // The other thread is at it: work ahead meanwhile, or wait.
      const long k = ClaimAhead();
      if (k >= 0) {
        AheadChunk& other = chunks_[size_t(k)];
        lock.unlock();
        TranslateAhead(other);
        lock.lock();
        changed_.notify_all();
        continue;
      }
      changed_.wait(lock);
    }
    ++next_;
  }
  changed_.notify_all();  // the window moved on

  if (!inTurn && c.state == kDone) {
    Replay(c, stream, walk_.messages);
    for (int serial : c.finished) walk_.MarkProcessed(ElementBySerial(serial));
    ++taken_;
    if (c.fatalStatus >= 0) walk_.Stop(c.fatalStatus);
  } else {
    TranslateItems(walk_, c.parent, c.spec, c.first, c.last, stream);
  }
  std::vector<int>().swap(c.finished);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // After too many runs dropped, the work ahead does not pay here.
    if (!inTurn && c.state == kAbandoned && ++retried_ >= size_t(aheadSettings.maxRetries)) stop_ = true;
    if (!inTurn && c.out.mode() == OutBuffer::Mode::kMemory && spare_.size() <= size_t(aheadSettings.window))
      spare_.push_back(std::move(c.out));
  }
  c.out = OutBuffer();
  c.messages = OutBuffer();
  return c.last;
}

void AssignSpecsInParallel(Translation& t, ElemNode* top) {
  const int begin = top->serial, end = SubtreeEnd(top);
  bool allowed = ThreadsToUse() >= 2 && end - begin >= aheadSettings.minElements;
  for (const auto& s : t.run.specs.specs)  // a missing target is reported on first use
    if (s->action > 0 && !s->actionSpec && !FindSpecById(t.run.specs, s->action)) allowed = false;
  if (!allowed) return AssignSpecs(t, top);

  // The second half is matched on the worker, which records its messages;
  // they are written after the first half's.  An element whose matching
  // stopped there (a fatal stop) is matched again by the main thread, in
  // its turn, and so is the rest of the half.
  t.run.specOf.assign(size_t(doc.nextSerial), 0);
  ResolveActions(t.run.specs);
  struct Half {
    Translation& walk;
    int to;
    int next;  // the element being matched
    std::atomic<bool> stop{false};
    OutBuffer messages;
    size_t kept = 0;  // the messages of the elements matched in full
  } half{t, end, begin + (end - begin) / 2, {false}, OutBuffer(), 0};
  auto body = [](void* arg) -> void* {
    auto* h = static_cast<Half*>(arg);
    Translation ahead(h->walk, nullptr, &h->messages, nullptr);
    try {
      while (h->next < h->to && !h->stop.load(std::memory_order_relaxed)) {
        int n = h->next;
        AssignSpecsInRange(ahead, &n, n + 1);
        h->kept = h->messages.size();
        h->next = n;
      }
    } catch (...) {  // met again by the main thread
    }
    return nullptr;
  };
  auto stop = [](void* arg) { static_cast<Half*>(arg)->stop = true; };
  WorkerThread worker;
  const bool started = worker.Start(body, &half, stop);
  int next = begin;
  AssignSpecsInRange(t, &next, started ? begin + (end - begin) / 2 : end);
  if (!started) return;
  worker.Join();
  if (half.kept > 0) t.messages->Puts(half.messages.text().substr(0, half.kept));
  AssignSpecsInRange(t, &half.next, end);
}

}  // namespace qlx
