// The block routines of the program's own CRC engines: the reflected CRC-32
// of IEEE 802.3 (polynomial EDB88320) that fingerprints files, and the
// CRC-16 with the polynomial 1021 taken most significant bit first.
//
// A block routine advances a raw register over bytes; the initial value and
// the final complement are the caller's (clsCRC keeps them). Every form gives
// exactly the register of the plain byte-at-a-time table routine.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {

// The fastest form this CPU has: carry-less multiply folding where the CPU
// offers PCLMULQDQ, slicing-by-16 otherwise.
uint32_t Crc32Block(uint32_t reg, const void* data, size_t n);

// For every byte b: reg = ((reg << 8) & FFFF) ^ table[(reg >> 8) ^ b].
uint16_t Crc16Block(uint16_t reg, const void* data, size_t n);

// The individual CRC-32 forms, so that each one can be held to the reference.
namespace crc_detail {
uint32_t Crc32Sliced(uint32_t reg, const void* data, size_t n);
// Only callable when FoldingAvailable().
uint32_t Crc32Folded(uint32_t reg, const void* data, size_t n);
bool FoldingAvailable();
}  // namespace crc_detail

}  // namespace kv
