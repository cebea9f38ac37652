// Names of error kinds, for messages.
#include "typeinfo/result.h"

namespace velbrook {

const char* ErrorKindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kNotFound:
      return "not found";
    case ErrorKind::kIo:
      return "read error";
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
  }
  return "error";
}

}  // namespace velbrook
