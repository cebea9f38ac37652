// Everything one generation run reads and the state it carries from section
// to section. Built fresh for every run; nothing survives it.
#pragma once

#include <functional>
#include <string>

#include "generate/contents_list.h"
#include "generate/include_writer.h"
#include "generate/row_maps.h"
#include "render/guid_constant.h"
#include "render/line_list.h"
#include "render/render_context.h"
#include "typeinfo/component.h"
#include "typeinfo/library_contents.h"

namespace velbrook::generate {

// Warnings the run shows without stopping (message boxes in the GUI, lines
// on stderr on the command line). Texts hold CR LF as the boxes show them.
using MessageSink = std::function<void(const std::string& text)>;

// Where a long run has got to: the list being written ("Types", "Enumerations",
// "Object classes", "Event interfaces") and its rows done of all.
using ProgressSink = std::function<void(const char* list, size_t done, size_t total)>;

// Appends the generic COM support block; empty when none is linked in.
using GenericBlockWriter = std::function<void(IncludeWriter* writer)>;

struct GenerationInputs {
  const typeinfo::Library* library = nullptr;
  // The four lists in display order, with their check marks.
  const ContentsList* classes = nullptr;
  const ContentsList* events = nullptr;
  const ContentsList* types = nullptr;
  const ContentsList* enumerations = nullptr;
  const RowMaps* row_maps = nullptr;

  // The library path named in the header, as it should appear there.
  std::string library_path;
  // The chosen output path; the $include line quotes its last element.
  std::string output_path;
  // Today's date as the header shows it.
  std::function<std::string()> date_text = [] { return std::string(); };

  // Options, read each time a section needs them (they may be live controls).
  std::function<bool()> use_invoke = [] { return true; };
  std::function<bool()> include_generics = [] { return true; };
  // The largest include file the run may write before it stops.
  size_t max_bytes = kMaxIncludeBytes;

  typeinfo::ProgIdLookup prog_id = [](const std::string&) { return std::string(); };
  MessageSink warn = [](const std::string&) {};
  ProgressSink progress;
  GenericBlockWriter generic_block;
};

// ProgIDs for the GUID constant writer, from the run's look-up.
class LookupProgIds : public render::ProgIdSource {
 public:
  explicit LookupProgIds(const typeinfo::ProgIdLookup* lookup) : lookup_(lookup) {}
  std::string ProgIdOfClass(const std::string& guid_text) const override {
    return *lookup_ ? (*lookup_)(guid_text) : std::string();
  }

 private:
  const typeinfo::ProgIdLookup* lookup_;
};

// The run state every section shares.
struct GenerationRun {
  GenerationRun(const GenerationInputs& in, OutputSink* sink)
      : inputs(in), writer(sink, in.max_bytes), prog_ids(&inputs.prog_id) {
    render.use_invoke = inputs.use_invoke;
  }

  const GenerationInputs& inputs;
  IncludeWriter writer;
  LookupProgIds prog_ids;
  // Interface name, flags, member names, written GUID names.
  render::RenderContext render;
  // Interfaces and event interfaces that have had their block.
  render::LineList written_interfaces;

  bool UseInvoke() const { return inputs.use_invoke(); }
  // False once the file has outgrown its limit: sections stop writing.
  bool Going() const { return !writer.full(); }
  void Warn(const std::string& text) const {
    if (inputs.warn) inputs.warn(text);
  }
  void Progress(const char* list, size_t done, size_t total) const {
    if (inputs.progress) inputs.progress(list, done, total);
  }
  std::string ProgIdOf(const typeinfo::Type& object_class) const {
    return inputs.prog_id ? inputs.prog_id(object_class.GuidText()) : std::string();
  }
};

// An interface name as generation uses it: every character of code 1 removed.
std::string InterfaceName(const typeinfo::Type* interface);

// Item index (1-based) of list, null outside it or for a null list.
const typeinfo::Type* ItemOf(const typeinfo::TypeList* list, size_t index);

}  // namespace velbrook::generate
