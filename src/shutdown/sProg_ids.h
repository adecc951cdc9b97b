// Control ids of the secure shut down's progress window.
#pragma once

namespace kv::sprog_ids {

inline constexpr int kBase = 7600;
inline constexpr int kLabel1 = kBase + 1;
inline constexpr int kProgressBar1 = kBase + 2;
inline constexpr int kLabel2 = kBase + 3;
inline constexpr int kCommand1 = kBase + 4;  // ShutDown Now

}  // namespace kv::sprog_ids
