// Builders of the in-memory type-information fakes.
#include "fakes/fake_component.h"

#include "typeinfo/kind_text.h"

namespace velbrook::fakes {

std::shared_ptr<FakeParameter> Param(std::string name, int32_t flags, int32_t vt,
                                     int32_t pointer_level) {
  return std::make_shared<FakeParameter>(std::move(name), flags,
                                         std::make_shared<FakeTypeDescriptor>(vt, pointer_level));
}

std::shared_ptr<FakeParameter> UdtParam(std::string name, int32_t flags,
                                        std::shared_ptr<const typeinfo::Type> type) {
  auto descriptor = std::make_shared<FakeTypeDescriptor>(0);
  descriptor->SetReferencedType(std::move(type));
  return std::make_shared<FakeParameter>(std::move(name), flags, std::move(descriptor));
}

FakeMember& FakeMember::AddParameter(std::shared_ptr<const typeinfo::Parameter> parameter) {
  ParameterList().Add(std::move(parameter));
  return *this;
}

FakeList<typeinfo::Parameter>& FakeMember::ParameterList() {
  if (!parameters_) parameters_ = std::make_shared<FakeList<typeinfo::Parameter>>();
  return *parameters_;
}

FakeType& FakeType::AddMember(std::shared_ptr<const typeinfo::Member> member) {
  MemberList().Add(std::move(member));
  return *this;
}

FakeType& FakeType::AddBase(std::shared_ptr<const typeinfo::Type> base) {
  BaseList().Add(std::move(base));
  return *this;
}

FakeList<typeinfo::Member>& FakeType::MemberList() {
  if (!members_) members_ = std::make_shared<FakeList<typeinfo::Member>>();
  return *members_;
}

FakeList<typeinfo::Type>& FakeType::BaseList() {
  if (!bases_) bases_ = std::make_shared<FakeList<typeinfo::Type>>();
  return *bases_;
}

std::string_view FakeType::KindTextView() const {
  return kind_text_ ? std::string_view(*kind_text_) : typeinfo::KindTextOf(type_kind_);
}

std::shared_ptr<FakeType> Interface(std::string name,
                                    std::vector<std::shared_ptr<const typeinfo::Type>> bases) {
  auto type = std::make_shared<FakeType>(std::move(name));
  for (auto& base : bases) type->AddBase(std::move(base));
  return type;
}

}  // namespace velbrook::fakes
