// The library object of the portable reader: a view of one LibraryModel that
// keeps the whole session (and so every imported library) alive.
#pragma once

#include <memory>

#include "typeinfo/component.h"
#include "typeinfo/msft/portable_objects.h"
#include "typeinfo/msft/session.h"

namespace velbrook::typeinfo::msft {

class PortableLibrary : public Library {
 public:
  PortableLibrary(std::shared_ptr<Session> session, LibraryModel* model);
  std::string Name() const override;
  std::string GuidText() const override;
  uint16_t MajorVersion() const override;
  uint16_t MinorVersion() const override;
  uint32_t Lcid() const override;
  std::string HelpString() const override;
  int32_t SysKind() const override;
  const TypeList* ObjectClasses() const override { return &classes_; }
  const TypeList* Interfaces() const override { return &interfaces_; }
  const TypeList* Enumerations() const override { return &enums_; }
  const TypeList* Records() const override { return &records_; }
  const TypeList* Modules() const override { return &modules_; }

 private:
  std::shared_ptr<Session> session_;
  LibraryModel* model_;
  VectorList<Type> classes_, interfaces_, enums_, records_, modules_;
};

}  // namespace velbrook::typeinfo::msft
