// GUID and ProgID constants of interfaces and object classes.
#pragma once

#include <string>

#include "render/render_context.h"
#include "typeinfo/component.h"

namespace velbrook::render {

// Where ProgIDs come from: the registry on Windows, a table in tests.
class ProgIdSource {
 public:
  virtual ~ProgIdSource() = default;
  // The ProgID registered for the class GUID (registry text form), or empty.
  virtual std::string ProgIdOfClass(const std::string& guid_text) const = 0;
};

// The four 8-digit groups of a GUID record (d1, d23, d4, d5) taken from the
// registry text form; letters keep their case.
struct GuidGroups {
  std::string d1, d23, d4, d5;
};
GuidGroups GuidGroupsOf(const std::string& guid_text);

// Appends the constant of prefix + name to out unless it was written to this
// file already. prog_ids may be null (no ProgIDs). Reads "use Invoke" once.
void WriteGuidConstant(RenderContext* context, const std::string& prefix, const std::string& name,
                       const typeinfo::Type& type, const ProgIdSource* prog_ids, std::string* out);

}  // namespace velbrook::render
