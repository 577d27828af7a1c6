#include "doc/esis.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <pthread.h>
#include <time.h>

#include "doc/records.h"
#include "util/fatal.h"
#include "util/linereader.h"
#include "util/settings.h"
#include "util/split.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qlx {
namespace {

using namespace records;

class alignas(128) Scanner {
 public:
  Scanner(LineReader& in, size_t blockRecords)
      : in_(in), blockRecords_(std::clamp(blockRecords, size_t(1), size_t(1) << 20)) {}
  // Fills `block` with the next records; false when they end with it (the
  // root's end record, or a kStop record).
  bool Fill(Block* block);
  // Room for a block's records, and for a stop after them.
  void Reserve(Block* block) const {
    if (block->capacity < blockRecords_ + 1) {
      block->records.reset(new Record[blockRecords_ + 1]);
      block->capacity = blockRecords_ + 1;
    }
  }
  // Ends `block` with a stop for lack of memory (on the second thread,
  // whose failed allocations throw).
  static void StopForMemory(Block* block) {
    block->records[block->count++] = Record{{nullptr}, 0, RecordKind::kStop, false};
    block->stop = Stop{};
    block->stop.kind = StopKind::kOutOfMemory;
  }

 private:
  // One record before a start record.  False when it ends the reading.
  bool InfoRecord(Block* block, char cmd, std::string_view text, bool opens);
  void Emit(RecordKind kind, bool opens, const char* p = nullptr, int line = 0) {
    *out_++ = Record{{p}, line, kind, opens};
  }
  // A record that hands its text over in the block's bytes.
  void EmitBytes(Block* block, RecordKind kind, bool opens, std::string_view text) {
    block->bytes.append(text);
    Record r{{nullptr}, 0, kind, opens};
    r.n = text.size();
    *out_++ = r;
  }
  bool StopWith(Block* block, StopKind kind, bool opens, char cmd = 0, std::string_view text = {}) {
    Emit(RecordKind::kStop, opens);
    block->stop = Stop{kind, cmd, text, recordNumber_, in_.hadNewline(), 0};
    return false;
  }
  // Whether the text holds a NUL (none can before the input has shown one).
  bool HasNul(std::string_view text) const {
    return in_.sawNul() && !text.empty() && std::memchr(text.data(), '\0', text.size());
  }
  const char* Store(std::string_view text, size_t align = 1) { return doc.textArena.Copy(text, align); }

