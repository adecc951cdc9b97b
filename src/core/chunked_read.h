// Reading a file in chunks of the read-buffer size, as both checksum
// engines do: one read per chunk, and a yield to the message queue between
// chunks so the windows stay responsive and pause and stop take effect.
// The platform layer opens the file and supplies the read and the yield.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kv {

enum class ReadOutcome {
  Empty,     // the file has no bytes: nothing was fed
  Complete,  // every byte was fed exactly once
  Failed,    // the file could not be opened or read; what was fed before stays fed
};

inline constexpr int32_t kDefaultReadBufferSize = 65536;

// `length` is the file's size, or nullopt when it could not be opened.
// `read` fills the buffer with the next n bytes of the file (false when it
// cannot). A read-buffer size of 0 becomes 65536 in the caller's variable
// itself; a negative one fails the read. The size is read again for every
// chunk, so a change made while `pump` ran applies to the next chunk without
// losing or repeating bytes. `pump` runs after every chunk but the last and
// may be empty. `scratch`, when given, is the buffer, kept between calls so
// that a caller reading many files allocates it once.
ReadOutcome ReadInChunks(std::optional<uint64_t> length, int32_t& readBufferSize,
                         const std::function<bool(uint8_t* buffer, size_t n)>& read,
                         const std::function<void(const uint8_t* bytes, size_t n)>& feed,
                         const std::function<void()>& pump,
                         std::vector<uint8_t>* scratch = nullptr);

}  // namespace kv
