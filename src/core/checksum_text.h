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
// byte as the character of that code; 3: two lower-case hex digits a byte,
// run together (the form sha256sum prints). Empty for any other format.
std::string DigestText(std::span<const uint8_t> digest, int format);

// Md4, Md5, Sha1 and Sha256 are the hash engine's algorithm numbers (3
// selects nothing there).
enum class ChecksumKind { Md4 = 0, Md5 = 1, Sha1 = 2, Sha256 = 4, Crc32, None };

// CRC-32 when the name in upper case is "CRC32" or the name is blank; "MD4",
// "MD5", "SHA1" or "SHA256" in any letter case but not trimmed (" MD5"
// selects nothing); None for anything else, which gives the empty checksum
// text.
ChecksumKind ChecksumKindOf(std::string_view algorithmName);

// SHA-256 is stored as the hexadecimal text every other tool prints, so a
// user can check a file with what they have; the older hashes keep their
// decimal form, which the baselines already hold.
inline int DigestFormatOf(ChecksumKind kind) { return kind == ChecksumKind::Sha256 ? 3 : 1; }

}  // namespace kv
