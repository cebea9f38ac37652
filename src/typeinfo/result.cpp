// Names of error kinds, for messages.
#include "typeinfo/result.h"

namespace velbrook {

const char* ErrorKindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kNotFound:
      return "not found";
    case ErrorKind::kIo:
      return "read or write failed";
    case ErrorKind::kNotTypeLibrary:
      return "not a type library";
    case ErrorKind::kUnsupportedFormat:
      return "unsupported type library format";
    case ErrorKind::kCorrupt:
      return "corrupt type library";
    case ErrorKind::kInvalidArgument:
      return "invalid argument";
    case ErrorKind::kTooLarge:
      return "too large";
    case ErrorKind::kMalformedFile:
      return "malformed file";
    case ErrorKind::kRegistryUnreadable:
      return "registry key cannot be read";
  }
  return "error";
}

}  // namespace velbrook
