// Where the time of a "/r" check goes: each step the check does per file,
// timed on its own with the program's own code over the checked files of the
// system directory (warm caches). Steps add up in the order the check does
// them, so each row's gain over the previous row is that step's cost.
//
//   check_phases BASELINE_FILE [RUNS]
//
// Prints one tab-separated line per step: name, best seconds over RUNS,
// how many times the step runs in one check.
#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "context/app.h"
#include "context/edition.h"
#include "core/baseline.h"
#include "core/chunked_read.h"
#include "core/text.h"
#include "integrity/checksum/checksum_pipeline.h"
#include "integrity/checksum/clsHash.h"
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

bool Checked(const std::string& name) {
  static const char* kSuffixes[] = {".DLL", ".DRV", ".386", ".SYS", ".OCX",
                                    ".EXE", ".COM", ".PIF", ".SCR"};
  const std::string suffix = kv::UCase(kv::Right(name, 4));
  return std::any_of(std::begin(kSuffixes), std::end(kSuffixes),
                     [&](const char* s) { return suffix == s; });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: check_phases BASELINE_FILE [RUNS]\n");
    return 2;
  }
  const std::string baselineFile = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  kv::Win32Host host;
  kv::App app(host, kv::ThisEdition(), kv::ExecutableDirectory());
  app.readBufferSize = 65536;
  // A window like the check's, so that the queue has a window to ask about.
  HWND window = CreateWindowA("STATIC", "phases", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window, SW_SHOWMINIMIZED);
  kv::PumpMessages();

  const std::string folder = kv::SystemDirectory();
  std::vector<std::string> names;
  long entries = 0;
  if (auto all = kv::ListDirectory(folder)) {
    entries = long(all->size());
    for (const auto& n : *all)
      if (Checked(n)) names.push_back(n);
  }
  auto best = [&](const std::function<void()>& f) {
    double t = 1e30;
    for (int i = 0; i < runs; ++i) t = std::min(t, Seconds(f));
    return t;
  };
  auto row = [](const char* name, double seconds, const std::string& times) {
    std::printf("%s\t%.4f\t%s\n", name, seconds, times.c_str());
    std::fflush(stdout);
  };
  std::vector<uint8_t> buffer(65536);
  kv::clsDoEvents events;
  events.QueueUsed(165);

  row("list folder", best([&] { (void)kv::ListDirectory(folder); }), "x7 (count + 6 categories)");
  row("pump per entry", best([&] {
        for (long i = 0; i < entries; ++i) kv::PumpMessages();
      }),
      "x1 (count), " + kv::Dec(entries) + " entries");
  row("queue check", best([&] {
        for (size_t i = 0; i < names.size() * 3; ++i) events.GetInputState();
      }),
      "x1, 3 per file");
  row("open + close (CreateFileA, CloseHandle)", best([&] {
        for (const auto& n : names) {
          HANDLE h = CreateFileA((folder + n).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
          if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
      }),
      "x0, for comparison");
  row("open + size + close", best([&] {
        for (const auto& n : names) kv::SequentialFile file(folder + n);
      }),
      "x1");
  auto readAll = [&](bool yield) {
    for (const auto& n : names) {
      kv::SequentialFile file(folder + n);
      int32_t size = 65536;
      kv::ReadInChunks(
          file.Length(), size, [&file](uint8_t* b, size_t k) { return file.Read(b, k); },
          [](const uint8_t*, size_t) {},
          yield ? std::function<void()>([&events] { events.GetInputState(); })
                : std::function<void()>());
    }
  };
  row("open + read 64 KiB chunks", best([&] { readAll(false); }), "x1");
  row("  + queue check per chunk", best([&] { readAll(true); }), "x1");
  for (const char* algorithm : {"crc32", "sha1"}) {
    app.algorithmName = algorithm;
    const std::string label = std::string("  + ") + algorithm + " (FileChecksum)";
    row(label.c_str(), best([&] {
          for (const auto& n : names) (void)kv::FileChecksum(app, folder + n);
        }),
        "x1");
  }
  // The check's own way: readers on worker threads ahead of the walk.
  for (const char* algorithm : {"crc32", "sha1", "md5"}) {
    for (size_t workers : {size_t(1), kv::ChecksumPipeline::MachineWorkers()}) {
      const kv::ChecksumKind kind = kv::ChecksumKindOf(algorithm);
      std::vector<std::unique_ptr<kv::HashProvider>> providers;
      std::vector<std::vector<uint8_t>> buffers(workers);
      for (size_t w = 0; w < workers; ++w) providers.push_back(std::make_unique<kv::HashProvider>(app));
      const std::string label = std::string("read ahead, ") + algorithm + ", " +
                                kv::Dec(long(workers)) + " reader(s)";
      row(label.c_str(), best([&] {
            std::vector<std::string> paths;
            for (const auto& n : names) paths.push_back(folder + n);
            kv::ChecksumPipeline pipeline(
                std::move(paths), workers, kv::ChecksumPipeline::kWindow, 65536,
                [&](size_t w, const std::string& path, int32_t size) {
                  return kv::WorkerFileChecksum(kind, path, size, *providers[w], buffers[w]);
                });
            kv::FileSum text;
            for (size_t i = 0; i < names.size(); ++i) pipeline.Take(i, text, [] { return true; });
          }),
          "x1");
    }
  }
  // The platform's hashes with no file at all: as many bytes as the files
  // hold, hashed from one buffer in memory, 1 MiB an object, on one thread
  // and on every core. No check with that hash can be faster than this.
  unsigned long long bytes = 0;
  for (const auto& n : names) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (GetFileAttributesExA((folder + n).c_str(), GetFileExInfoStandard, &a))
      bytes += (unsigned long long)a.nFileSizeHigh << 32 | a.nFileSizeLow;
  }
  const std::vector<BYTE> block(1 << 20, 0x5A);
  for (const auto& [label, algorithm] : {std::pair{"md5", CALG_MD5}, std::pair{"sha1", CALG_SHA1}}) {
    for (size_t threads : {size_t(1), kv::ChecksumPipeline::MachineWorkers()}) {
      const auto share = [&, algorithm = algorithm](unsigned long long todo) {
        HCRYPTPROV prov = 0;
        if (!CryptAcquireContextA(&prov, nullptr, MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
          return;
        for (; todo > 0; todo -= std::min<unsigned long long>(todo, block.size())) {
          HCRYPTHASH hash = 0;
          if (!CryptCreateHash(prov, algorithm, 0, 0, &hash)) break;
          const DWORD n = DWORD(std::min<unsigned long long>(todo, block.size()));
          for (DWORD at = 0; at < n; at += 65536) CryptHashData(hash, block.data() + at, std::min<DWORD>(65536, n - at), 0);
          BYTE digest[20];
          DWORD len = sizeof digest;
          CryptGetHashParam(hash, HP_HASHVAL, digest, &len, 0);
          CryptDestroyHash(hash);
        }
        CryptReleaseContext(prov, 0);
      };
      const std::string name = std::string("in memory, ") + label + ", " + kv::Dec(long(threads)) + " thread(s)";
      row(name.c_str(), best([&] {
            std::vector<std::thread> pool;
            for (size_t t = 0; t < threads; ++t) pool.emplace_back(share, bytes / threads);
            for (auto& t : pool) t.join();
          }),
          "x0, " + kv::Dec(long(bytes / 1000000)) + " MB, no file");
    }
  }
  // What the CryptoAPI digests cost apart from the file: a provider handle
  // and a hash object for every file, as FileChecksum takes them, and the
  // hashing of all bytes with one provider kept for the whole run.
  row("provider + hash object per file", best([&] {
        for (size_t i = 0; i < names.size(); ++i) {
          HCRYPTPROV prov = 0;
          HCRYPTHASH hash = 0;
          if (!CryptAcquireContextA(&prov, nullptr, MS_ENHANCED_PROV_A, PROV_RSA_FULL, 0)) continue;
          if (CryptCreateHash(prov, CALG_SHA1, 0, 0, &hash)) CryptDestroyHash(hash);
          CryptReleaseContext(prov, 0);
        }
      }),
      "x1, sha1 only");
  row("verify-only provider + hash object per file", best([&] {
        for (size_t i = 0; i < names.size(); ++i) {
          HCRYPTPROV prov = 0;
          HCRYPTHASH hash = 0;
          if (!CryptAcquireContextA(&prov, nullptr, MS_ENHANCED_PROV_A, PROV_RSA_FULL,
                                    CRYPT_VERIFYCONTEXT))
            continue;
          if (CryptCreateHash(prov, CALG_SHA1, 0, 0, &hash)) CryptDestroyHash(hash);
          CryptReleaseContext(prov, 0);
        }
      }),
      "x0, for comparison (CRYPT_VERIFYCONTEXT)");
  row("open + read + sha1, one provider", best([&] {
        HCRYPTPROV prov = 0;
        if (!CryptAcquireContextA(&prov, nullptr, MS_ENHANCED_PROV_A, PROV_RSA_FULL, 0)) return;
        for (const auto& n : names) {
          HCRYPTHASH hash = 0;
          if (!CryptCreateHash(prov, CALG_SHA1, 0, 0, &hash)) break;
          kv::SequentialFile file(folder + n);
          int32_t size = 65536;
          kv::ReadInChunks(
              file.Length(), size, [&file](uint8_t* b, size_t k) { return file.Read(b, k); },
              [hash](const uint8_t* p, size_t k) { CryptHashData(hash, p, DWORD(k), 0); }, {});
          BYTE digest[20];
          DWORD len = sizeof digest;
          CryptGetHashParam(hash, HP_HASHVAL, digest, &len, 0);
          CryptDestroyHash(hash);
        }
        CryptReleaseContext(prov, 0);
      }),
      "x1, sha1 only");
  kv::Baseline baseline;
  row("baseline load", best([&] {
        auto text = kv::ReadWholeFile(baselineFile);
        if (text) baseline = kv::Baseline::FromText(*text);
      }),
      "x1");
  long found = 0;
  const double lookups = best([&] {
    found = 0;
    for (const auto& n : names)
      found += !baseline.LookupEntry(n, kv::UCase(kv::Right(n, 3))).empty();
  });
  row("baseline lookups", lookups,
      "x1, " + kv::Dec(found) + " of " + kv::Dec(long(names.size())) + " found");
  DestroyWindow(window);
  return 0;
}
