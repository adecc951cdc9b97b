// Control ids of the anti-virus support-list window, numbered from its own base.
#pragma once

namespace kv::avirhelp_ids {

inline constexpr int kBase = 500;
inline constexpr int kList1 = kBase + 1;        // the products
inline constexpr int kText2 = kBase + 2;        // location of the found scanner
inline constexpr int kTxtCmd = kBase + 3;       // its arguments
inline constexpr int kCommand1 = kBase + 11;    // help for unlisted products
inline constexpr int kCommand2 = kBase + 12;    // test
inline constexpr int kCommand3 = kBase + 13;    // save / use
inline constexpr int kCommand4 = kBase + 14;    // search
inline constexpr int kLblSpecial = kBase + 21;  // the product's online documentation
inline constexpr int kLblDLUpdates = kBase + 22;  // download the latest list

}  // namespace kv::avirhelp_ids
