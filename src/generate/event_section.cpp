// Event blocks and the stand-alone event section.
#include "generate/event_section.h"

#include "generate/row_resolution.h"
#include "render/inherited_members.h"
#include "render/member_render.h"

namespace velbrook::generate {
namespace {

constexpr char kNotInvokeNote[] =
    "probably won't be functional.\r\n\r\n"
    "(It is not based on Invoke. Velbrook doesn't support this.)";

}  // namespace

std::string EventBlockText(GenerationRun* run, const typeinfo::Type* event,
                           const std::string& object_class_name) {
  if (event == nullptr) return std::string();
  const std::string name = event->Name();
  if (render::IsDispatchBased(*event) == 0) {
    run->Warn(object_class_name.empty() ? "Event interface " + name + kCrLf + kNotInvokeNote
                                        : "Warning: Event handler for object " + object_class_name +
                                              kCrLf + kNotInvokeNote);
  }
  const typeinfo::MemberList* members = event->Members();
  if (members == nullptr) return std::string();

  // The heading names the owners by the interface's name, so a block inside
  // an interface block and a stand-alone one read the same.
  std::string text =
      "'EVENT INTERFACE " + name + " - events for " + run->inputs.row_maps->OwnersOf(name) + kCrLf;
  text += std::string("'Connection to the event interface:") + kCrLf;
  text += "'    obj.ConnectEvents(\"" + event->GuidText() + "\") '" + name + kCrLf;
  text += std::string("'------") + kCrLf;
  text += kCrLf;

  render::RenderContext& context = run->render;
  const bool saved_event = context.event;
  const bool saved_activex = context.activex;
  context.event = true;
  context.activex = true;
  const uint32_t count = typeinfo::WalkCount(members);
  for (uint32_t m = 1; m <= count && run->writer.HasRoomFor(text.size()); ++m) {
    const typeinfo::Member* member = members->Item(m);
    if (member == nullptr) continue;
    text += render::RenderMember(&context, *member);
    text += kCrLf;
  }
  context.event = saved_event;
  context.activex = saved_activex;
  return text;
}

void WriteStandAloneEventSection(GenerationRun* run) {
  const ContentsList& list = *run->inputs.events;
  for (size_t r = 0; r < list.RowCount() && run->Going(); ++r) {
    run->Progress("Event interfaces", r + 1, list.RowCount());
    if (!list.IsChecked(r)) continue;
    const typeinfo::Type* event = ResolveEventRow(run->inputs, list.HiddenNumber(r));
    // A row the maps cannot resolve stands for nothing.
    if (event == nullptr) continue;
    const std::string name = InterfaceName(event);
    run->render.interface_name = name;
    if (run->written_interfaces.Contains(name)) continue;
    run->written_interfaces.Append(name);
    run->writer.WriteLine("");
    run->writer.WriteLine("'--------------------------------");
    run->writer.WriteLine("'");
    run->writer.WriteLine(EventBlockText(run, event, std::string()));
  }
}

}  // namespace velbrook::generate
