// What the seals of the data files need of the system: random bytes, the
// user's data protection, HMAC-SHA256, and a per-user registry note that a
// program folder's data files were sealed.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Bytes from the system's random number generator; nullopt when it fails.
std::optional<std::string> RandomBytes(size_t n);

// The bytes encrypted for this user on this machine (no prompt), and back;
// nullopt when the system refuses (another user's or machine's blob).
std::optional<std::string> ProtectForUser(std::string_view bytes);
std::optional<std::string> UnprotectForUser(std::string_view blob);

// HMAC-SHA256 of the bytes under the key: 32 bytes; nullopt on failure.
std::optional<std::string> HmacSha256(std::string_view key, std::string_view bytes);

// The same over bytes that come in pieces, so that a file of tens of
// megabytes is sealed as it is read, never held whole. An empty key makes
// no seal (Finish gives nullopt).
class HmacSha256Stream {
 public:
  explicit HmacSha256Stream(std::string_view key);
  ~HmacSha256Stream();
  HmacSha256Stream(const HmacSha256Stream&) = delete;
  HmacSha256Stream& operator=(const HmacSha256Stream&) = delete;
  void Add(std::string_view bytes);
  // The 32 bytes; nullopt when any step failed. Called once.
  std::optional<std::string> Finish();

 private:
  void* alg_ = nullptr;
  void* hash_ = nullptr;
  bool ok_ = false;
};

// The note, kept per data folder under the current user, that its files
// were sealed: a seals file missing while it is set was lost, not never made.
bool SealsWereMade(const std::string& dataFolder);
void NoteSealsMade(const std::string& dataFolder);
void ForgetSealsMade(const std::string& dataFolder);

// Moves a file aside to `path` + ".rejected" (an older one there goes), so
// a data file the user chose to rebuild is kept for a look, not used.
bool SetFileAside(const std::string& path);

}  // namespace kv
