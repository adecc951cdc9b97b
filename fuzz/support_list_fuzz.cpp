// The anti-virus support list: its products, the download test, the folder
// and argument rules and the web-address rule on any text from the list.
#include "core/support_list.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (IsSupportListText(text)) FUZZ_CHECK(IsPlainText(text));
  const auto products = ParseSupportList(text);
  // Each product is a line of the file at the least.
  FUZZ_CHECK(products.size() <= size / 2 + 1);
  for (const SupportProduct& p : products) {
    const std::string folder = FolderOfPath(p.exe);
    FUZZ_CHECK(folder.empty() || folder.back() == '\\');
    FUZZ_CHECK(folder.size() <= p.exe.size());
    FillArgumentTemplate(p.cmd, folder);
    if (IsWebAddress(p.support)) {
      FUZZ_CHECK(p.support.size() > 7);
      FUZZ_CHECK(p.support.find('\0') == std::string::npos);
    }
  }
  FolderOfPath(text);
  IsWebAddress(text);
  return 0;
}
