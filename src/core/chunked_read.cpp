#include "core/chunked_read.h"

#include <vector>

namespace kv {

ReadOutcome ReadInChunks(std::optional<uint64_t> length, int32_t& readBufferSize,
                         const std::function<bool(uint8_t* buffer, size_t n)>& read,
                         const std::function<void(const uint8_t* bytes, size_t n)>& feed,
                         const std::function<void()>& pump, std::vector<uint8_t>* scratch) {
  if (!length) return ReadOutcome::Failed;
  if (*length == 0) return ReadOutcome::Empty;
  std::vector<uint8_t> own;
  std::vector<uint8_t>& buffer = scratch ? *scratch : own;
  for (uint64_t done = 0;;) {
    if (readBufferSize == 0) readBufferSize = kDefaultReadBufferSize;
    if (readBufferSize < 0) return ReadOutcome::Failed;
    const uint64_t remaining = *length - done;
    const bool last = remaining <= uint64_t(readBufferSize);
    const size_t n = size_t(last ? remaining : uint64_t(readBufferSize));
    if (buffer.size() < n) buffer.resize(n);
    if (!read(buffer.data(), n)) return ReadOutcome::Failed;
    feed(buffer.data(), n);
    if (last) return ReadOutcome::Complete;
    done += n;
    if (pump) pump();
  }
}

}  // namespace kv
