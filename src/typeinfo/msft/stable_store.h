// Storage for many small objects of one kind that must not move once made:
// chunks of reserved vectors, so an object costs no allocation of its own and
// its address stays valid until the store is destroyed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace velbrook::typeinfo::msft {

template <typename T>
class StableStore {
 public:
  // Makes sure the next `count` objects lie side by side in one chunk.
  void EnsureRoom(size_t count) {
    if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < count) {
      chunks_.emplace_back();
      chunks_.back().reserve(std::max(kChunk, count));
    }
  }
  template <typename... Args>
  T* Emplace(Args&&... args) {
    EnsureRoom(1);
    // Within the reserved capacity: nothing already stored moves.
    return &chunks_.back().emplace_back(std::forward<Args>(args)...);
  }

 private:
  static constexpr size_t kChunk = 256;
  std::vector<std::vector<T>> chunks_;
};

}  // namespace velbrook::typeinfo::msft
