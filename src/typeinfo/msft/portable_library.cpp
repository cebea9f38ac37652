// The type lists in library order, and the library's own attributes.
#include "typeinfo/msft/portable_library.h"

namespace velbrook::typeinfo::msft {

PortableLibrary::PortableLibrary(std::shared_ptr<Session> session, LibraryModel* model)
    : session_(std::move(session)), model_(model) {
  for (size_t i = 0; i < model_->file().types.size(); ++i) {
    const PortableType* type = model_->StoredView(i);
    switch (type->TypeKind()) {
      case kTypeKindCoclass:
        classes_.Add(type);
        break;
      case kTypeKindInterface:
      case kTypeKindDispatch:
        interfaces_.Add(type);
        break;
      case kTypeKindEnum:
        enums_.Add(type);
        break;
      case kTypeKindRecord:
        records_.Add(type);
        break;
      case kTypeKindModule:
        modules_.Add(type);
        break;
      default:
        break;
    }
  }
}

std::string PortableLibrary::Name() const { return std::string(model_->file().name.text); }

std::string PortableLibrary::GuidText() const {
  const MsftFile& f = model_->file();
  return GuidToText(f.has_guid ? f.guid : Guid{});
}

uint16_t PortableLibrary::MajorVersion() const { return model_->file().major; }
uint16_t PortableLibrary::MinorVersion() const { return model_->file().minor; }
// What oleaut32 reports as TLIBATTR.lcid: the second LCID of the header.
uint32_t PortableLibrary::Lcid() const { return model_->file().set_lcid; }
std::string PortableLibrary::HelpString() const { return std::string(model_->file().help.text); }
int32_t PortableLibrary::SysKind() const { return model_->file().sys_kind; }

}  // namespace velbrook::typeinfo::msft
