// Build-machine tool: draws the program's emblem at every size Windows asks
// an icon for and writes them as one .ico file.
//   make_icon OUTPUT.ico
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/art/drawings.h"

namespace {

void Put16(std::string& out, uint16_t v) {
  out += char(v & 0xFF);
  out += char(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

// One icon image: a BITMAPINFOHEADER of double height, the colour plane
// bottom row first, then the AND mask (all zero: the alpha says it all).
std::string IconImage(int size) {
  kv::art::Raster r(size, size);
  const float margin = size >= 32 ? float(size) * 0.02f : 0.0f;
  kv::art::DrawEmblem(r, margin, margin, float(size) - 2 * margin);
  const std::vector<uint32_t> px = r.Straightened();

  std::string out;
  Put32(out, 40);
  Put32(out, uint32_t(size));
  Put32(out, uint32_t(size * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);  // BI_RGB
  const uint32_t maskRow = uint32_t((size + 31) / 32 * 4);
  Put32(out, uint32_t(size * size * 4) + maskRow * uint32_t(size));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) Put32(out, px[size_t(y) * size_t(size) + size_t(x)]);
  out.append(size_t(maskRow) * size_t(size), '\0');
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
  const int count = int(sizeof sizes / sizeof sizes[0]);
  std::vector<std::string> images;
  for (int s : sizes) images.push_back(IconImage(s));

  std::string file;
  Put16(file, 0);
  Put16(file, 1);  // icon
  Put16(file, uint16_t(count));
  uint32_t offset = 6 + 16 * uint32_t(count);
  for (int i = 0; i < count; ++i) {
    file += char(sizes[i] >= 256 ? 0 : sizes[i]);
    file += char(sizes[i] >= 256 ? 0 : sizes[i]);
    file += char(0);  // no palette
    file += char(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, uint32_t(images[size_t(i)].size()));
    Put32(file, offset);
    offset += uint32_t(images[size_t(i)].size());
  }
  for (const std::string& img : images) file += img;

  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
