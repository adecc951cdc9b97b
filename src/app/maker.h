// Where the program's maker can be reached. The addresses live here only, so
// a new web site or mailbox is one edit.
#pragma once

namespace kv::maker {

inline constexpr const char* kName = "Brackwater";
// The maker's home page, opened by the web-site link and the help fallback.
inline constexpr const char* kWebAddress = "https://www.brackwater.example/";
// Mail about the program goes to the first address; the second is listed
// when no mail program can be started.
inline constexpr const char* kContactMail = "korvanel@brackwater.example";
inline constexpr const char* kSupportMail = "support@brackwater.example";
// The author credit of the About panel; a click on it writes to kContactMail.
inline constexpr const char* kCredit = "The Brackwater team";

}  // namespace kv::maker
