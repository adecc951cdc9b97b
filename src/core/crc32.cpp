#include "core/crc32.h"

#include <array>

#if KORVANEL_X86_64
#include <immintrin.h>
#endif

namespace kv {
namespace {

constexpr uint32_t kPoly32 = 0xEDB88320u;
constexpr uint16_t kPoly16 = 0x1021u;
constexpr int kSlices = 16;

// Table k advances the register over a byte followed by k zero bytes, so
// sixteen bytes fold with sixteen independent look-ups. Table 0 is the
// byte table.
constexpr std::array<std::array<uint32_t, 256>, kSlices> MakeCrc32Tables() {
  std::array<std::array<uint32_t, 256>, kSlices> t{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ kPoly32 : c >> 1;
    t[0][n] = c;
  }
  for (size_t k = 1; k < kSlices; ++k)
    for (size_t n = 0; n < 256; ++n) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
  return t;
}

constexpr std::array<uint16_t, 256> MakeCrc16Table() {
  std::array<uint16_t, 256> t{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n << 8;
    for (int bit = 0; bit < 8; ++bit) c = (c & 0x8000) ? (c << 1) ^ kPoly16 : c << 1;
    t[n] = uint16_t(c);
  }
  return t;
}

constexpr auto kCrc32 = MakeCrc32Tables();
constexpr auto kCrc16 = MakeCrc16Table();
static_assert(kCrc32[0][1] == 0x77073096u && kCrc32[0][128] == 0xEDB88320u &&
              kCrc32[0][255] == 0x2D02EF8Du);
static_assert(kCrc16[1] == 0x1021u);

inline uint32_t Load32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint32_t Slice4(uint32_t w, int k) {
  return kCrc32[k + 3][w & 0xFF] ^ kCrc32[k + 2][(w >> 8) & 0xFF] ^
         kCrc32[k + 1][(w >> 16) & 0xFF] ^ kCrc32[k][w >> 24];
}

// Below this length the folding set-up costs more than it saves.
constexpr size_t kFoldMinimum = 128;

}  // namespace

namespace crc_detail {

uint32_t Crc32Sliced(uint32_t reg, const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (; n >= 16; p += 16, n -= 16)
    reg = Slice4(Load32(p) ^ reg, 12) ^ Slice4(Load32(p + 4), 8) ^ Slice4(Load32(p + 8), 4) ^
          Slice4(Load32(p + 12), 0);
  for (; n > 0; ++p, --n) reg = (reg >> 8) ^ kCrc32[0][(reg ^ *p) & 0xFF];
  return reg;
}

#if KORVANEL_X86_64

bool FoldingAvailable() {
  static const bool available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  }();
  return available;
}

namespace {

// Moves a 128-bit remainder forward over the distance its constant pair
// stands for and adds the next 128 bits of input.
__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i x, __m128i next,
                                                              __m128i k) {
  return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00),
                                     _mm_clmulepi64_si128(x, k, 0x11)),
                       next);
}

__attribute__((target("sse4.1"))) inline __m128i Load128(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

}  // namespace

// Carry-less multiply folding of the reflected CRC: four 128-bit lanes fold
// 64 bytes a step, the lanes fold into one, the rest folds 16 bytes a step,
// and a Barrett reduction takes the remainder down to the 32-bit register.
// Bytes after the last whole 16 go through the table. The constants are
// x^d mod P for the fold distances d, bit-reflected: x^(512+32) and
// x^(512-32) for four lanes, x^(128+32) and x^(128-32) for one, x^64 for
// the 64-to-32-bit step, then P itself and its Barrett quotient.
__attribute__((target("pclmul,sse4.1"))) uint32_t Crc32Folded(uint32_t reg, const void* data,
                                                               size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  if (n < 64) return Crc32Sliced(reg, p, n);
  const __m128i k1k2 = _mm_set_epi64x(0x1C6E41596, 0x154442BD4);
  const __m128i k3k4 = _mm_set_epi64x(0x0CCAA009E, 0x1751997D0);
  const __m128i k5 = _mm_set_epi64x(0, 0x163CD6124);
  const __m128i poly = _mm_set_epi64x(0x1F7011641, 0x1DB710641);
  const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);

  __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(int(reg)));
  __m128i x1 = Load128(p + 16);
  __m128i x2 = Load128(p + 32);
  __m128i x3 = Load128(p + 48);
  p += 64;
  n -= 64;
  for (; n >= 64; p += 64, n -= 64) {
    x0 = Fold(x0, Load128(p), k1k2);
    x1 = Fold(x1, Load128(p + 16), k1k2);
    x2 = Fold(x2, Load128(p + 32), k1k2);
    x3 = Fold(x3, Load128(p + 48), k1k2);
  }
  __m128i x = Fold(Fold(Fold(x0, x1, k3k4), x2, k3k4), x3, k3k4);
  for (; n >= 16; p += 16, n -= 16) x = Fold(x, Load128(p), k3k4);

  // 128 to 64 bits, with 32 zero bits appended.
  x = _mm_xor_si128(_mm_srli_si128(x, 8), _mm_clmulepi64_si128(x, k3k4, 0x10));
  // 64 to 32 bits of folding.
  x = _mm_xor_si128(_mm_srli_si128(x, 4),
                    _mm_clmulepi64_si128(_mm_and_si128(x, mask32), k5, 0x00));
  // Barrett reduction.
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, mask32), poly, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, mask32), poly, 0x00);
  reg = uint32_t(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
  return Crc32Sliced(reg, p, n);
}

#else

bool FoldingAvailable() { return false; }
uint32_t Crc32Folded(uint32_t reg, const void* data, size_t n) {
  return Crc32Sliced(reg, data, n);
}

#endif

}  // namespace crc_detail

uint32_t Crc32Block(uint32_t reg, const void* data, size_t n) {
  if (n >= kFoldMinimum && crc_detail::FoldingAvailable())
    return crc_detail::Crc32Folded(reg, data, n);
  return crc_detail::Crc32Sliced(reg, data, n);
}

uint16_t Crc16Block(uint16_t reg, const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (; n > 0; ++p, --n) reg = uint16_t(((reg << 8) & 0xFFFF) ^ kCrc16[((reg >> 8) ^ *p) & 0xFF]);
  return reg;
}

}  // namespace kv
