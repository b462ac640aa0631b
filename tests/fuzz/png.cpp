// png.cpp — any bytes as a PNG image: loaded whole and as a strip of
// cells, drawn, tested for collision, freed.
#include <zlib.h>

#include <vector>

#include "media/media.h"
#include "tests/fuzz/fuzz.h"

namespace {

// Each chunk's checksum made right, so that a changed size, colour type or
// palette reaches the decoder instead of stopping at the checksum.
std::vector<uint8_t> WithChunkChecksums(const uint8_t* data, size_t size) {
  std::vector<uint8_t> png(data, data + size);
  for (size_t at = 8; at + 12 <= png.size();) {
    size_t length = size_t(png[at]) << 24 | size_t(png[at + 1]) << 16 | size_t(png[at + 2]) << 8 | png[at + 3];
    if (length > png.size() - at - 12) break;
    uint32_t crc = uint32_t(crc32(0, &png[at + 4], uInt(length + 4)));
    for (int i = 0; i < 4; i++) png[at + 8 + length + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
    at += length + 12;
  }
  return png;
}

}  // namespace

int FuzzPng(const uint8_t* data, size_t size) {
  OpenFuzzDisplay();
  std::vector<uint8_t> png = WithChunkChecksums(data, size);
  std::string path = EmbedInput("fuzz.png", png.data(), png.size());
  int image = LoadImage(path, int(size % 4));  // masked, filtered, both or neither
  if (image == 0) return 0;
  int width = ImageWidth(image), height = ImageHeight(image);
  FUZZ_CHECK(width > 0 && height > 0 && width <= 8192 && height <= 8192, "image size out of range");
  DrawImage(image, 10, 10, 0);
  ImagesCollide(image, 0, 0, 0, image, float(width / 2), float(height / 2), 0);
  // Cells as the game cuts its sheets: a quarter of the picture each.
  int strip = LoadImageStrip(path, (width + 1) / 2, (height + 1) / 2, 0, 4, IMAGE_MASKED);
  if (strip) {
    DrawImage(strip, 20, 20, ImageFrames(strip) - 1);
    FreeImage(strip);
  }
  FreeImage(image);
  return 0;
}
