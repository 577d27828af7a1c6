#include "output/emit.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "util/fatal.h"
#include "util/vartable.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qlx {

OutputState output;

namespace {

// How a text's carets are written.
enum class Carets {
  kBreak,    // every caret is a conditional line break
  kLiteral,  // every caret is a caret (a data text without character map)
  kListed,   // the carets at the listed positions are carets (mapped data)
};

// The bytes that end a run of ordinary characters.  A text ends at its
// first NUL byte, so the NUL is one of them.
constexpr std::array<bool, 256> MakeSpecialBytes() {
  std::array<bool, 256> special{};
  special['\\'] = true;
  special['^'] = true;
  special['\n'] = true;
  special['\0'] = true;
  return special;
}
constexpr std::array<bool, 256> kSpecialBytes = MakeSpecialBytes();

#if !defined(__SSE2__)
// Eight bytes at a time where sixteen are not to be had.
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

// The high bit of each zero byte of x, and no other bit.
inline uint64_t ZeroBytes(uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); }

// The high bit of each byte of w that equals c, and no other bit.
inline uint64_t BytesEqual(uint64_t w, unsigned char c) {
  return ZeroBytes(w ^ (0x0101010101010101ull * c));
}

// The high bit of each special byte of w.
inline uint64_t SpecialBytes(uint64_t w) {
  return BytesEqual(w, '\\') | BytesEqual(w, '^') | BytesEqual(w, '\n') | ZeroBytes(w);
}
#endif

inline uint64_t Load8(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

inline uint64_t Load4(const char* p) {
  uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}

// The position of the first byte of s[i, n) that the scan stops at, or n:
// `hit` takes sixteen bytes and gives the mask of those it stops at,
// `stops` tells it for one byte.  Nothing outside s[i, n) is read: the
// last bytes of a text are taken by one more load that ends at its end
// (overlapping bytes already looked at), and a text shorter than sixteen
// bytes by two overlapping loads of eight or four bytes, never by a loop
// over single bytes (most texts are a few bytes long).
#if defined(__SSE2__)
template <class Hit, class Stops>
[[gnu::always_inline]] inline size_t Scan(const char* s, size_t i, size_t n, Hit hit, Stops stops) {
  auto load = [](const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
  const size_t left = n - i;
  if (left >= 16) {
    for (; i + 16 <= n; i += 16)
      if (unsigned mask = hit(load(s + i))) return i + size_t(__builtin_ctz(mask));
    if (i == n) return n;
  }
  if (n >= 16) {  // s[n - 16, n): the bits below i are bytes already looked at
    if (unsigned mask = hit(load(s + n - 16)) >> (16 - (n - i))) return i + size_t(__builtin_ctz(mask));
    return n;
  }
  if (left >= 8) {  // lanes 0-7: s[i, i + 8); lanes 8-15: s[n - 8, n)
    if (unsigned mask = hit(_mm_set_epi64x(int64_t(Load8(s + n - 8)), int64_t(Load8(s + i))))) {
      const size_t k = size_t(__builtin_ctz(mask));
      return k < 8 ? i + k : n - 16 + k;
    }
    return n;
  }
  if (left >= 4) {  // lanes 0-3: s[i, i + 4); lanes 4-7: s[n - 4, n)
    if (unsigned mask = hit(_mm_set_epi64x(0, int64_t(Load4(s + i) | (Load4(s + n - 4) << 32)))) & 0xFF) {
      const size_t k = size_t(__builtin_ctz(mask));
      return k < 4 ? i + k : n - 8 + k;
    }
    return n;
  }
  while (i < n && !stops(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

// The special bytes among sixteen.
inline __m128i SpecialLanes(__m128i v) {
  const __m128i a = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\\')), _mm_cmpeq_epi8(v, _mm_set1_epi8('^')));
  const __m128i b = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_setzero_si128()));
  return _mm_or_si128(a, b);
}

// The bytes among sixteen that equal one of the first `Count` key blocks.
template <size_t Count>
inline __m128i KeyLanes(__m128i v, const CharMap::KeyBlock* blocks) {
  __m128i hit = _mm_cmpeq_epi8(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[0].data())));
  for (size_t j = 1; j < Count; ++j)
    hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[j].data()))));
  return hit;
}

