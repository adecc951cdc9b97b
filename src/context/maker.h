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

// The server the program downloads its two files from (App::downloadServer
// stands in for it when set), and their paths there.
inline constexpr const char* kDownloadServer = "https://www.brackwater.example";
inline constexpr const char* kSupportListPath = "/avsupportlist.dat";
inline constexpr const char* kUpdateFilePath = "/update.zip";
// The update utility: its name as the download offer spells it, and the
// maker's page about it.
inline constexpr const char* kUpdateUtilityName = "brackwater.example Easy Maintenance Utility";
inline constexpr const char* kUpdateUtilityPage = "https://www.brackwater.example/zemu/";

}  // namespace kv::maker
