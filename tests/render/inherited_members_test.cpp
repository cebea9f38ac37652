// RenderInheritedMembers (depth-first over bases) and IsDispatchBased.
#include "render/inherited_members.h"

#include <gtest/gtest.h>

#include "fakes/fake_component.h"
#include "fakes/text_compare.h"
#include "render/member_render.h"

namespace velbrook::render {
namespace {

using fakes::FakeMember;
using fakes::FakeType;
using fakes::Interface;
using fakes::SameBytes;
using namespace typeinfo;

std::shared_ptr<FakeMember> Method(const char* name, int32_t offset) {
  auto member = std::make_shared<FakeMember>(name);
  member->SetVTableOffset(offset);
  return member;
}

TEST(RenderInheritedMembersTest, MostBasicFirstAndNamesEntered) {
  auto unknown = Interface("IUnknown");
  unknown->AddMember(Method("AddRef", 4));
  auto middle = Interface("IMiddle", {unknown});
  middle->AddMember(Method("Go", 12));
  auto top = Interface("ITop", {middle});
  top->AddMember(Method("Own", 16));

  RenderContext context;
  context.interface_name = "ITop";
  context.use_invoke = [] { return true; };
  context.event = true;  // restored afterwards
  std::string blocks, lines;
  RenderInheritedMembers(&context, *top, true, &blocks, &lines);
  EXPECT_TRUE(
      SameBytes("' AddRef -- Increments reference count.\r\n"
                "'obj.invoke (\"AddRef\")\r\n"
                "\r\n"
                "' Go\r\n"
                "'obj.invoke (\"Go\")\r\n"
                "\r\n",
                blocks));
  EXPECT_TRUE(SameBytes("    AddRef as sub" + std::string(27, ' ') +
                            "' Increments reference count.\r\n"
                            "    Go as sub" +
                            std::string(31, ' ') + "\r\n",
                        lines));
  EXPECT_TRUE(SameBytes("addref\r\ngo\r\n", context.member_names.Text()));
  EXPECT_TRUE(context.event);
  EXPECT_FALSE(context.activex);
}

TEST(RenderInheritedMembersTest, SameMemberTwiceGetsSuffix) {
  auto left = Interface("ILeft");
  left->AddMember(Method("Value", 12));
  auto right = Interface("IRight");
  right->AddMember(Method("Value", 12));
  auto top = Interface("ITop", {left, right});
  RenderContext context;
  context.interface_name = "ITop";
  context.use_invoke = [] { return false; };
  std::string blocks, lines;
  RenderInheritedMembers(&context, *top, false, &blocks, &lines);
  EXPECT_TRUE(SameBytes("value\r\nvalue_2\r\n", context.member_names.Text()));
  EXPECT_NE(blocks.find("declare sub ITOPValue\r\n"), std::string::npos) << blocks;
  EXPECT_NE(blocks.find("declare sub ITOPValue_2\r\n"), std::string::npos) << blocks;
  EXPECT_NE(lines.find("    Value_2 as sub"), std::string::npos) << lines;
}

TEST(RenderInheritedMembersTest, BaseReachedTwiceIsRenderedOnce) {
  auto base = Interface("IBase");
  base->AddMember(Method("Value", 12));
  auto top = Interface("ITop", {Interface("ILeft", {base}), Interface("IRight", {base})});
  RenderContext context;
  std::string blocks, lines;
  const InheritedWalk walk = RenderInheritedMembers(&context, *top, false, &blocks, &lines);
  EXPECT_TRUE(SameBytes("value\r\n", context.member_names.Text()));
  EXPECT_EQ(walk.loop_base, "");
}

TEST(RenderInheritedMembersTest, NoBasesGivesNothing) {
  auto alone = Interface("IAlone");
  alone->AddMember(Method("Own", 12));
  RenderContext context;
  std::string blocks, lines;
  RenderInheritedMembers(&context, *alone, false, &blocks, &lines);
  EXPECT_EQ(blocks, "");
  EXPECT_EQ(lines, "");
  EXPECT_EQ(context.member_names.Count(), 0u);
}

TEST(RenderInheritedMembersTest, DataMembersGiveIntegerLines) {
  auto base = Interface("IBase");
  auto field = std::make_shared<FakeMember>("Size");
  field->SetInvokeKind(kInvokeData);
  base->AddMember(field);
  auto top = Interface("ITop", {base});
  RenderContext context;
  std::string blocks, lines;
  RenderInheritedMembers(&context, *top, false, &blocks, &lines);
  EXPECT_EQ(blocks, "");
  EXPECT_TRUE(SameBytes("    Size as integer" + std::string(25, ' ') + "\r\n", lines));
}

// A base chain that leads back gives each member once and names the base
// met again; the shared_ptr cycles are broken afterwards.
TEST(RenderInheritedMembersTest, LoopingBasesGiveEachMemberOnce) {
  auto self = std::make_shared<FakeType>("ISelf");
  self->AddMember(Method("Own", 12));
  self->AddBase(self);
  auto first = std::make_shared<FakeType>("IFirst");
  first->AddMember(Method("One", 12));
  auto second = Interface("ISecond", {first});
  second->AddMember(Method("Two", 12));
  first->AddBase(second);
  const struct {
    std::shared_ptr<FakeType> top;
    const char* names;
    const char* loop_base;
  } cases[] = {{self, "", "ISelf"}, {first, "two\r\n", "IFirst"}, {second, "one\r\n", "ISecond"}};
  for (const auto& c : cases) {
    RenderContext context;
    std::string blocks, lines;
    const InheritedWalk walk = RenderInheritedMembers(&context, *c.top, false, &blocks, &lines);
    EXPECT_TRUE(SameBytes(c.names, context.member_names.Text())) << c.top->Name();
    EXPECT_EQ(walk.loop_base, c.loop_base);
  }
  self->BaseList() = fakes::FakeList<Type>();
  first->BaseList() = fakes::FakeList<Type>();
}

TEST(RenderInheritedMembersTest, StopsOnceTheTextsPassTheirBound) {
  auto base = Interface("IBase");
  for (int m = 0; m < 100; ++m) base->AddMember(Method(("M" + std::to_string(m)).c_str(), 12));
  auto top = Interface("ITop", {base});
  RenderContext context;
  std::string blocks, lines;
  EXPECT_FALSE(RenderInheritedMembers(&context, *top, false, &blocks, &lines).cut);
  EXPECT_EQ(context.member_names.Count(), 100u);
  const size_t all = blocks.size() + lines.size();
  RenderContext bounded;
  blocks.clear();
  lines.clear();
  EXPECT_TRUE(RenderInheritedMembers(&bounded, *top, false, &blocks, &lines, all / 2).cut);
  EXPECT_LT(bounded.member_names.Count(), 100u);
  EXPECT_LE(blocks.size() + lines.size(), all / 2 + all / 50);  // one member past it
}

TEST(IsDispatchBasedTest, DirectBasesOnly) {
  auto dispatch = Interface("IDispatch ");
  EXPECT_EQ(IsDispatchBased(*Interface("IA", {dispatch})), 1);
  EXPECT_EQ(IsDispatchBased(*Interface("IB", {Interface("\tidispatch")})), 1);
  auto a = Interface("IA", {dispatch});
  EXPECT_EQ(IsDispatchBased(*Interface("IC", {a})), 0);
  EXPECT_EQ(IsDispatchBased(*Interface("ID")), 0);
  EXPECT_EQ(IsDispatchBased(*Interface("IE", {Interface("IUnknown"), dispatch})), 1);
  EXPECT_EQ(IsDispatchBased(*Interface("IF", {Interface("IDispatchEx")})), 0);
}

}  // namespace
}  // namespace velbrook::render
