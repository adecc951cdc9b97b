// CRC-32 throughput on one file: the program's fast form, its slicing form,
// the plain byte-table routine, and zlib's crc32, all over the same bytes.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/crc32.h"

namespace {

uint32_t ByteTable(uint32_t reg, const uint8_t* p, size_t n) {
  static const auto table = [] {
    std::vector<uint32_t> t(256);
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  for (size_t i = 0; i < n; ++i) reg = (reg >> 8) ^ table[(reg ^ p[i]) & 0xFF];
  return reg;
}

// Best of three runs, each in 64 KiB chunks as a check reads a file.
double MegabytesPerSecond(const std::vector<uint8_t>& data,
                          const std::function<uint32_t(uint32_t, const uint8_t*, size_t)>& f,
                          uint32_t& crc) {
  constexpr size_t kChunk = 65536;
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    uint32_t reg = 0xFFFFFFFFu;
    for (size_t pos = 0; pos < data.size(); pos += kChunk)
      reg = f(reg, data.data() + pos, std::min(kChunk, data.size() - pos));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
    crc = ~reg;
  }
  return double(data.size()) / 1e6 / best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: crc_bench FILE\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.empty()) {
    std::fprintf(stderr, "crc_bench: cannot read %s\n", argv[1]);
    return 1;
  }

  struct Row {
    const char* name;
    std::function<uint32_t(uint32_t, const uint8_t*, size_t)> f;
    double mbps = 0;
    uint32_t crc = 0;
  };
  std::vector<Row> rows = {
      {"byte table (reference)", ByteTable},
      {"slicing-by-16", kv::crc_detail::Crc32Sliced},
      {"Crc32Block (program)", kv::Crc32Block},
      {"zlib crc32",
       [](uint32_t reg, const uint8_t* p, size_t n) {
         // zlib takes and returns the finished value, not the register.
         return ~uint32_t(crc32(~reg, p, uInt(n)));
       }},
  };
  std::printf("file: %s, %.0f MiB; carry-less multiply folding %s\n", argv[1],
              double(data.size()) / 1048576.0,
              kv::crc_detail::FoldingAvailable() ? "available" : "not available");
  for (Row& r : rows) r.mbps = MegabytesPerSecond(data, r.f, r.crc);
  bool same = true;
  for (const Row& r : rows) {
    std::printf("%-24s %9.0f MB/s  %5.1fx byte table  crc %08X\n", r.name, r.mbps,
                r.mbps / rows[0].mbps, r.crc);
    same = same && r.crc == rows[0].crc;
  }
  std::printf("program vs zlib: %.2fx\n", rows[2].mbps / rows[3].mbps);
  if (!same) {
    std::printf("MISMATCH: the forms disagree\n");
    return 1;
  }
  return 0;
}
