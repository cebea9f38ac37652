// Error kinds name what failed: each has its own name, and only the type
// library kinds speak of type libraries.
#include "typeinfo/result.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace velbrook {
namespace {

struct KindCase {
  ErrorKind kind;
  bool about_type_libraries;
};

constexpr KindCase kKinds[] = {
    {ErrorKind::kNotFound, false},
    {ErrorKind::kIo, false},
    {ErrorKind::kNotTypeLibrary, true},
    {ErrorKind::kUnsupportedFormat, true},
    {ErrorKind::kCorrupt, true},
    {ErrorKind::kInvalidArgument, false},
    {ErrorKind::kTooLarge, false},
    {ErrorKind::kMalformedFile, false},
    {ErrorKind::kRegistryUnreadable, false},
};

TEST(ErrorKindName, EachKindHasItsOwnNameInItsOwnWords) {
  std::set<std::string> names;
  for (const KindCase& c : kKinds) {
    const std::string name = ErrorKindName(c.kind);
    EXPECT_TRUE(names.insert(name).second) << name;
    EXPECT_EQ(name.find("type library") != std::string::npos, c.about_type_libraries) << name;
  }
}

}  // namespace
}  // namespace velbrook
