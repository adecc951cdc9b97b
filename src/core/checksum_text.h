// The checksum texts that baselines store and compare, and which engine a
// configured algorithm name selects.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv {

// A CRC-32 value in upper-case hexadecimal without leading zeros; "0" when
// there is no value (an empty or unreadable file).
std::string Crc32Text(std::optional<int32_t> value);

// A digest as text. Format 0: each byte as two upper-case hex digits and a
// TAB; 1: the decimal byte values run together (the baseline form); 2: each
// byte as the character of that code. Empty for any other format.
std::string DigestText(std::span<const uint8_t> digest, int format);

// Md4, Md5 and Sha1 are the hash engine's algorithm numbers.
enum class ChecksumKind { Md4 = 0, Md5 = 1, Sha1 = 2, Crc32, None };

// CRC-32 when the name in upper case is "CRC32" or the name is blank; "MD4",
// "MD5" or "SHA1" in any letter case but not trimmed (" MD5" selects
// nothing); None for anything else, which gives the empty checksum text.
ChecksumKind ChecksumKindOf(std::string_view algorithmName);

}  // namespace kv
