// Dump layout: the library, its four lists, then every listed type in full
// (with the vtable view of a dual dispinterface), members, parameters and type
// descriptors indented below their owner. Lines end with LF.
#include "typeinfo/dump.h"

#include <cinttypes>
#include <cstdio>
#include <unordered_set>

namespace velbrook::typeinfo {

namespace {

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Hex(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08" PRIX32, value);
  return buffer;
}

std::string Ref(const Type* type) {
  if (type == nullptr) return "none";
  return type->Name() + " (" + type->KindText() + ") " + type->GuidText();
}

// Only the bytes a constant's VT gives meaning to.
std::string ConstantText(const Variant& v) {
  char buffer[64];
  switch (v.vt) {
    case 0:
    case 1:
    case 12:
      return "vt=" + std::to_string(v.vt);
    case 8:
    case 30:
      return "vt=" + std::to_string(v.vt) + (v.has_text ? " text=" + Quote(v.text) : " null");
    case 16:
    case 17:
      return "vt=" + std::to_string(v.vt) + " value=" + std::to_string(v.value[0]);
    case 2:
    case 18:
      return "vt=" + std::to_string(v.vt) +
             " value=" + std::to_string(static_cast<uint32_t>(v.AsInt32()) & 0xFFFF);
    case 4:
      std::snprintf(buffer, sizeof buffer, "%.9g", v.AsFloat());
      return "vt=4 value=" + std::string(buffer);
    case 5:
    case 7:
      std::snprintf(buffer, sizeof buffer, "%.17g", v.AsDouble());
      return "vt=" + std::to_string(v.vt) + " value=" + buffer;
    case 6:
    case 20:
    case 21:
      return "vt=" + std::to_string(v.vt) + " value=" + std::to_string(v.AsInt64());
    default:
      return "vt=" + std::to_string(v.vt) + " value=" + std::to_string(v.AsInt32());
  }
}

class Dumper {
 public:
  explicit Dumper(size_t max_bytes) : max_bytes_(max_bytes) {}

  Result<std::string> Run(const Library& library) {
    Line(0, "library " + library.Name() + " " + library.GuidText() + " " +
                std::to_string(library.MajorVersion()) + "." +
                std::to_string(library.MinorVersion()));
    Line(1, "help " + Quote(library.HelpString()));
    Line(1, "syskind " + std::to_string(library.SysKind()));
    ListNames("object classes", library.ObjectClasses());
    ListNames("interfaces", library.Interfaces());
    ListNames("enumerations", library.Enumerations());
    ListNames("records", library.Records());
    for (const TypeList* list : {library.ObjectClasses(), library.Interfaces(),
                                 library.Enumerations(), library.Records()}) {
      for (uint32_t i = 1; i <= WalkCount(list) && !full_; ++i) FullType(0, list->Item(i));
    }
    if (full_) {
      return MakeError(ErrorKind::kTooLarge, "the dump would be larger than " +
                                                 std::to_string(max_bytes_) +
                                                 " bytes, far more than any real type library "
                                                 "gives; nothing was written");
    }
    return std::move(out_);
  }

 private:
  // Once the dump is full every later line is dropped and the loops stop.
  void Line(int depth, const std::string& text) {
    const size_t indent = static_cast<size_t>(depth) * 2;
    if (full_ || indent + text.size() + 1 > max_bytes_ - out_.size()) {
      full_ = true;
      return;
    }
    out_.append(indent, ' ');
    out_ += text;
    out_ += '\n';
  }

  void ListNames(const char* caption, const TypeList* list) {
    if (list == nullptr) {
      Line(0, std::string(caption) + " none");
      return;
    }
    Line(0, std::string(caption) + " " + std::to_string(list->Count()));
    for (uint32_t i = 1; i <= WalkCount(list) && !full_; ++i) {
      Line(1, std::to_string(i) + " " + Ref(list->Item(i)));
    }
  }

  void FullType(int depth, const Type* type) {
    if (type == nullptr) {
      Line(depth, "type none");
      return;
    }
    Line(depth, "type " + Ref(type));
    int d = depth + 1;
    Line(d, "kind " + std::to_string(type->TypeKind()) + " flags " + Hex(type->TypeFlags()));
    Line(d, "help " + Quote(type->HelpString()));
    if (type->TypeKind() == kTypeKindRecord || type->TypeKind() == kTypeKindUnion) {
      Line(d, "size " + std::to_string(type->InstanceSize()) + " alignment " +
                  std::to_string(type->Alignment()));
    }
    const Type* vtable = type->VTableInterface();
    Line(d, "vtable-interface " + std::string(vtable == type ? "self" : Ref(vtable)));
    Line(d, "default-interface " + Ref(type->DefaultInterface()));
    Line(d, "default-event-interface " + Ref(type->DefaultEventInterface()));
    const TypeList* bases = type->ImplementedInterfaces();
    Line(d, "implemented " + (bases ? std::to_string(bases->Count()) : "none"));
    for (uint32_t i = 1; i <= WalkCount(bases) && !full_; ++i) {
      Line(d + 1, std::to_string(i) + " " + Ref(bases->Item(i)));
    }
    RawInfo(d, type->RawTypeInfo());
    Members(d, type->Members());
    // The vtable view of a dual dispinterface is what vtable-style wrappers
    // are written from, so it is dumped in full beside the dispatch view.
    if (vtable != nullptr && vtable != type && expanded_.insert(vtable).second) {
      Line(d, "vtable view");
      FullType(d + 1, vtable);
    }
  }

