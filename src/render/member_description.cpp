// Member descriptions for head comments and wrapper TYPE lines.
#include "render/member_description.h"

#include "render/text_ops.h"
#include "typeinfo/help_text.h"

namespace velbrook::render {

const StandardDescription kStandardDescriptions[7] = {
    {"QueryInterface", "Returns pointers to supported interfaces."},
    {"AddRef", "Increments reference count."},
    {"Release", "Decrements reference count."},
    {"GetTypeInfoCount", "Retrieves the number of type descriptions."},
    {"GetTypeInfo", "Retrieves a description of object's programmable interface."},
    {"GetIDsOfNames", "Maps name of method or property to DISPID."},
    {"Invoke",
     "Calls one of the object's methods, or gets/sets one of its "
     "properties."},
};

std::string MemberDescription(const typeinfo::Member& member) {
  const std::string name = member.Name();
  for (const StandardDescription& standard : kStandardDescriptions) {
    if (name == standard.name) return standard.description;
  }
  return TrimBlanks(typeinfo::CleanHelpText(member.HelpString()));
}

}  // namespace velbrook::render
