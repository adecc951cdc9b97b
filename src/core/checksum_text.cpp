#include "core/checksum_text.h"

#include "core/text.h"

namespace kv {
namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kLowerHexDigits[] = "0123456789abcdef";
}  // namespace

std::string Crc32Text(std::optional<int32_t> value) {
  uint32_t v = value ? uint32_t(*value) : 0;
  std::string text;
  do {
    text.insert(text.begin(), kHexDigits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return text;
}

std::string DigestText(std::span<const uint8_t> digest, int format) {
  if (format < 0 || format > 3) return {};
  std::string text;
  for (uint8_t b : digest) {
    if (format == 0) {
      text += kHexDigits[b >> 4];
      text += kHexDigits[b & 0xF];
      text += '\t';
    } else if (format == 1) {
      text += Dec(b);
    } else if (format == 3) {
      text += kLowerHexDigits[b >> 4];
      text += kLowerHexDigits[b & 0xF];
    } else {
      text += char(b);
    }
  }
  return text;
}

ChecksumKind ChecksumKindOf(std::string_view algorithmName) {
  const std::string name = UCase(algorithmName);
  if (name == "CRC32" || TrimView(algorithmName).empty()) return ChecksumKind::Crc32;
  if (name == "MD4") return ChecksumKind::Md4;
  if (name == "MD5") return ChecksumKind::Md5;
  if (name == "SHA1") return ChecksumKind::Sha1;
  if (name == "SHA256") return ChecksumKind::Sha256;
  return ChecksumKind::None;
}

}  // namespace kv