  void RawInfo(int depth, const RawTypeInfo* raw) {
    if (raw == nullptr) {
      Line(depth, "raw none");
      return;
    }
    int32_t count = 0;
    int32_t hr = raw->GetTypeAttr(&count);
    Line(depth,
         "raw attr " + Hex(static_cast<uint32_t>(hr)) + " impl-types " + std::to_string(count));
    for (int32_t j = 0; hr == kResultOk && j < (count & 0xFFFF) && !full_; ++j) {
      int32_t flags = 0;
      int32_t flags_hr = raw->GetImplTypeFlags(static_cast<uint32_t>(j), &flags);
      const RawTypeInfo* ref = raw->GetRefTypeInfoOfImplType(static_cast<uint32_t>(j));
      std::string name;
      int32_t doc_hr = ref ? ref->GetDocumentationName(&name) : kResultNullObject;
      Line(depth + 1, std::to_string(j) + " flags " + Hex(static_cast<uint32_t>(flags_hr)) + " " +
                          std::to_string(flags) + " doc " + Hex(static_cast<uint32_t>(doc_hr)) +
                          " " + Quote(name));
    }
  }

  void Descriptor(int depth, const char* caption, const TypeDescriptor* desc) {
    if (desc == nullptr) {
      Line(depth, std::string(caption) + " none");
      return;
    }
    std::string text = std::string(caption) + " vt=" + std::to_string(desc->VarType()) +
                       " ptr=" + std::to_string(desc->PointerLevel());
    std::vector<ArrayBound> bounds = desc->ArrayBounds();
    if (!bounds.empty()) {
      text += " bounds=";
      for (size_t i = 0; i < bounds.size(); ++i) {
        if (i > 0) text += ",";
        text += std::to_string(bounds[i].lower) + ".." + std::to_string(bounds[i].upper);
      }
    }
    text += " ref=" + Ref(desc->ReferencedType());
    if (std::optional<MissingType> missing = desc->MissingReference()) {
      text += " missing " + missing->type + " from " + missing->import_file;
    }
    Line(depth, text);
  }

  void Members(int depth, const MemberList* members) {
    if (members == nullptr) {
      Line(depth, "members none");
      return;
    }
    Line(depth, "members " + std::to_string(members->Count()));
    for (uint32_t i = 1; i <= WalkCount(members) && !full_; ++i) {
      const Member* m = members->Item(i);
      if (m == nullptr) {
        Line(depth + 1, std::to_string(i) + " none");
        continue;
      }
      std::string at;  // only fields lie at an offset in their record
      if (m->InstanceOffset() >= 0) at = " at " + std::to_string(m->InstanceOffset());
      Line(depth + 1, std::to_string(i) + " " + m->Name() + " id " +
                          Hex(static_cast<uint32_t>(m->MemberId())) + " offset " +
                          std::to_string(m->VTableOffset()) + " invoke " +
                          std::to_string(m->InvokeKind()) + at);
      int d = depth + 2;
      Line(d, "help " + Quote(m->HelpString()));
      Descriptor(d, "value-type", m->ValueType());
      Variant constant = m->ConstantValue();
      if (constant.vt != 0 || m->InvokeKind() == kInvokeData) {
        Line(d, "constant " + ConstantText(constant));
      }
      const ParameterList* params = m->Parameters();
      Line(d, "parameters " + (params ? std::to_string(params->Count()) : "none"));
      for (uint32_t p = 1; p <= WalkCount(params); ++p) {
        const Parameter* param = params->Item(p);
        if (param == nullptr) {
          Line(d + 1, std::to_string(p) + " none");
          continue;
        }
        Line(d + 1, std::to_string(p) + " " + Quote(param->Name()) + " flags " +
                        Hex(static_cast<uint32_t>(param->ParamFlags())));
        Descriptor(d + 2, "type", param->ParamType());
      }
    }
  }

  size_t max_bytes_;
  bool full_ = false;
  std::string out_;
  std::unordered_set<const Type*> expanded_;
};

}  // namespace

Result<std::string> DumpLibrary(const Library& library, size_t max_bytes) {
  return Dumper(max_bytes).Run(library);
}

}  // namespace velbrook::typeinfo
