// A bounded little-endian reader over untrusted bytes: every read is checked
// and a failed read changes nothing; callers must look at the answer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velbrook::typeinfo::msft {

class ByteReader {
 public:
  ByteReader() = default;
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t size() const { return size_; }
  size_t offset() const { return offset_; }
  size_t remaining() const { return size_ - offset_; }
  const uint8_t* data() const { return data_; }

  // True when [off, off + len) lies inside the bytes; written so that it
  // cannot overflow.
  bool Contains(size_t off, size_t len) const { return off <= size_ && len <= size_ - off; }

  [[nodiscard]] bool Seek(size_t off) {
    if (off > size_) return false;
    offset_ = off;
    return true;
  }
  [[nodiscard]] bool Skip(size_t len) {
    if (len > remaining()) return false;
    offset_ += len;
    return true;
  }

  [[nodiscard]] bool ReadU8(uint8_t* out) {
    if (!U8At(offset_, out)) return false;
    offset_ += 1;
    return true;
  }
  [[nodiscard]] bool ReadU16LE(uint16_t* out) {
    if (!U16At(offset_, out)) return false;
    offset_ += 2;
    return true;
  }
  [[nodiscard]] bool ReadU32LE(uint32_t* out) {
    if (!U32At(offset_, out)) return false;
    offset_ += 4;
    return true;
  }
  [[nodiscard]] bool ReadI16LE(int16_t* out) {
    uint16_t u;
    if (!ReadU16LE(&u)) return false;
    *out = static_cast<int16_t>(u);
    return true;
  }
  [[nodiscard]] bool ReadI32LE(int32_t* out) {
    uint32_t u;
    if (!ReadU32LE(&u)) return false;
    *out = static_cast<int32_t>(u);
    return true;
  }

  // Absolute reads that leave the cursor alone.
  [[nodiscard]] bool U8At(size_t off, uint8_t* out) const {
    if (!Contains(off, 1)) return false;
    *out = data_[off];
    return true;
  }
  [[nodiscard]] bool U16At(size_t off, uint16_t* out) const {
    if (!Contains(off, 2)) return false;
    *out = static_cast<uint16_t>(data_[off] | data_[off + 1] << 8);
    return true;
  }
  [[nodiscard]] bool U32At(size_t off, uint32_t* out) const {
    if (!Contains(off, 4)) return false;
    *out = uint32_t(data_[off]) | uint32_t(data_[off + 1]) << 8 | uint32_t(data_[off + 2]) << 16 |
           uint32_t(data_[off + 3]) << 24;
    return true;
  }
  [[nodiscard]] bool I16At(size_t off, int16_t* out) const {
    uint16_t u;
    if (!U16At(off, &u)) return false;
    *out = static_cast<int16_t>(u);
    return true;
  }
  [[nodiscard]] bool I32At(size_t off, int32_t* out) const {
    uint32_t u;
    if (!U32At(off, &u)) return false;
    *out = static_cast<int32_t>(u);
    return true;
  }

  // A reader over [off, off + len) of these bytes, cursor at its start.
  [[nodiscard]] bool Slice(size_t off, size_t len, ByteReader* out) const {
    if (!Contains(off, len)) return false;
    *out = ByteReader(data_ + off, len);
    return true;
  }
  // A reader over the next `len` bytes, which the cursor then passes.
  [[nodiscard]] bool ReadSlice(size_t len, ByteReader* out) {
    if (!Slice(offset_, len, out)) return false;
    offset_ += len;
    return true;
  }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t offset_ = 0;
};

// count * elem_size <= limit, checked without overflow.
inline bool FitsCount(size_t count, size_t elem_size, size_t limit) {
  return elem_size == 0 || count <= limit / elem_size;
}

}  // namespace velbrook::typeinfo::msft
