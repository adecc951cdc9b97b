// The checksum text of a file, as baselines store and compare it, for the
// algorithm named in the settings.
#pragma once
#include <string>

namespace kv {

class App;

// CRC-32 (for "CRC32" in any letter case or a blank name): upper-case hex
// without leading zeros, "0" for an empty or unreadable file. MD4, MD5,
// SHA1 (any letter case, not trimmed): the digest's decimal byte values,
// empty for an empty file. Any other name gives the empty text.
// Reads in chunks of app.readBufferSize (a 0 there becomes 65536) and
// yields to the message queue between chunks, so any handler may run
// during the call.
std::string FileChecksum(App& app, const std::string& path);

}  // namespace kv
