// sealcheck <data folder with "\"> <file name>...
// One line per file: its name, "=", and ok, unsealed, missing or BAD (BAD
// also when the seals file itself cannot be trusted). Exit code 1 when any
// file is BAD.
#include <cstdio>
#include <string>

#include "context/seals.h"
#include "platform/files.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string folder = argv[1];
  kv::SealStore store(folder);
  int bad = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string path = folder + argv[i];
    const char* result = "missing";
    if (kv::FileExists(path)) {
      const auto found = store.Check(path);
      result = found.verdict == kv::SealVerdict::Matches    ? "ok"
               : found.verdict == kv::SealVerdict::Unsealed ? "unsealed"
                                                            : "BAD";
      if (found.verdict == kv::SealVerdict::Differs) ++bad;
    }
    std::printf("%s=%s\n", argv[i], result);
  }
  return bad ? 1 : 0;
}
