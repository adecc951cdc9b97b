#include "core/clsCRC.h"

#include "core/chunked_read.h"
#include "core/crc32.h"

namespace kv {

void clsCRC::SetAlgorithm(int value) {
  crc32Mode_ = value != 0;
  Clear();
}

void clsCRC::Clear() {
  crc16_ = 0;
  crc32_ = 0xFFFFFFFFu;
}

int32_t clsCRC::AddBytes(std::span<const uint8_t> bytes) {
  if (crc32Mode_)
    crc32_ = Crc32Block(crc32_, bytes.data(), bytes.size());
  else
    crc16_ = Crc16Block(crc16_, bytes.data(), bytes.size());
  return Value();
}

int32_t clsCRC::AddString(std::string_view text) {
  return AddBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

int32_t clsCRC::Value() const { return crc32Mode_ ? int32_t(~crc32_) : int32_t(crc16_); }

void clsCRC::SetValue(int32_t value) {
  if (crc32Mode_)
    crc32_ = uint32_t(value);
  else
    crc16_ = uint16_t(value);
}

std::optional<int32_t> clsCRC::CalculateFile2(std::optional<uint64_t> length,
                                              int32_t& readBufferSize,
                                              const std::function<bool(uint8_t*, size_t)>& read,
                                              const std::function<void()>& pump,
                                              std::vector<uint8_t>* scratch) {
  Clear();
  const ReadOutcome outcome = ReadInChunks(
      length, readBufferSize, read, [this](const uint8_t* p, size_t n) { AddBytes({p, n}); },
      pump, scratch);
  if (outcome != ReadOutcome::Complete) return std::nullopt;
  return Value();
}

}  // namespace kv