  // A block also ends once its bytes pass this (a record's own are never
  // split).
  static constexpr size_t kBlockBytes = 256 << 10;
  LineReader& in_;
  const size_t blockRecords_;
  Record* out_ = nullptr;  // the next record of the block being filled
  bool pending_ = false;  // in an info block
  long depth_ = 0;        // open elements
  long recordNumber_ = 0;
};

bool Scanner::Fill(Block* block) {
  Reserve(block);
  block->count = 0;
  block->bytes.clear();
  if (block->bytes.capacity() > 4 * kBlockBytes) block->bytes.shrink_to_fit();  // after a huge record
  out_ = block->records.get();
  // The count is kept up to date as records are written: a failed
  // allocation may end the filling anywhere.
  struct Counter {
    Block* block;
    Record* const& out;
    ~Counter() { block->count = size_t(out - block->records.get()); }
  } counter{block, out_};
  Record* const end = out_ + blockRecords_;
  std::string_view rec;
  constexpr size_t kAlign = ContentItem::kTextAlign;
  while (out_ < end && block->bytes.size() < kBlockBytes) {
    if (!in_.Next(&rec)) {
      if (in_.error()) {
        StopWith(block, StopKind::kReadError, false);
        block->stop.error = in_.error();
        return false;
      }
      return StopWith(block, StopKind::kEndOfInput, false);
    }
    ++recordNumber_;
    // CR-LF line ends (ESIS written in text mode elsewhere): the carriage
    // return belongs to the line end, never to the record.
    if (!rec.empty() && rec.back() == '\r') rec.remove_suffix(1);
    const char cmd = rec.empty() ? '\n' : rec[0];
    const std::string_view text = rec.empty() ? rec : rec.substr(1);
    bool opens = false;
    if (!pending_ && depth_ == 0) pending_ = opens = true;  // the root's info block
    if (!pending_) {
      switch (cmd) {
        case 'L':
          continue;
        case '-':
          if (HasNul(text)) return StopWith(block, StopKind::kNul, false);
          if (settings.esisDataFix && text.size() >= 2 && text[0] == '\\' && text[1] == 'n') {
            if (text.size() == 2) continue;
            char* fixed = static_cast<char*>(doc.textArena.Allocate(text.size(), kAlign));
            fixed[0] = ' ';
            std::memcpy(fixed + 1, text.data() + 2, text.size() - 2);
            fixed[text.size() - 1] = '\0';
            Emit(RecordKind::kData, false, fixed);
            continue;
          }
          Emit(RecordKind::kData, false, Store(text, kAlign));
          continue;
        case '?':
          if (HasNul(text)) return StopWith(block, StopKind::kNul, false);
          Emit(RecordKind::kPi, false, Store(text, kAlign));
          continue;
        case '(': case 'A': case 'D': case 'E': case 'I': case 'N': case 'f': case 'p': case 's':
          pending_ = opens = true;
          break;
        case ')':
          Emit(RecordKind::kEnd, false);
          if (--depth_ == 0) return false;  // the root's end: nothing after it is read
          continue;
        default:
          return StopWith(block, StopKind::kUnexpectedInContent, false, cmd, text);
      }
    }
    if (!InfoRecord(block, cmd, text, opens)) return false;
  }
  return true;
}

bool Scanner::InfoRecord(Block* block, char cmd, std::string_view text, bool opens) {
  switch (cmd) {
    case '(':
      EmitBytes(block, RecordKind::kStart, opens, text);
      pending_ = false;
      ++depth_;
      return true;
    case 's': case 'p': case 'f':
      if (HasNul(text)) return StopWith(block, StopKind::kNul, opens);
      Emit(cmd == 's' ? RecordKind::kSystemId : cmd == 'p' ? RecordKind::kPublicId : RecordKind::kGenerated, opens,
           Store(text));
      return true;
    case 'A': {
      // Most attribute records are "NAME IMPLIED": recognised without
      // splitting (a name without blanks, so the split would agree).
      constexpr std::string_view kImplied = " IMPLIED";
      if (text.size() > kImplied.size() && text.ends_with(kImplied)) {
        size_t nameEnd = text.size() - kImplied.size(), i = 0;
        while (i < nameEnd && !IsBlank(text[i])) ++i;
        if (i == nameEnd) {
          if (opens) Emit(RecordKind::kNone, true);
          return true;
        }
      }
      // A NUL ends the reading when the value would be stored; the rest
      // is the Builder's (see Builder::Attribute).
      if (HasNul(text) && records::HoldsValue(records::SplitAttrRecord(text).type))
        return StopWith(block, StopKind::kNul, opens);
      EmitBytes(block, RecordKind::kAttr, opens, text);
      return true;
    }
    case 'E': {
      std::string_view w[3];
      SplitInto(text, w, 3);
      if (HasNul(w[0]) || HasNul(w[1]) || HasNul(w[2])) return StopWith(block, StopKind::kNul, opens);
      EntityInfo* ent = doc.textArena.Array<EntityInfo>(1);
      new (ent) EntityInfo();
      ent->name = Store(w[0]);
      ent->type = Store(w[1]);
      ent->notation = Store(w[2]);
      Emit(RecordKind::kEntity, opens, reinterpret_cast<const char*>(ent));
      return true;
    }
    case 'I':
      EmitBytes(block, RecordKind::kIntEnt, opens, text);
      return true;
    case 'L': {
      size_t sp = text.find(' ');
      const char* fileName = nullptr;
      if (sp != std::string_view::npos) {
        if (HasNul(text.substr(sp + 1))) return StopWith(block, StopKind::kNul, opens);
        fileName = Store(text.substr(sp + 1));
      }
      int line = std::atoi(std::string(text.substr(0, sp == std::string_view::npos ? text.size() : sp)).c_str());
      Emit(RecordKind::kLine, opens, fileName, line);
      return true;
    }
    case '?': case 'D': case 'N':
      if (opens) Emit(RecordKind::kNone, true);
      return true;
    case '-':
      return StopWith(block, StopKind::kDataInInfo, opens, cmd, text);
    default:
      return StopWith(block, StopKind::kUnexpectedInInfo, opens, cmd, text);
  }
}

// The second thread's failed allocations throw, so that the first stage
// can hand the failure over to be reported by the calling thread.
thread_local bool onScanningThread = false;
std::new_handler previousNewHandler = nullptr;
class Pipeline;
std::atomic<Pipeline*> activePipeline{nullptr};

// The two stages on two threads, with a ring of blocks between them.
class Pipeline {
 public:
  static constexpr size_t kRing = 4;
  explicit Pipeline(Scanner& scanner) : scanner_(scanner) {}
  ~Pipeline() { Join(); }
  Block& first() { return ring_[0]; }
  // Starts the first stage's thread, `ready` blocks being filled already
  // (and the stage not at its end).  False when no thread can be had.
  bool Start(size_t ready);
  // The next block in order, waiting for it.
  const Block& Next();
  // Gives back the block Next returned last.
  void Release();
  // Asks the first stage to stop and waits for its thread to end.
  void Join();

 private:
  void Produce();
  static void NewHandler();
  // Waits a little while for `ready` to hold without giving up the
  // processor: a stage that sleeps at every block can take long to be
  // woken (a virtual processor gone idle, a busy machine).  True if it
  // holds.  `other`: the processor-time clock of the other stage's thread.
  template <typename Ready>
  static bool Spin(Ready ready, clockid_t other);

