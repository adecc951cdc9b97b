// The program's CRC engine object: CRC-32 (the checksum stored in
// baselines and compared with the update file) or CRC-16, fed in blocks.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kv {

class clsCRC {
 public:
  // -1 in CRC-32 mode (the mode of a new object), 0 in CRC-16 mode.
  int Algorithm() const { return crc32Mode_ ? -1 : 0; }
  // Non-zero selects CRC-32, zero CRC-16; either way the registers are cleared.
  void SetAlgorithm(int value);
  // CRC-16 register 0, CRC-32 register all ones.
  void Clear();
  // Runs the current mode over the bytes in order and returns Value. Neither
  // form clears first, so successive blocks make one checksum.
  int32_t AddBytes(std::span<const uint8_t> bytes);
  int32_t CalculateBytes(std::span<const uint8_t> bytes) { return AddBytes(bytes); }
  // The text's bytes as they are: texts are already in the 8-bit code page.
  int32_t AddString(std::string_view text);
  int32_t CalculateString(std::string_view text) { return AddString(text); }
  // CRC-32: the complement of the register as a signed 32-bit value;
  // CRC-16: the register, 0..65535.
  int32_t Value() const;
  // Loads the current mode's register as given (no complement).
  void SetValue(int32_t value);

  // Clear, then the file in chunks (see ReadInChunks); no value for an empty
  // file or one that cannot be opened or read to its end.
  std::optional<int32_t> CalculateFile2(std::optional<uint64_t> length, int32_t& readBufferSize,
                                        const std::function<bool(uint8_t*, size_t)>& read,
                                        const std::function<void()>& pump,
                                        std::vector<uint8_t>* scratch = nullptr);

 private:
  bool crc32Mode_ = true;
  uint16_t crc16_ = 0;
  uint32_t crc32_ = 0xFFFFFFFFu;
};

}  // namespace kv
