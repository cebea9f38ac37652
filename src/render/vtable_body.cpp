// Vtable call bodies. The names Velbrookl, Velbrookpsub, COMRESULT and ANSI
// come from the generic COM support block.
#include "render/vtable_body.h"

#include "render/text_ops.h"

namespace velbrook::render {
namespace {

constexpr char kCrLf[] = "\r\n";

// Passed by address rather than by value.
bool IsByAddressType(const std::string& type) {
  return type == "STRING" || type == "GUID" || type == "VARIANT" || type == "DOUBLE" ||
         type == "int64";
}

// Builds a BSTR-shaped buffer "w" + N: length prefix, then the UTF-16 text.
void AppendStringConversion(const ParamRow& row, std::string* out) {
  const std::string& n = row.name;
  // A by-reference variable already holds the text's address.
  const std::string a = Contains(row.note, "[byref]") ? "" : "@";
  *out += "Velbrookl=MultiByteToWideChar(0,0," + a + n + ",-1,0,0)" + kCrLf;
  *out += "defstr w" + n + "=space$(Velbrookl+Velbrookl+4)" + kCrLf;
  *out += "Velbrookl=MultiByteToWideChar(0,0," + a + n + ",-1,@w" + n + "+4,Velbrookl)" + kCrLf;
  *out += "byref(@w" + n + ")=Velbrookl+Velbrookl-2" + kCrLf;
  if (Contains(row.note, "[pointerlevel")) {
    *out += "defint ppw" + n + "=@w" + n + "+4" + kCrLf;
  }
}

std::string CallArgument(const ParamRow& row, bool is_retval) {
  std::string argument;
  if (is_retval || IsByAddressType(row.type)) argument = "@";
  if (row.base_word == "STRING") {
    if (is_retval) {
      argument += "lp" + row.name;
    } else if (Contains(row.note, "[pointerlevel")) {
      argument += "ppw" + row.name;
    } else {
      argument += "w" + row.name + "+4";
    }
  } else {
    argument += row.name;
  }
  return argument;
}

}  // namespace

std::string VtableCallBody(const ParamTable& table, const std::string& kind_word,
                           int32_t vtable_offset) {
  std::string out;
  const bool is_function = kind_word == "function" && table.HasRetval();
  if (is_function) {
    const ParamRow& r = table.Retval();
    if (r.type != "STRING") {
      out += "dim " + r.name + " as " + r.type + " ' " + r.note + kCrLf;
    } else {
      out += "defint lp" + r.name + kCrLf;
    }
  }
  const int count = static_cast<int>(table.rows.size());
  for (int j = 0; j < count; ++j) {
    const ParamRow& row = table.rows[j];
    if (row.base_word == "STRING" && j != table.retval_index && Contains(row.note, "[in]")) {
      AppendStringConversion(row, &out);
    }
  }
  out += "Velbrookpsub=byref(byref(byref(hbObj))+" + std::to_string(vtable_offset) + ")" + kCrLf;
  // callfunc pushes in the order written: last parameter first, the
  // interface pointer last, so the method sees it as its first argument.
  out += "callfunc Velbrookpsub, ";
  for (int j = count - 1; j >= 0; --j) {
    out += CallArgument(table.rows[j], j == table.retval_index) + ", ";
  }
  out += "byref(hbObj)";
  out += kCrLf;
  out += "COMRESULT = EAX";
  out += kCrLf;
  if (is_function) {
    const ParamRow& r = table.Retval();
    if (r.type == "STRING") {
      out += "result=ANSI(lp" + r.name + ")" + kCrLf;
    } else {
      out += "result=" + r.name + kCrLf;
    }
  }
  return out;
}

}  // namespace velbrook::render
