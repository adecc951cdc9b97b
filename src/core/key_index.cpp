#include "core/key_index.h"

namespace kv {

size_t FoldedHash(std::string_view key) {
  size_t h = 14695981039346656037ull;
  for (char c : key) h = (h ^ size_t(uint8_t((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c))) * 1099511628211ull;
  return h;
}

}  // namespace kv
