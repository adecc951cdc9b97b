#include "core/update_file.h"

#include "core/support_list.h"
#include "core/text.h"

namespace kv {

namespace {
constexpr std::string_view kStartMarker = "<!--- ZEMU Update File";
constexpr std::string_view kEndMarker = "---!>";
}  // namespace

bool IsUpdateFileText(std::string_view bytes) { return IsPlainText(bytes); }

std::optional<std::string> UpdateFileBody(std::string_view text) {
  std::string body = TextBetween(text, 1, kStartMarker, kEndMarker);
  if (body.empty()) return std::nullopt;
  return body;
}

std::string ExpectedChecksum(std::string_view body) { return TextBetween(body, 1, "korvanel2=", ","); }

}  // namespace kv