inline unsigned Mask(__m128i lanes) { return unsigned(_mm_movemask_epi8(lanes)); }
#endif

// The position of the first special byte in s[i, n), or n.
inline size_t SkipOrdinary(const char* s, size_t i, size_t n) {
  auto stops = [](unsigned char c) { return kSpecialBytes[c]; };
#if defined(__SSE2__)
  return Scan(s, i, n, [](__m128i v) { return Mask(SpecialLanes(v)); }, stops);
#else
  if constexpr (std::endian::native == std::endian::little) {  // eight at a time
    for (; i + 8 <= n; i += 8)
      if (uint64_t hit = SpecialBytes(Load8(s + i))) return i + size_t(__builtin_ctzll(hit) / 8);
    if (i < n && n >= 8) {  // s[n - 8, n), shifted past the bytes before i
      if (uint64_t hit = SpecialBytes(Load8(s + n - 8)) >> (8 * (8 - (n - i))))
        return i + size_t(__builtin_ctzll(hit) / 8);
      return n;
    }
  }
  while (i < n && !stops(static_cast<unsigned char>(s[i]))) ++i;
  return i;
#endif
}

// The position in data[i, n) of the first byte that the character map has
// an entry for, or (with `specials`) of the first special byte if that
// comes first; n when there is none.  Most data texts hold neither and are
// written as they stand, and most others are written without a mapped copy.
size_t FindMapKey(std::string_view data, size_t i, bool specials) {
  const char* s = data.data();
  const size_t n = data.size();
  auto stops = [specials](unsigned char c) {
    return output.charMap.Find(c) != nullptr || (specials && kSpecialBytes[c]);
  };
#if defined(__SSE2__)
  const CharMap& map = output.charMap;
  const std::string& keys = map.keyBytes();
  // Four or eight comparisons for each sixteen bytes (the key blocks beyond
  // the last key repeat the first).
  const CharMap::KeyBlock* blocks = map.keyBlocks().data();
  if (keys.size() <= 4) {
    if (specials) return Scan(s, i, n, [blocks](__m128i v) { return Mask(_mm_or_si128(KeyLanes<4>(v, blocks), SpecialLanes(v))); }, stops);
    return Scan(s, i, n, [blocks](__m128i v) { return Mask(KeyLanes<4>(v, blocks)); }, stops);
  }
  if (keys.size() <= CharMap::kKeyBlocks) {
    if (specials) return Scan(s, i, n, [blocks](__m128i v) { return Mask(_mm_or_si128(KeyLanes<8>(v, blocks), SpecialLanes(v))); }, stops);
    return Scan(s, i, n, [blocks](__m128i v) { return Mask(KeyLanes<8>(v, blocks)); }, stops);
  }
#endif
  while (i < n && !stops(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

// Where the bytes of one Write call go: straight into the free room of the
// output buffer.  Before anyone else writes to the buffer, Release must be
// called, and Resume after.
class Sink {
 public:
  explicit Sink(OutBuffer* out) : out_(out), p_(out->room()), end_(out->roomEnd()) {}
  ~Sink() { Release(); }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;

  void Put(char c) {
    if (p_ != end_) *p_++ = c;
    else Overflow(&c, 1);
  }
  void Put(const char* p, size_t len) {
    if (size_t(end_ - p_) >= len) {
      if (len) std::memcpy(p_, p, len);
      p_ += len;
    } else {
      Overflow(p, len);
    }
  }
  void Put(std::string_view s) { Put(s.data(), s.size()); }

  // Hands what was written to the buffer.
  void Release() { out_->Commit(p_); }
  // Goes on after Release, whatever was written to the buffer meanwhile.
  void Resume() {
    p_ = out_->room();
    end_ = out_->roomEnd();
  }
  OutBuffer* buffer() const { return out_; }

 private:
  // Writes what does not fit.
  void Overflow(const char* p, size_t len) {
    Release();
    out_->Put(p, len);
    out_->MakeRoom();
    Resume();
  }

  OutBuffer* out_;
  char* p_;
  char* end_;
};

void AddColumn(int& column, size_t n) {
  if (n == 0) return;
  if (column < 0) column = 0;  // was unknown: now known not to be 0
  long long v = static_cast<long long>(column) + static_cast<long long>(n);
  column = v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

// The escapes \n and \r reset the output's column even in a message.
void ResetColumn(OutBuffer* stream, bool track) {
  if (track) stream->column = 0;
  else if (stream->columnOwner) stream->columnOwner->column = 0;
}

void PutUtf8(Sink& out, uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out.Put(char(cp));
  } else if (cp < 0x800) {
    out.Put(char(0xC0 | (cp >> 6)));
    out.Put(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.Put(char(0xE0 | (cp >> 12)));
    out.Put(char(0x80 | ((cp >> 6) & 0x3F)));
    out.Put(char(0x80 | (cp & 0x3F)));
  } else {
    out.Put(char(0xF0 | (cp >> 18)));
    out.Put(char(0x80 | ((cp >> 12) & 0x3F)));
    out.Put(char(0x80 | ((cp >> 6) & 0x3F)));
    out.Put(char(0x80 | (cp & 0x3F)));
  }
}

// s[i] is the '#' after a backslash.  Writes the character of "\#NNN;" and
// returns the position after the ';', or writes '#' when no digits and ';'
// follow and returns the position after it.
size_t CharacterNumber(const char* s, size_t n, size_t i, Sink& out) {
  size_t j = i + 1;
  uint32_t value = 0;
  while (j < n && s[j] >= '0' && s[j] <= '9') {
    if (value <= 0x10FFFF) value = value * 10 + uint32_t(s[j] - '0');
    ++j;
  }
  if (j == i + 1 || j >= n || s[j] != ';') {
    out.Put('#');
    return i + 1;
  }
  if (value != 0) PutUtf8(out, value);
  return j + 1;
}

const VarEntry* FindEntry(const VarTable* table, std::string_view name) {
  if (!table || table->entries.empty()) return nullptr;
  auto it = table->index.find(std::string(name));
  if (it == table->index.end()) return nullptr;
  const VarEntry& e = table->entries[it->second];
  return e.hasValue ? &e : nullptr;
}

// The replacement for an SDATA name, or false when no table holds it.  A
// name found only in the map is recorded in the table of substitutions made.
bool FindReplacement(std::string_view name, Sink& out, std::string* replacement) {
  if (out.buffer()->readOnlyTables) {
    // The table belongs to the main thread; work ahead is allowed only
    // where the map gives the same values (and the main thread records the
    // name when it meets it itself).
    const VarEntry* mapped = FindEntry(output.sdataMap, name);
    if (!mapped) return false;
    *replacement = mapped->value;
    return true;
  }
  if (const VarEntry* used = FindEntry(output.sdataUsed, name)) {
    *replacement = used->value;
    return true;
  }
  const VarEntry* mapped = FindEntry(output.sdataMap, name);
  if (!mapped) return false;
  *replacement = mapped->value;
  if (!output.sdataUsed) output.sdataUsed = NewVarTable(30);
  out.Release();  // recording may run a command ("!" values)
  SetMapping(output.sdataUsed, name, std::string_view(*replacement));
  out.Resume();
  // The recorded value is what is written from now on (a reserved name such
  // as "verbose" is not recorded; its map value stands).
  if (const VarEntry* used = FindEntry(output.sdataUsed, name)) *replacement = used->value;
  return true;
}

// A text being written, and where.
struct Level {
  std::string_view text;
  int depth = 0;  // 0: the caller's text; d: the replacement of nesting level d
  size_t pos = 0;
  Carets carets = Carets::kBreak;
  const std::vector<size_t>* listed = nullptr;  // kListed: caret positions
  size_t nextListed = 0;
};

bool IsListedCaret(Level& level, size_t pos) {
  const std::vector<size_t>& list = *level.listed;
  while (level.nextListed < list.size() && list[level.nextListed] < pos) ++level.nextListed;
  return level.nextListed < list.size() && list[level.nextListed] == pos;
}

// The writer of one text from its first special byte on, and of the SDATA
// replacements inside it, which are written as if they stood in the text
// (one level each, kept here rather than on the machine stack).
class TextWriter {
 public:
  TextWriter(OutBuffer* stream, bool track) : stream_(stream), out_(stream), column_(stream->column), track_(track) {}

  void Run(std::string_view text, size_t start, Carets carets, const std::vector<size_t>* listed) {
    out_.Put(text.data(), start);
    Advance(start);
    cur_ = Level{text, 0, start, carets, listed, 0};
    for (;;) {
      if (WriteLevel()) continue;  // a replacement became the current text
      if (saved_.empty()) return;
      Leave();
    }
  }

 private:
  // SDATA replacements being written: the names and replacement texts, one
  // per nesting level.  A level's text is taken anew from `subs_` when it
  // is resumed, as `subs_` may have moved.
  struct Substitution {
    std::string name;
    std::string text;
  };

  void Advance(size_t n) {
    if (track_) AddColumn(column_, n);
  }

  // Writes the current level to its end; true when it stopped at an SDATA
  // reference whose replacement is now the current level.
  bool WriteLevel() {
    const char* s = cur_.text.data();
    const size_t n = cur_.text.size();
    size_t i = cur_.pos;
    while (i < n) {
      const size_t j = SkipOrdinary(s, i, n);
      if (j > i) {
        out_.Put(s + i, j - i);
        Advance(j - i);
        i = j;
        if (i == n) break;
      }
      const char c = s[i++];
      if (c == '\0') break;  // the text ends here
      if (c == '\n') {
        out_.Put('\n');
        if (track_) column_ = 0;
        continue;
      }
      if (c == '^') {
        Caret(i - 1);
        continue;
      }
      // A backslash: an escape.
      Advance(1);
      if (i == n || s[i] == '\0') break;  // a backslash at the end writes nothing
      if (s[i] != '|') {
        i = Escape(s, n, i);
        continue;
      }
      if (Reference(s, n, &i)) return true;
    }
    return false;
  }

  // The caret at cur_.text[pos]: a caret, a newline, or a conditional one.
  void Caret(size_t pos) {
    const bool literal = cur_.carets == Carets::kLiteral ||
                         (cur_.carets == Carets::kListed && IsListedCaret(cur_, pos));
    if (literal) {
      out_.Put('^');
      Advance(1);
    } else if (!track_) {
      out_.Put('\n');
    } else if (column_ > 0) {
      column_ = 0;
      out_.Put('\n');
    } else if (column_ < 0) {  // the newline is kept for a line that holds text
      out_.Release();
      const size_t from = stream_->size();
      const size_t messagesFrom = stream_->messagesSize();
      out_.Put('\n');
      out_.Release();
      stream_->KeepMidLineOnly(from, messagesFrom);
      column_ = 0;
    }
  }

  // The escape whose letter is s[i] (not '|'); returns the position after it.
  size_t Escape(const char* s, size_t n, size_t i) {
    const char e = s[i];
    if (e >= '0' && e <= '7') {
      unsigned value = unsigned(e - '0');
      ++i;
      for (int k = 0; k < 2 && i < n && s[i] >= '0' && s[i] <= '7'; ++k, ++i)
        value = value * 8 + unsigned(s[i] - '0');
      if (value & 0xFF) out_.Put(char(value & 0xFF));
      return i;
    }
    switch (e) {
      case 'n': out_.Put('\n'); ResetColumn(stream_, track_); break;
      case 'r': out_.Put('\r'); ResetColumn(stream_, track_); break;
      case 's': out_.Put(' '); break;
      case 't': out_.Put('\t'); break;
      case '#': return CharacterNumber(s, n, i, out_);
      default: out_.Put(e); break;
    }
    return i + 1;
  }

  // The SDATA reference at s[*i] ("|name\\x"): its name written in brackets
  // with a message, or its replacement entered (true).  *i moves past it.
  bool Reference(const char* s, size_t n, size_t* i) {
    const size_t start = *i + 1;
    size_t end = start;
    while (end < n && s[end] != '\\' && s[end] != '\0') ++end;
    if (end == n || s[end] == '\0') {  // never closed: the opening writes '|', the rest goes on
      out_.Put('|');
      ++*i;
      return false;
    }
    const std::string_view name(s + start, end - start);
    *i = end + 1;  // the closing backslash and the character after it
    if (*i < n && s[*i] != '\0') ++*i;
    std::string replacement;
    const char* problem = nullptr;
    if (!FindReplacement(name, out_, &replacement)) {
      problem = "Error: Could not find SDATA substitution '%.*s'.\n";
    } else if (std::any_of(subs_.begin(), subs_.end(),
                           [name](const Substitution& sub) { return sub.name == name; })) {
      problem = "Error: SDATA substitution '%.*s' refers to itself; written as its name.\n";
    } else if (subs_.size() >= size_t(kMaxSdataNesting)) {
      problem = "Error: SDATA substitutions nested too deeply at '%.*s'; written as its name.\n";
    }
    if (problem) {
      out_.Release();
      OutBuffer* messages = stream_->messages;
      (messages ? messages : Diagnostics())->Printf(problem, int(name.size()), name.data());
      out_.Resume();
      out_.Put('[');
      out_.Put(name);
      out_.Put(']');
      return false;
    }
    subs_.push_back(Substitution{std::string(name), std::move(replacement)});
    cur_.pos = *i;
    saved_.push_back(cur_);
    cur_ = Level{subs_.back().text, int(subs_.size()), 0, Carets::kBreak, nullptr, 0};
    return true;
  }

  // Back to the text a finished replacement stood in.
  void Leave() {
    subs_.pop_back();
    cur_ = saved_.back();
    saved_.pop_back();
    if (cur_.depth > 0) cur_.text = subs_[size_t(cur_.depth) - 1].text;
  }

  OutBuffer* stream_;
  Sink out_;
  int& column_;
  const bool track_;
  Level cur_;
  std::vector<Substitution> subs_;
  std::vector<Level> saved_;
};

// Writes `text`, up to its end or its first NUL byte.
void Write(std::string_view text, OutBuffer* stream, bool track, Carets carets,
           const std::vector<size_t>* listed) {
  // Most texts hold no escape, caret or line end: written as they stand.
  const size_t j = SkipOrdinary(text.data(), 0, text.size());
  if (j == text.size() || text[j] == '\0') {
    stream->Put(text.data(), j);
    if (track) AddColumn(stream->column, j);
    return;
  }
  TextWriter(stream, track).Run(text, j, carets, listed);
}

}  // namespace

void EmitText(const char* text, OutBuffer* stream, int trackColumn) {
  if (!stream || stream->discards()) return;
  Write(text ? std::string_view(text) : std::string_view("^"), stream, trackColumn != 0,
        Carets::kBreak, nullptr);
  stream->Done();
}

void EmitText(std::string_view text, OutBuffer* stream, int trackColumn) {
  if (!stream || stream->discards()) return;
  Write(text, stream, trackColumn != 0, Carets::kBreak, nullptr);
  stream->Done();
}

void WriteIfMidLine(OutBuffer* stream, void (*write)(void*), void* arg) {
  const size_t from = stream->size();
  const size_t messagesFrom = stream->messagesSize();
  stream->column = 1;  // any column but 0 writes the same
  write(arg);
  stream->KeepMidLineOnly(from, messagesFrom);
  // Where the text left the line holding text, whether it does is still
  // what it was before the text.
  if (stream->column != 0) stream->column = OutBuffer::kUnknownColumn;
}

void EmitData(const char* text, OutBuffer* stream, bool verbatim) {
  if (!stream || !text || stream->discards()) return;
  if (verbatim || output.charMap.empty()) {
    Write(text, stream, true, Carets::kLiteral, nullptr);
    return;
  }
  std::string_view data(text);
  // One scan finds the first map key or special byte.  Up to there the
  // text is written as it stands; after a special byte the rest of the
  // text is searched for a key before anything is written.
  const size_t first = FindMapKey(data, 0, true);
  if (first == data.size()) {
    stream->Put(data.data(), first);
    AddColumn(stream->column, first);
    return;
  }
  if (!output.charMap.Find(static_cast<unsigned char>(data[first])) &&
      FindMapKey(data, first + 1, false) == data.size()) {
    // Nothing to map: every caret is the data's own.
    TextWriter(stream, true).Run(data, first, Carets::kLiteral, nullptr);
    return;
  }
  std::vector<size_t> dataCarets;
  std::string mapped = ApplyCharMap(data, &dataCarets);
  Write(mapped, stream, true, dataCarets.empty() ? Carets::kBreak : Carets::kListed, &dataCarets);
}

}  // namespace qlx
