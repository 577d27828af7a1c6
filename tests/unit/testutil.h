// Helpers shared by the unit tests: fatal stops that throw instead of
// exiting, reading an ESIS text into a fresh document, temporary files.
#pragma once

#include <string>

#include "doc/esis.h"
#include "doc/tree.h"
#include "util/outbuf.h"

namespace qlx::test {

// Thrown by the test fatal handler in place of exiting.
struct FatalExit {
  int status;
};

// Installs the throwing fatal handler for the lifetime of the object.
class ThrowOnFatal {
 public:
  ThrowOnFatal();
  ~ThrowOnFatal();
};

// Resets the document and the settings that reading depends on, then reads
// `esis` and finishes the tree.  Returns the root.
ElemNode* ReadDocument(const std::string& esis);
// The same, the reader split as `options` say.
ElemNode* ReadDocument(const std::string& esis, const EsisReadOptions& options);

// A file in a fresh temporary directory, removed with the directory when
// the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  // Writes `content` to path()/name and returns the full path.
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);

// A memory output buffer for the writers, and what they wrote to it.
class MemoryOut {
 public:
  OutBuffer* get() { return &buffer_; }
  std::string Text() const { return std::string(buffer_.text()); }
  int column() const { return buffer_.column; }

 private:
  OutBuffer buffer_;
};

}  // namespace qlx::test
