#include "core/support_list.h"

#include <algorithm>

#include "core/profile.h"
#include "core/text.h"

namespace kv {
namespace {

constexpr std::string_view kSection = "Korvanel";

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// How many "AVName<digits>=" lines the [Korvanel] section holds: no product
// can be listed that the file does not name.
size_t ProductNameLines(std::string_view text) {
  size_t count = 0;
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (!line.empty() && line.front() == '[') {
      const size_t close = line.rfind(']');
      inSection = close != std::string::npos && EqualsNoCase(Trim(line.substr(1, close - 1)), kSection);
      continue;
    }
    const size_t eq = line.find('=');
    if (!inSection || eq == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, eq));
    if (key.size() > 6 && EqualsNoCase(key.substr(0, 6), "AVName") && AllDigits(key.substr(6))) ++count;
  }
  return count;
}

}  // namespace

std::vector<SupportProduct> ParseSupportList(std::string_view text) {
  const ProfileDocument doc(text);
  const long long claimed = ParseLong(doc.Get(kSection, "AVSupported"));
  const size_t held = ProductNameLines(text);
  const size_t count = claimed <= 0 ? 0 : std::min(size_t(claimed), held);
  std::vector<SupportProduct> products;
  products.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const std::string n = Dec((long long)i);
    products.push_back({doc.Get(kSection, "AVName" + n), doc.Get(kSection, "AVExe" + n),
                        doc.Get(kSection, "AVCMD" + n), doc.Get(kSection, "AVSupport" + n)});
  }
  return products;
}

bool IsPlainText(std::string_view bytes) {
  for (unsigned char c : bytes)
    if (c < 32 && c != '\t' && c != '\r' && c != '\n') return false;
  return true;
}

bool IsSupportListText(std::string_view bytes) {
  if (!IsPlainText(bytes)) return false;
  const ProfileDocument doc(bytes);
  return ParseNumber(doc.Get(kSection, "AVSupported")).has_value();
}

std::string FolderOfPath(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FillArgumentTemplate(std::string_view templ, std::string_view folder) {
  return ReplaceAll(templ, "%PATH%", folder);
}

bool IsWebAddress(std::string_view address) {
  const std::string a = Trim(address);
  // One unbroken address: a NUL would cut it short on its way to the shell,
  // and a space or quote would make the rest arguments.
  for (const char c : a)
    if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == 0x7f) return false;
  for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
    if (a.size() <= scheme.size() || !EqualsNoCase(std::string_view(a).substr(0, scheme.size()), scheme))
      continue;
    const char first = a[scheme.size()];
    // A host begins with a letter or digit: "http:///x" or "http://\\share" name none.
    return (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') ||
           (first >= '0' && first <= '9');
  }
  return false;
}

}  // namespace kv