  Scanner& scanner_;
  std::array<Block, kRing> ring_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // Blocks filled and given back, and the request to stop: changed under
  // the mutex, read without it while spinning.
  std::atomic<size_t> produced_{0}, consumed_{0};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  clockid_t producerClock_{}, consumerClock_{};  // the threads' processor-time clocks
};

bool Pipeline::Start(size_t ready) {
  produced_.store(ready, std::memory_order_relaxed);
  // The blocks' room is taken here, so that the thread can always end a
  // block with a stop when memory runs out.
  for (Block& block : ring_) scanner_.Reserve(&block);
  // Without the clocks the stages could not tell whether spinning pays.
  if (pthread_getcpuclockid(pthread_self(), &consumerClock_) != 0) return false;
  previousNewHandler = std::set_new_handler(NewHandler);
  activePipeline.store(this);
  try {
    thread_ = std::thread([this] { Produce(); });
  } catch (const std::system_error&) {
    activePipeline.store(nullptr);
    std::set_new_handler(previousNewHandler);
    return false;
  }
  if (pthread_getcpuclockid(thread_.native_handle(), &producerClock_) != 0) producerClock_ = consumerClock_;
  return true;
}

void Pipeline::NewHandler() {
  if (onScanningThread) throw std::bad_alloc();
  // On the calling thread: the first stage stops before the program ends.
  if (Pipeline* p = activePipeline.load()) p->Join();
  if (previousNewHandler) previousNewHandler();
  else throw std::bad_alloc();
}

// The processor time a thread has had, in nanoseconds.
int64_t ThreadTime(clockid_t clock) {
  timespec t{};
  if (clock_gettime(clock, &t) != 0) return -1;
  return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

template <typename Ready>
bool Pipeline::Spin(Ready ready, clockid_t other) {
  using Clock = std::chrono::steady_clock;
  // Spinning pays only while the other stage runs, on another processor:
  // one that has had no processor time for a while (waiting itself for
  // input, or for this thread's processor) is waited for asleep.
  constexpr auto kCheck = std::chrono::microseconds(100);
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(2);
  Clock::time_point checked = Clock::now();
  int64_t otherTime = ThreadTime(other);
  for (;;) {
    for (int i = 0; i < 64; ++i) {
      if (ready()) return true;
#if defined(__SSE2__)
      _mm_pause();
#endif
    }
    const Clock::time_point now = Clock::now();
    if (now >= until) return false;
    if (now - checked >= kCheck) {
      const int64_t t = ThreadTime(other);
      if (t == otherTime) return false;
      otherTime = t;
      checked = now;
    }
  }
}

void Pipeline::Produce() {
  onScanningThread = true;
  const auto room = [this] {
    return stopping_.load(std::memory_order_acquire) ||
           produced_.load(std::memory_order_relaxed) - consumed_.load(std::memory_order_acquire) < kRing;
  };
  for (;;) {
    if (!Spin(room, consumerClock_)) {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, room);
    }
    if (stopping_.load(std::memory_order_acquire)) return;
    Block* block = &ring_[produced_.load(std::memory_order_relaxed) % kRing];
    bool more;
    try {
      more = scanner_.Fill(block);
    } catch (const std::bad_alloc&) {
      Scanner::StopForMemory(block);
      more = false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    produced_.fetch_add(1, std::memory_order_release);
    changed_.notify_all();
    if (!more) return;
  }
}

const Block& Pipeline::Next() {
  const auto ready = [this] {
    return consumed_.load(std::memory_order_relaxed) < produced_.load(std::memory_order_acquire);
  };
  if (!Spin(ready, producerClock_)) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, ready);
  }
  return ring_[consumed_.load(std::memory_order_relaxed) % kRing];
}

void Pipeline::Release() {
  std::lock_guard<std::mutex> lock(mutex_);
  consumed_.fetch_add(1, std::memory_order_release);
  changed_.notify_all();
}

void Pipeline::Join() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_.store(true, std::memory_order_release);
    changed_.notify_all();
  }
  thread_.join();
  activePipeline.store(nullptr);
  std::set_new_handler(previousNewHandler);
}

}  // namespace

ElemNode* ReadESIS(LineReader& in, const char* inputName) { return ReadESIS(in, inputName, EsisReadOptions()); }

ElemNode* ReadESIS(LineReader& in, const char* inputName, const EsisReadOptions& options) {
  using Threads = EsisReadOptions::Threads;
  Scanner scanner(in, options.blockRecords);
  Builder builder(inputName);
  Pipeline pipeline(scanner);
  Block& block = pipeline.first();
  // The first block on this thread, unless a thread is wanted from the
  // start: a document that fits in it needs no other.
  bool threaded = options.threads == Threads::kAlways && pipeline.Start(0);
  if (!threaded && scanner.Fill(&block) && options.threads == Threads::kAuto && std::thread::hardware_concurrency() > 1)
    threaded = pipeline.Start(1);
  if (!threaded) {
    for (;;) {
      if (ElemNode* root = builder.Add(block)) return root;
      if (builder.stopped()) builder.Report(block.stop);
      scanner.Fill(&block);
    }
  }
  for (;;) {
    const Block& next = pipeline.Next();
    ElemNode* root = builder.Add(next);
    if (root || builder.stopped()) {
      // The first stage has ended with this block: its thread is gone
      // before anything is reported.
      pipeline.Join();
      if (!root) builder.Report(next.stop);
      return root;
    }
    pipeline.Release();
  }
}

}  // namespace qlx
