// The TYPEDESC mapping rules over a tree of TypeDescNode.
#include "typeinfo/type_mapping.h"

namespace velbrook::typeinfo {

namespace {

// A handle on one node of the tree, for MapTypeChain.
class NodeHandle {
 public:
  explicit NodeHandle(const TypeDescNode* node) : node_(node) {}
  uint16_t vt() const { return node_->vt; }
  bool has_inner() const { return node_->inner != nullptr; }
  NodeHandle inner() const { return NodeHandle(node_->inner.get()); }
  const std::vector<ArrayBound>& bounds() const { return node_->bounds; }
  uint32_t href() const { return node_->href; }

 private:
  const TypeDescNode* node_;
};

}  // namespace

MappedType MapTypeDesc(const TypeDescNode& root) { return MapTypeChain(NodeHandle(&root)); }

}  // namespace velbrook::typeinfo
