// png.cpp — PNG reading and writing through libpng, as 0xAARRGGBB pixels.
// Reading uses libpng's simplified API, which turns every colour type into
// RGBA and reports damaged files as an error rather than aborting; it
// decodes from memory, so a loader (or a fuzzer) can hand it any bytes.
#include "media/display_internal.h"
#include "media/internal.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>

namespace media {

// The game's largest picture is 640 x 640; these leave room for far bigger
// art while refusing a header that would cost gigabytes before a single
// pixel is checked (a few kilobytes of zeros can declare 16384 x 16384).
constexpr uint32_t MaxImageSide = 8192;
constexpr uint32_t MaxImagePixels = 4096 * 4096;

// libpng allocates a text or other chunk at its declared length before it
// reads it, so a few bytes declaring a 2 GB chunk cost 2 GB before the file
// is found short. No chunk of a whole file is longer than what follows it.
static std::string ChunkPastTheEnd(const std::vector<uint8_t>& file) {
  static const uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (file.size() < 8 || !std::equal(Signature, Signature + 8, file.begin())) return "";  // libpng tells
  for (size_t at = 8; at + 8 <= file.size();) {
    uint64_t length =
        uint64_t(file[at]) << 24 | uint64_t(file[at + 1]) << 16 | uint64_t(file[at + 2]) << 8 | file[at + 3];
    uint64_t left = file.size() - at - 8;
    if (length > left)
      return "damaged (its \"" + std::string(reinterpret_cast<const char*>(&file[at + 4]), 4) + "\" chunk declares " +
             std::to_string(length) + " bytes, the file has " + std::to_string(left) + " left)";
    at += size_t(length) + 12;
  }
  return "";
}

std::string DecodePNG(const std::vector<uint8_t>& file, std::vector<uint32_t>& pixels, int& width, int& height) {
  if (std::string why = ChunkPastTheEnd(file); !why.empty()) return why;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
    return std::string("damaged (") + image.message + ")";
  image.format = PNG_FORMAT_RGBA;
  if (image.width > MaxImageSide || image.height > MaxImageSide ||
      uint64_t(image.width) * image.height > MaxImagePixels) {
    png_image_free(&image);
    return "too large (" + std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels, at most " +
           std::to_string(MaxImageSide) + " a side and " + std::to_string(MaxImagePixels) + " in all)";
  }
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::string("damaged (") + image.message + ")";
  }
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  pixels.resize(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i) {
    const uint8_t* p = &bytes[i * 4];
    pixels[i] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
  return "";
}

// Kept free of C++ objects with destructors: libpng leaves by longjmp.
static bool WriteRows(FILE* file, png_bytep* rows, int width, int height, int level) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// Written beside the target and renamed over it, so a failed write never
// leaves a broken file behind.
bool WritePNG(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height, int level) {
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height)
    return WriteFailed("there is no picture to save");
  std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    uint32_t c = pixels[i];
    bytes[i * 4] = uint8_t(c >> 16);
    bytes[i * 4 + 1] = uint8_t(c >> 8);
    bytes[i * 4 + 2] = uint8_t(c);
    bytes[i * 4 + 3] = uint8_t(c >> 24);
  }
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = &bytes[static_cast<size_t>(y) * width * 4];

  std::string temp;
  FILE* file = OpenTemp(path, &temp);
  if (!file) return false;
  bool ok = WriteRows(file, rows.data(), width, height, level < 0 ? 0 : level > 9 ? 9 : level);
  return CommitTemp(file, temp, path, ok ? 0 : errno != 0 ? errno : EIO);
}

}  // namespace media
