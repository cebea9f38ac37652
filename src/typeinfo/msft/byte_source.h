// Random access to the bytes of a file (or of a buffer), so that a large
// module is read only where its headers and resources lie.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "typeinfo/result.h"

namespace velbrook::typeinfo::msft {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Reads exactly len bytes at off; false when they are not all there.
  virtual bool Read(uint64_t off, size_t len, std::vector<uint8_t>* out) const = 0;
  // Where the bytes come from, for error messages.
  virtual const std::string& name() const = 0;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(std::vector<uint8_t> bytes, std::string name)
      : bytes_(std::move(bytes)), name_(std::move(name)) {}
  uint64_t size() const override { return bytes_.size(); }
  bool Read(uint64_t off, size_t len, std::vector<uint8_t>* out) const override;
  const std::string& name() const override { return name_; }

 private:
  std::vector<uint8_t> bytes_;
  std::string name_;
};

class FileSource : public ByteSource {
 public:
  // kNotFound for a missing path, kIo for a directory, any other non-regular
  // file or an unreadable file.
  static Result<std::unique_ptr<FileSource>> Open(const std::string& path);
  ~FileSource() override;
  uint64_t size() const override { return size_; }
  bool Read(uint64_t off, size_t len, std::vector<uint8_t>* out) const override;
  const std::string& name() const override { return path_; }

 private:
  FileSource(std::FILE* file, uint64_t size, std::string path)
      : file_(file), size_(size), path_(std::move(path)) {}
  std::FILE* file_;
  uint64_t size_;
  std::string path_;
};

// True when the path names an existing regular file.
bool IsRegularFile(const std::string& path);

}  // namespace velbrook::typeinfo::msft
