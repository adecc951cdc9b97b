// wininit.ini text and the PendingFileRenameOperations value, and the view
// lines made from them and read back.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/pending_ops.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const WininitOperation& op : WininitOperations(text)) {
    const std::string line = PendingViewLine(op);
    // A line names its file again, whatever the file's text.
    FUZZ_CHECK(PendingLineFile(line) == op.file);
  }
  for (const std::string& file : PendingRenameFiles(text)) {
    FUZZ_CHECK(!file.empty());
    FUZZ_CHECK(file.find('\0') == std::string::npos);
  }
  return 0;
}
