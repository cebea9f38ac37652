// KindText words, shared by both readers so that their output agrees.
#include "typeinfo/kind_text.h"

namespace velbrook::typeinfo {

std::string_view KindTextOf(int32_t type_kind) {
  switch (type_kind) {
    case 0:
      return "enum";
    case 1:
      return "record";
    case 2:
      return "module";
    case 3:
      return "interface";
    case 4:
      return "dispinterface";
    case 5:
      return "coclass";
    case 6:
      return "alias";
    case 7:
      return "union";
  }
  return "unknown";
}

}  // namespace velbrook::typeinfo
