// The output side of a generation run: a byte sink and the one shared
// write-line operation every section writes through.
#pragma once

#include <string>
#include <string_view>

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
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

inline constexpr char kCrLf[] = "\r\n";

class IncludeWriter {
 public:
  explicit IncludeWriter(OutputSink* sink) : sink_(sink) {}
  // Text followed by CR LF. A multi-line text whose lines already end with
  // CR LF therefore leaves an empty line after it, as the layout expects.
  void WriteLine(std::string_view text) {
    sink_->Write(text);
    sink_->Write(kCrLf);
  }
  // Bytes exactly as given (GUID constants, which end their own lines).
  void WriteRaw(std::string_view bytes) { sink_->Write(bytes); }

 private:
  OutputSink* sink_;
};

}  // namespace velbrook::generate
