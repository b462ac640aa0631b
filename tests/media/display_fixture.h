// display_fixture.h — a headless 800x600 display for the drawing tests, and
// small PNG files made on the spot (there is no artwork in the tree).
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "media/media.h"

// Writes 0xAARRGGBB pixels as an RGBA PNG.
inline void WriteTestPng(const std::string& path, int w, int h, const std::vector<uint32_t>& argb) {
  std::vector<uint8_t> rgba(argb.size() * 4);
  for (size_t i = 0; i < argb.size(); ++i) {
    rgba[i * 4] = uint8_t(argb[i] >> 16);
    rgba[i * 4 + 1] = uint8_t(argb[i] >> 8);
    rgba[i * 4 + 2] = uint8_t(argb[i]);
    rgba[i * 4 + 3] = uint8_t(argb[i] >> 24);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = w;
  image.height = h;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr));
}

inline void WriteSolidPng(const std::string& path, int w, int h, uint32_t argb) {
  WriteTestPng(path, w, h, std::vector<uint32_t>(size_t(w) * h, argb));
}

inline int Red(uint32_t c) { return (c >> 16) & 255; }
inline int Green(uint32_t c) { return (c >> 8) & 255; }
inline int Blue(uint32_t c) { return c & 255; }

// Asserts a back-buffer pixel's colour within a tolerance per channel.
#define EXPECT_PIXEL(x, y, r, g, b, tol)                           \
  do {                                                             \
    uint32_t px_ = ReadBackPixel(x, y);                            \
    EXPECT_NEAR(Red(px_), r, tol) << "at " << (x) << "," << (y);   \
    EXPECT_NEAR(Green(px_), g, tol) << "at " << (x) << "," << (y); \
    EXPECT_NEAR(Blue(px_), b, tol) << "at " << (x) << "," << (y);  \
  } while (0)

// 800x600 real, 1280x960 virtual: one virtual unit is 0.625 real pixels.
class HeadlessDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    StartMedia({true, true});
    ChooseRenderer(RENDERER_DX7);
    ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));
    SetVirtualResolution(1280, 960);
    Cls();
    SetColour(255, 255, 255);
    SetAlpha(1);
    SetBlend(BLEND_ALPHA);
    SetRotation(0);
    SetScale(1, 1);
  }
  void TearDown() override { StopMedia(); }

  std::string TempPath(const std::string& name) {
    return std::string(PLIMBO_BINARY_DIR) + "/display_test_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
  }
};
