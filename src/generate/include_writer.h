// The output side of a generation run: a byte sink and the one shared
// write-line operation every section writes through.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace velbrook::generate {

class OutputSink {
 public:
  virtual ~OutputSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// Collects the whole include file in memory; the caller commits it.
class StringSink : public OutputSink {
 public:
  void Write(std::string_view bytes) override { text_.append(bytes); }
  const std::string& text() const& { return text_; }
  std::string text() && { return std::move(text_); }

 private:
  std::string text_;
};

inline constexpr char kCrLf[] = "\r\n";

// The most an include file may hold. The biggest real library we know
// (mshtml) gives 8.5 MB in vtable style and 2.2 MB with Invoke; a
// well-formed but hostile library can ask for far more (records embedding
// records, many classes sharing one long event interface), and building it
// would only exhaust memory before the file could be written.
inline constexpr size_t kMaxIncludeBytes = size_t(64) << 20;

class IncludeWriter {
 public:
  explicit IncludeWriter(OutputSink* sink, size_t limit = kMaxIncludeBytes)
      : sink_(sink), limit_(limit) {}
  // Text followed by CR LF. A multi-line text whose lines already end with
  // CR LF therefore leaves an empty line after it, as the layout expects.
  void WriteLine(std::string_view text) {
    if (!Admit(text.size() + 2)) return;
    sink_->Write(text);
    sink_->Write(kCrLf);
  }
  // Bytes exactly as given (GUID constants, which end their own lines).
  void WriteRaw(std::string_view bytes) {
    if (Admit(bytes.size())) sink_->Write(bytes);
  }

  // True while `pending` more bytes (text built but not yet written) would
  // still fit. Once they would not, the writer is full: it drops every later
  // write, and the run stops and writes no file.
  bool HasRoomFor(size_t pending) {
    if (!full_ && pending > limit_ - written_) full_ = true;
    return !full_;
  }
  // Bytes that may still be written before the writer is full.
  size_t Room() const { return full_ ? 0 : limit_ - written_; }
  bool full() const { return full_; }
  size_t limit() const { return limit_; }

 private:
  bool Admit(size_t bytes) {
    if (!HasRoomFor(bytes)) return false;
    written_ += bytes;
    return true;
  }

  OutputSink* sink_;
  size_t limit_;
  size_t written_ = 0;
  bool full_ = false;
};

}  // namespace velbrook::generate
