// The checksum text of a file, as baselines store and compare it, for the
// algorithm named in the settings.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/checksum_text.h"
#include "integrity/checksum/file_sum.h"

namespace kv {

class App;
class HashProvider;

// CRC-32 (for "CRC32" in any letter case or a blank name): upper-case hex
// without leading zeros, "0" for an empty or unreadable file. MD4, MD5,
// SHA1 (any letter case, not trimmed): the digest's decimal byte values,
// empty for an empty file. Any other name gives the empty text.
// Reads in chunks of app.readBufferSize (a 0 there becomes 65536) and
// yields to the message queue between chunks, so any handler may run
// during the call.
std::string FileChecksum(App& app, const std::string& path);
// The same text, and whether the file was read to its end.
FileSum ReadFileChecksum(App& app, const std::string& path);

// The same text, computed away from the user-interface thread: no yields,
// chunks of `readBufferSize`, the thread's own provider (used only for the
// hashes) and buffer. nullopt when the provider cannot be had: saying so is
// the user-interface thread's business, so that file is left to FileChecksum.
std::optional<FileSum> WorkerFileChecksum(ChecksumKind kind, const std::string& path,
                                          int32_t readBufferSize, HashProvider& provider,
                                          std::vector<uint8_t>& buffer);

}  // namespace kv
