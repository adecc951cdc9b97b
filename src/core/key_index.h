// Keys held elsewhere (the lines of a text, the names of a list), found
// again without letter case. The table holds only each key's number, and
// the caller says where a number's key is, so an index over two hundred
// thousand file names costs a few megabytes instead of a hash-map node and
// a copy of the name for each.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace kv {

// Letter case folded for ASCII only, as EqualsNoCase does.
size_t FoldedHash(std::string_view key);

class KeyIndex {
 public:
  static constexpr size_t npos = size_t(-1);

  // The number held for the key (keyOf(number) gives a number's key), or npos.
  template <typename KeyOf>
  size_t Find(std::string_view key, const KeyOf& keyOf) const {
    if (slots_.empty()) return npos;
    const size_t mask = slots_.size() - 1;
    for (size_t at = FoldedHash(key) & mask;; at = (at + 1) & mask) {
      const uint32_t held = slots_[at];
      if (held == 0) return npos;
      if (EqualsNoCase(keyOf(size_t(held - 1)), key)) return held - 1;
    }
  }

  // Holds the number under its key unless the key is held already (the
  // first one stays); false then.
  template <typename KeyOf>
  bool Insert(size_t number, const KeyOf& keyOf) {
    const std::string_view key = keyOf(number);
    if (Find(key, keyOf) != npos) return false;
    if (2 * (count_ + 1) > slots_.size()) Grow(keyOf, 2 * (count_ + 1));
    Place(number, key);
    ++count_;
    return true;
  }

  // Room for this many keys without growing.
  template <typename KeyOf>
  void Reserve(size_t keys, const KeyOf& keyOf) {
    if (2 * keys > slots_.size()) Grow(keyOf, 2 * keys);
  }

  size_t size() const { return count_; }
  // Gives the table back: a baseline read in again must not keep the old
  // one's index beside the new one.
  void Clear() {
    slots_ = {};
    count_ = 0;
  }

 private:
  template <typename KeyOf>
  void Grow(const KeyOf& keyOf, size_t atLeast) {
    size_t size = 16;
    while (size < atLeast) size *= 2;
    std::vector<uint32_t> old(size, 0);
    old.swap(slots_);
    for (const uint32_t held : old)
      if (held != 0) Place(held - 1, keyOf(size_t(held - 1)));
  }
  void Place(size_t number, std::string_view key) {
    const size_t mask = slots_.size() - 1;
    size_t at = FoldedHash(key) & mask;
    while (slots_[at] != 0) at = (at + 1) & mask;
    slots_[at] = uint32_t(number + 1);
  }

  // 0 is a free place; n holds the number n - 1.
  std::vector<uint32_t> slots_;
  size_t count_ = 0;
};

}  // namespace kv
