// Throughput of FileChecksum under the real file layer and CryptoAPI: CRC-32,
// MD5 and SHA-1 over one file, best of several runs, in 64 KiB chunks as a
// check reads. Read-only passes, with and without the yield to the message
// queue between chunks, show what the file layer and the yield alone allow.
// Prints one tab-separated line per row: name, MB/s, checksum text.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "context/app.h"
#include "context/edition.h"
#include "core/chunked_read.h"
#include "integrity/checksum/file_checksum.h"
#include "integrity/checksum/sequential_file.h"
#include "platform/files.h"
#include "platform/pump.h"
#include "platform/win32_host.h"

namespace {

double Seconds(const std::function<void()>& f) {
  LARGE_INTEGER freq, a, b;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&a);
  f();
  QueryPerformanceCounter(&b);
  return double(b.QuadPart - a.QuadPart) / double(freq.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: checksum_bench FILE [RUNS]\n");
    return 2;
  }
  const std::string path = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

  kv::Win32Host host;
  kv::App app(host, kv::ThisEdition(), kv::ExecutableDirectory());
  app.readBufferSize = 65536;

  uint64_t size = 0;
  {
    kv::SequentialFile file(path);
    if (!file.Length() || *file.Length() == 0) {
      std::fprintf(stderr, "checksum_bench: cannot read %s\n", path.c_str());
      return 1;
    }
    size = *file.Length();
  }

  auto best = [&](const std::function<void()>& f) {
    double t = 1e30;
    for (int i = 0; i < runs; ++i) t = std::min(t, Seconds(f));
    return double(size) / 1e6 / t;
  };

  const double readOnly = best([&] {
    kv::SequentialFile file(path);
    kv::ReadInChunks(
        file.Length(), app.readBufferSize,
        [&file](uint8_t* b, size_t n) { return file.Read(b, n); },
        [](const uint8_t*, size_t) {}, nullptr);
  });
  std::printf("read only\t%.0f\t-\n", readOnly);

  // What the yield to the message queue between chunks adds on its own.
  const double readAndYield = best([&] {
    kv::SequentialFile file(path);
    kv::clsDoEvents events;
    events.QueueUsed(165);
    kv::ReadInChunks(
        file.Length(), app.readBufferSize,
        [&file](uint8_t* b, size_t n) { return file.Read(b, n); },
        [](const uint8_t*, size_t) {}, [&events] { events.GetInputState(); });
  });
  std::printf("read and yield\t%.0f\t-\n", readAndYield);

  for (const char* algorithm : {"CRC32", "MD5", "SHA1"}) {
    app.algorithmName = algorithm;
    std::string text;
    const double mbps = best([&] { text = kv::FileChecksum(app, path); });
    std::printf("%s\t%.0f\t%s\n", algorithm, mbps, text.c_str());
    if (text.empty() || text == "0") return 1;
  }
  return 0;
}
