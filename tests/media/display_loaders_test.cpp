// The image, sound and font loaders against hostile files: each is refused
// before anything the size of its claims is allocated, and named with the
// reason. Files are handed over from memory ("incbin::" names), as a fuzzer
// would, except where the file system itself is the point.
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "tests/media/display_fixture.h"

namespace {

std::string Le(uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; i++) s += char((v >> (8 * i)) & 255);
  return s;
}

std::string Be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string PngChunk(const std::string& type, const std::string& data) {
  std::string body = type + data;
  uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size())));
  return Be32(uint32_t(data.size())) + body + Be32(crc);
}

// A PNG declaring any size, with no pixel data.
std::string PngHeader(uint32_t w, uint32_t h) {
  return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", Be32(w) + Be32(h) + std::string{8, 6, 0, 0, 0}) + PngChunk("IDAT", "") +
         PngChunk("IEND", "");
}

std::string SmallPng() {
  std::vector<uint8_t> rgba(8 * 8 * 4, 255);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 8;
  image.format = PNG_FORMAT_RGBA;
  std::string out(1024, '\0');
  png_alloc_size_t size = out.size();
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr));
  return out.substr(0, size);
}

// A WAV with the format fields given, declaring `declared` data bytes of
// which `present` follow.
std::string Wav(int tag, int channels, uint32_t rate, int bits, uint32_t declared, uint32_t present) {
  std::string fmt = Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * channels * bits / 8, 4) +
                    Le(channels * bits / 8, 2) + Le(bits, 2);
  std::string s = "WAVEfmt " + Le(16, 4) + fmt + "data" + Le(declared, 4) + std::string(present, '\0');
  return "RIFF" + Le(uint32_t(s.size()), 4) + s;
}

}  // namespace

TEST_F(HeadlessDisplay, LoadersRefuseInsaneFilesAndNameTheReason) {
  const std::string folder = TempPath("folder"), huge = TempPath("huge.png");
  std::filesystem::create_directories(folder);
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, 65 << 20);  // sparse: costs no disk
  std::string png = SmallPng();
  struct Case {
    char kind;          // i image, s strip of 4 cells of 8 x 8, w sound, f font
    std::string bytes;  // served from memory, unless path is given
    std::string path;
    std::string reason;  // empty: loads
  } cases[] = {
      {'i', png, "", ""},
      {'i', png.substr(0, png.size() / 2), "", "damaged ("},
      {'i', PngHeader(16384, 16384), "", "too large (16384 x 16384 pixels"},
      {'i', PngHeader(9000, 1), "", "too large (9000 x 1 pixels"},
      {'i', PngHeader(4097, 4097), "", "too large (4097 x 4097 pixels"},
      {'s', png, "", "damaged (a 8 x 8 sheet has no room for 4 cells of 8 x 8 from cell 0)"},
      {'i', "", "no_such_file.png", "missing"},
      {'i', "", folder, "unreadable (not a file)"},
      {'i', "", huge, "too large (68157440 bytes"},
      {'w', Wav(1, 2, 44100, 16, 400, 400), "", ""},
      {'w', Wav(1, 1, 48000, 24, 300, 300), "", ""},
      {'w', Wav(3, 1, 22050, 32, 400, 400), "", ""},
      {'w', Wav(1, 1, 44100, 16, 0xFFFFFFF0u, 1000), "", "damaged (its \"data\" chunk declares 4294967280 bytes"},
      {'w', Wav(1, 0, 44100, 16, 100, 100), "", "damaged (0 channels"},
      {'w', Wav(1, 9, 44100, 16, 90, 90), "", "damaged (9 channels"},
      {'w', Wav(1, 1, 1, 16, 100, 100), "", "damaged (1 Hz"},
      {'w', Wav(1, 1, 44100, 12, 100, 100), "", "unsupported (format 1 with 12-bit"},
      {'w', Wav(2, 1, 44100, 4, 100, 100), "", "unsupported (format 2"},
      {'w', Wav(1, 1, 4000, 8, 601 * 4000, 601 * 4000), "", "too large (601 seconds"},
      {'w', std::string("RIFF\x04\0\0\0WAVE", 12), "", "damaged (no sound data)"},
      {'f', "not a font at all", "", "damaged (not a font FreeType can read)"},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string path = c.path;
    if (path.empty()) {
      path = "incbin::loader_case_" + std::to_string(++n);
      RegisterEmbedded(path.substr(8), c.bytes.data(), c.bytes.size());
    }
    testing::internal::CaptureStderr();
    int handle = c.kind == 'i'   ? LoadImage(path, 0)
                 : c.kind == 's' ? LoadImageStrip(path, 8, 8, 0, 4, 0)
                 : c.kind == 'w' ? LoadSound(path)
                                 : LoadFont(path, 20, true);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(handle != 0, c.reason.empty()) << path << ": " << errors;
    if (c.reason.empty()) continue;
    std::string shown = c.path.empty() ? path : std::filesystem::absolute(path).string();
    EXPECT_EQ(errors.find("plimbo: could not load " + shown + ": " + c.reason), 0u) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line: " << errors;
  }
  std::filesystem::remove_all(folder);
  std::filesystem::remove(huge);
}
