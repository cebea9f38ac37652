// A value or an error: what the core returns instead of global error state.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace velbrook {

// What failed, in words that fit every part of the program: a type library
// kind is used for type libraries only.
enum class ErrorKind {
  kNotFound,            // no such file, registered library or registry key
  kIo,                  // a file exists but could not be read, written or replaced
  kNotTypeLibrary,      // the bytes are not a type library in any known form
  kUnsupportedFormat,   // a type library, but in a format we do not read
  kCorrupt,             // a type library in the right format, but inconsistent
  kInvalidArgument,     // bad input from the caller
  kTooLarge,            // well-formed, but the work asked of it passes a bound
                        // no real library comes near
  kMalformedFile,       // a text file we read (a selection file, a Wine registry
                        // file) is not in its form
  kRegistryUnreadable,  // a registry key cannot be opened or read
};

const char* ErrorKindName(ErrorKind kind);

struct Error {
  ErrorKind kind;
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}      // NOLINT: implicit by design
  Result(Error error) : error_(std::move(error)) {}  // NOLINT

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }

  T& value() & { return *value_; }
  const T& value() const& { return *value_; }
  T&& value() && { return std::move(*value_); }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  T& operator*() & { return *value_; }

  const Error& error() const { return *error_; }

 private:
  std::optional<T> value_;
  std::optional<Error> error_;
};

// The outcome of an operation that yields no value: success, or an error.
class [[nodiscard]] Status {
 public:
  Status() = default;                                // success
  Status(Error error) : error_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const Error& error() const { return *error_; }

 private:
  std::optional<Error> error_;
};

inline Error MakeError(ErrorKind kind, std::string message) {
  return Error{kind, std::move(message)};
}

}  // namespace velbrook
