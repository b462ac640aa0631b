// media_draw_bench.cpp — what drawing costs: DrawImage against the bare SDL
// call it wraps, and one typical game frame (300 tiles, 50 rotated sprites,
// 10 lines of text at 800x600). The renderer comes from PLIMBO_RENDERER:
// "software" (default, headless) or "opengl" (needs a display, e.g. xvfb-run).
// This file includes SDL because it measures SDL itself.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "media/internal.h"
#include "media/media.h"

namespace {

const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
std::vector<uint32_t> SpritePixels;  // 64 × 64, a soft disc

bool OpenBenchDisplay(benchmark::State& state) {
  const char* env = std::getenv("PLIMBO_RENDERER");
  bool gl = env && std::string(env) == "opengl";
  StartMedia({!gl, false});
  ChooseRenderer(gl ? RENDERER_OPENGL : RENDERER_DX7);
  if (!OpenDisplay(800, 600, 0, 60)) {
    state.SkipWithError(("display: " + std::string(SDL_GetError())).c_str());
    return false;
  }
  if (gl && RendererName() != "opengl") {
    state.SkipWithError(("opengl not available, got " + RendererName()).c_str());
    return false;
  }
  state.SetLabel(RendererName());
  SetVirtualResolution(1280, 960);
  return true;
}

std::string SpritePng() {
  SpritePixels.resize(64 * 64);
  std::vector<uint8_t> rgba(64 * 64 * 4);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      int d2 = (x - 32) * (x - 32) + (y - 32) * (y - 32);
      uint8_t a = d2 < 900 ? 255 : d2 < 1024 ? 128 : 0;
      uint8_t* p = &rgba[(y * 64 + x) * 4];
      p[0] = uint8_t(x * 4), p[1] = uint8_t(y * 4), p[2] = 200, p[3] = a;
      SpritePixels[y * 64 + x] = uint32_t(a) << 24 | p[0] << 16 | p[1] << 8 | p[2];
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 64;
  image.height = 64;
  image.format = PNG_FORMAT_RGBA;
  std::string path = "bench_sprite.png";
  png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
  return path;
}

// 100 draws per iteration; the timer waits until the renderer has drawn them.
void DrawMany(bool rotated, bool direct, benchmark::State& state) {
  if (!OpenBenchDisplay(state)) return;
  AutoCentre(true);
  int image = LoadImage(SpritePng(), IMAGE_FILTERED);
  SDL_Texture* texture = SDL_CreateTexture(media::Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 64, 64);
  SDL_UpdateTexture(texture, nullptr, SpritePixels.data(), 64 * 4);
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureColorMod(texture, 255, 200, 100);
  SetColour(255, 200, 100);
  SetBlend(BLEND_ALPHA);
  SetRotation(rotated ? 30 : 0);
  SetScale(1.5f, 1.5f);
  SDL_Rect src{0, 0, 64, 64};
  SDL_FPoint centre{48, 48};
  ProcessTimer timer(state);
  for (auto _ : state) {
    timer.Start();
    for (int i = 0; i < 100; ++i) {
      float x = float(100 + (i % 10) * 100), y = float(100 + (i / 10) * 80);
      if (direct) {
        SDL_FRect dst{x - 48, y - 48, 96, 96};
        SDL_RenderCopyExF(media::Renderer, texture, &src, &dst, rotated ? 30 : 0, &centre, SDL_FLIP_NONE);
      } else {
        DrawImage(image, x, y, 0);
      }
    }
    timer.Stop();
  }
  timer.Report(100);
  state.SetItemsProcessed(state.iterations() * 100);
  SDL_DestroyTexture(texture);
  StopMedia();
}

void BM_DrawImage(benchmark::State& state) { DrawMany(state.range(0), false, state); }
void BM_RenderCopyExF(benchmark::State& state) { DrawMany(state.range(0), true, state); }
BENCHMARK(BM_DrawImage)->Arg(0)->Arg(1)->ArgName("rotated")->UseManualTime();
BENCHMARK(BM_RenderCopyExF)->Arg(0)->Arg(1)->ArgName("rotated")->UseManualTime();

void BM_GameFrame(benchmark::State& state) {
  if (!OpenBenchDisplay(state)) return;
  AutoCentre(true);
  int sprite = LoadImage(SpritePng(), IMAGE_FILTERED);
  int font = LoadFont(kFont, 24, true);
  SetFont(font);
  int frame = 0;
  ProcessTimer timer(state);
  for (auto _ : state) {
    timer.Start();
    Cls();
    SetRotation(0);
    SetScale(1, 1);
    SetBlend(BLEND_ALPHA);
    SetColour(255, 255, 255);
    for (int t = 0; t < 300; ++t)  // 20 × 15 tiles of 64 cover the virtual screen
      DrawImage(sprite, float(32 + (t % 20) * 64), float(32 + (t / 20) * 64), 0);
    SetBlend(BLEND_ADD);
    for (int s = 0; s < 50; ++s) {
      SetRotation(float(frame * 3 + s * 7));
      DrawImage(sprite, float(100 + s * 22), float(200 + (s % 7) * 90), 0);
    }
    SetRotation(0);
    SetBlend(BLEND_ALPHA);
    for (int line = 0; line < 10; ++line)
      DrawText("Score 12345  Level 7  The quick brown fox", 40, float(40 + line * 40));
    Flip(0);
    timer.Stop();
    ++frame;
  }
  timer.Report(1);
  state.SetItemsProcessed(state.iterations());
  StopMedia();
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
