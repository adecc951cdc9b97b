// SHA-256 of a byte string, for texts the program must tell apart exactly
// but cannot keep whole (see the registry snapshot).
#pragma once
#include <string>
#include <string_view>

namespace kv {

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace kv
