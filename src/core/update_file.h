// The maker's update file (Data\update.zip, a text file despite its name):
// where it names the checksum of the newest release.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// No real update file comes near this size; a larger download is refused.
inline constexpr size_t kUpdateFileMaxBytes = 64 * 1024;
// A downloaded update file is kept when it is plain text; one without its
// markers is kept too and then reported as corrupt.
bool IsUpdateFileText(std::string_view bytes);

// The update file's body: between the first "<!--- ZEMU Update File" and the
// first "---!>" after it (letter case ignored); nullopt when a marker is
// missing or nothing lies between them.
std::optional<std::string> UpdateFileBody(std::string_view text);
// The checksum the body names for this program: the text between the first
// "korvanel2=" (letter case ignored) and the next ","; empty when either is
// missing.
std::string ExpectedChecksum(std::string_view body);

}  // namespace kv
