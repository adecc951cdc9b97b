#pragma once

namespace kv::s_avir_ids {
inline constexpr int kBase = 3200;
inline constexpr int kText5 = kBase + 1, kText6 = kBase + 2, kText1 = kBase + 3, kText2 = kBase + 4;
inline constexpr int kChlpFind = kBase + 10, kCChoose = kBase + 11, kCButton1 = kBase + 12,
                     kCButton10 = kBase + 13, kCButton2 = kBase + 14, kCButton3 = kBase + 15;
}  // namespace kv::s_avir_ids
