// display.cpp — the window and its SDL renderer: display modes, renderer
// choice, the virtual resolution, clearing and presenting, the system
// pointer, and pixel maps read back from the back buffer.
//
// The virtual resolution is SDL's logical size, so SDL scales every draw to
// the real window and also maps mouse events into virtual units for input.
#include "media/display_internal.h"
#include "media/internal.h"
#include "media/media.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

namespace media {

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
bool SoftDrawingOn = false;

static int HandleCounter = 0;
int NewHandle() { return ++HandleCounter; }

}  // namespace media

using namespace media;

namespace {

struct Pixmap {
  int width, height;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, row by row
};

std::unordered_map<int, Pixmap> Pixmaps;
int RendererChoice = RENDERER_OPENGL;
std::string Caption;
std::vector<uint32_t> IconPixels;  // 0xAARRGGBB, IconW x IconH
int IconW = 0, IconH = 0;
int RealW = 0, RealH = 0, VirtualW = 0, VirtualH = 0, RefreshHz = 60;
int NextFlipAt = 0;           // clock time the next paced present is due,
double NextFlipFraction = 0;  // plus this fraction of a millisecond

// PLIMBO_FRAMELOG=path (a developer's switch): one line per present, the
// system's monotonic clock in microseconds and the program's clock in
// milliseconds, so the frame rate a player sees can be measured from outside
// (scripts/frame_stats.sh).
FILE* FrameLog = nullptr;
bool FrameLogChecked = false;

void LogPresent() {
  if (!FrameLogChecked) {
    FrameLogChecked = true;
    const char* path = std::getenv("PLIMBO_FRAMELOG");
    if (path && *path && !(FrameLog = std::fopen(path, "w")))
      LogFailure(std::string("could not write the frame log ") + path);
    if (FrameLog) std::setvbuf(FrameLog, nullptr, _IOLBF, 0);  // readable while the program runs
  }
  if (!FrameLog) return;
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  std::fprintf(FrameLog, "%lld %d\n",
               static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()), Millisecs());
}

// With no screen to reach, SDL falls back to its invisible "offscreen"
// driver, and a game nobody can see would wait for ever for a key. It
// counts only when asked for by name.
bool VideoReady() {
  // The software renderer's window pixels go to the screen as they are. Left
  // to itself SDL would show them through an OpenGL texture: on a machine
  // without a graphics card that loads and runs the whole software OpenGL
  // driver (70 MiB, and a full-screen draw every frame) just to present.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && SDL_strcmp(driver, "offscreen") == 0 && !SDL_GetHint(SDL_HINT_VIDEODRIVER)) {
    SDL_SetError("no screen found (is DISPLAY set? --headless runs without one)");
    return false;
  }
  return true;
}

// Every new window gets the icon; SDL copies the pixels.
void ApplyIcon() {
  if (!Window || IconPixels.empty()) return;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(IconPixels.data(), IconW, IconH, 32, IconW * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(Window, surface);
  SDL_FreeSurface(surface);
}

// The SDL render driver each renderer choice asks for.
const char* const RenderDrivers[3] = {"opengl", "opengles2", "software"};

SDL_Renderer* CreateRenderer() {
  const char* wanted = RenderDrivers[RendererChoice];
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && SDL_strcmp(info.name, wanted) == 0) {
      if (SDL_Renderer* r = SDL_CreateRenderer(Window, i, 0)) return r;
    }
  }
  if (SDL_Renderer* r = SDL_CreateRenderer(Window, -1, 0)) return r;
  return SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
}

// Reads real back-buffer pixels. The logical size is lifted for the read so
// the rectangle means real pixels whatever the virtual resolution is.
bool ReadPixels(int x, int y, int w, int h, uint32_t* out) {
  if (!Renderer || w <= 0 || h <= 0) return false;
  SDL_RenderSetLogicalSize(Renderer, 0, 0);
  SDL_Rect rect{x, y, w, h};
  bool ok = SDL_RenderReadPixels(Renderer, &rect, SDL_PIXELFORMAT_ARGB8888, out, w * 4) == 0;
  SDL_RenderSetLogicalSize(Renderer, VirtualW, VirtualH);
  // The screen is opaque whatever the surface keeps in its alpha bits.
  for (int i = 0; i < w * h; ++i) out[i] |= 0xFF000000u;
  return ok;
}

// Grabs the part of the rectangle that lies on screen; the rest stays black.
std::vector<uint32_t> Grab(int x, int y, int w, int h) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0xFF000000u);
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, RealW), y1 = std::min(y + h, RealH);
  if (x1 <= x0 || y1 <= y0) return pixels;
  std::vector<uint32_t> part(static_cast<size_t>(x1 - x0) * (y1 - y0));
  if (!ReadPixels(x0, y0, x1 - x0, y1 - y0, part.data())) return pixels;
  for (int row = y0; row < y1; ++row)
    std::copy_n(&part[static_cast<size_t>(row - y0) * (x1 - x0)], x1 - x0,
                &pixels[static_cast<size_t>(row - y) * w + (x0 - x)]);
  return pixels;
}

// SDL's software renderer draws into the window's own pixels; when they
// are 32-bit, the program draws there itself (software.cpp).
bool SoftwareSurface() {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(Renderer, &info) != 0 || !(info.flags & SDL_RENDERER_SOFTWARE)) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(Window);
  return surface && surface->format->BytesPerPixel == 4 && surface->format->Amask == 0 &&
         surface->format->Rmask == 0xFF0000u && surface->format->Gmask == 0xFF00u && surface->format->Bmask == 0xFFu;
}

const Pixmap* FindPixmap(int pixmap) {
  auto it = Pixmaps.find(pixmap);
  return it == Pixmaps.end() ? nullptr : &it->second;
}

}  // namespace

std::vector<DisplayMode> ListDisplayModes() {
  std::vector<DisplayMode> modes;
  if (!VideoReady()) return modes;
  for (int i = 0; i < SDL_GetNumDisplayModes(0); ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) == 0)
      modes.push_back({m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate});
  }
  return modes;
}

bool FullScreenModeExists(int width, int height, int depth) {
  for (const DisplayMode& m : ListDisplayModes())
    if (m.width == width && m.height == height && m.depth == depth) return true;
  return false;
}

void ChooseRenderer(int choice) {
  if (choice >= RENDERER_OPENGL && choice <= RENDERER_DX7) RendererChoice = choice;
}

std::string RendererName() {
  SDL_RendererInfo info;
  if (!Renderer || SDL_GetRendererInfo(Renderer, &info) != 0) return "";
  return info.name;
}

// SDL's own fallback may also make "opengles", an OpenGL ES as the second
// choice's is.
int RendererInUse() {
  std::string name = RendererName();
  for (int choice = RENDERER_OPENGL; choice <= RENDERER_DX7; choice++)
    if (name == RenderDrivers[choice]) return choice;
  return name == "opengles" ? RENDERER_DX9 : -1;
}

void SetCaption(const std::string& caption) {
  Caption = caption;
  if (Window) SDL_SetWindowTitle(Window, caption.c_str());
}

// An icon is a few kilobytes; the same bound as the game's art.
bool SetWindowIcon(const std::string& path) {
  std::vector<uint8_t> file;
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!ReadMediaFile(path, 1 << 20, file).empty() || !DecodePNG(file, pixels, w, h).empty()) return false;
  IconPixels = std::move(pixels);
  IconW = w;
  IconH = h;
  ApplyIcon();
  return true;
}

bool OpenDisplay(int width, int height, int depth, int hz) {
  CloseDisplay();
  if (width <= 0 || height <= 0) return false;
  auto failed = [&](const char* doing) {
    LogFailure(std::string("could not ") + doing + " a " + std::to_string(width) + " x " + std::to_string(height) +
               (depth > 0 ? " full screen: " : " window: ") + SDL_GetError());
    return false;
  };
  if (!VideoReady()) return failed("open");
  // A window the player may resize: the virtual screen is scaled to fit
  // and letterboxed, and the pointer maps back through the same place.
  Uint32 flags = depth > 0 ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
  Window = SDL_CreateWindow(Caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
  if (!Window) return failed("open");
  ApplyIcon();
  if (depth > 0) {
    SDL_DisplayMode want{0, width, height, hz, nullptr}, got;
    if (SDL_GetClosestDisplayMode(0, &want, &got)) SDL_SetWindowDisplayMode(Window, &got);
  }
  Renderer = CreateRenderer();
  if (!Renderer) {
    SDL_DestroyWindow(Window);
    Window = nullptr;
    return failed("draw in");
  }
  RealW = width;
  RealH = height;
  SoftDrawingOn = SoftwareSurface();
  RefreshHz = hz > 0 ? hz : 60;
  NextFlipAt = 0;
  NextFlipFraction = 0;
  SetVirtualResolution(width, height);
  Cls();
  return true;
}

void CloseDisplay() {
  FreeAllImages();
  FreeAllFonts();
  if (Renderer) SDL_DestroyRenderer(Renderer);
  if (Window) SDL_DestroyWindow(Window);
  Renderer = nullptr;
  Window = nullptr;
  SoftDrawingOn = false;
  RealW = RealH = VirtualW = VirtualH = 0;
}

bool DisplayOpen() { return Renderer != nullptr; }
int RealWidth() { return RealW; }
int RealHeight() { return RealH; }

// Over the desktop as it is, never changing the screen's own mode: instant,
// and safe at any window size, since the virtual screen scales to fit.
bool SetFullScreen(bool on) {
  if (!Window) return false;
  if (SDL_SetWindowFullscreen(Window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
    LogFailure(std::string("could not ") + (on ? "go to full screen: " : "leave full screen: ") + SDL_GetError());
  SDL_GetRendererOutputSize(Renderer, &RealW, &RealH);
  return DisplayFullScreen() == on;
}

bool DisplayFullScreen() { return Window && (SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN) != 0; }

void SetVirtualResolution(int width, int height) {
  if (width <= 0 || height <= 0) return;
  VirtualW = width;
  VirtualH = height;
  if (Renderer) SDL_RenderSetLogicalSize(Renderer, width, height);
}

const int& VirtW = VirtualW;
const int& VirtH = VirtualH;

void (*media::DrawRecorder)(const DrawnBox&) = nullptr;
void SetDrawRecorder(void (*recorder)(const DrawnBox&)) { media::DrawRecorder = recorder; }

void Cls() {
  if (!Renderer) return;
  if (DrawRecorder) DrawRecorder(DrawnBox{DRAWN_CLEAR, "", 0, 0, 0, 0, false});
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
}

void Flip(int sync) {
  if (!Renderer) return;
  if (sync < 0) {
    // Paced by the clock: wait for the next refresh slot, and start afresh
    // after a long stall instead of rushing to catch up.
    int now = Millisecs();
    double ahead = ClockDiff(NextFlipAt, now) + NextFlipFraction;
    if (ahead > 1000.0 || ahead < -1000.0 / RefreshHz) {
      NextFlipAt = now;
      NextFlipFraction = ahead = 0;
    }
    if (ahead > 0) SleepMs(static_cast<int>(std::ceil(ahead)));
    double step = NextFlipFraction + 1000.0 / RefreshHz;
    NextFlipAt = int(uint32_t(NextFlipAt) + uint32_t(step));
    NextFlipFraction = step - std::floor(step);
  }
  SDL_RenderPresent(Renderer);
  LogPresent();
}

void HidePointer() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void ShowPointer() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

// Reads see the new position at once; the motion event that follows brings
// the same one.
void MovePointer(float x, float y) {
  if (!Renderer) return;
  InputPointerMoved(x, y);
  int wx, wy;
  SDL_RenderLogicalToWindow(Renderer, x, y, &wx, &wy);
  if (SDL_GetMouseFocus() == Window) {
    SDL_WarpMouseInWindow(Window, wx, wy);
    return;
  }
  // Without mouse focus (headless, or the window in the background) SDL
  // reports a warp for no window, so the renderer would not map it into
  // virtual units. Post the motion for our window instead; it then takes
  // the same path as a real one.
  SDL_Event motion{};
  motion.motion.type = SDL_MOUSEMOTION;
  motion.motion.windowID = SDL_GetWindowID(Window);
  motion.motion.x = wx;
  motion.motion.y = wy;
  SDL_PushEvent(&motion);
}

int GrabPixmap(int x, int y, int width, int height) {
  if (!Renderer || width <= 0 || height <= 0) return 0;
  int handle = NewHandle();
  Pixmaps[handle] = {width, height, Grab(x, y, width, height)};
  return handle;
}

int GrabImage(int x, int y, int width, int height) {
  if (!Renderer || width <= 0 || height <= 0) return 0;
  return ImageFromPixels(Grab(x, y, width, height), width, height, 0);
}

uint32_t PixmapPixel(int pixmap, int x, int y) {
  const Pixmap* p = FindPixmap(pixmap);
  if (!p || x < 0 || y < 0 || x >= p->width || y >= p->height) return 0;
  return p->pixels[static_cast<size_t>(y) * p->width + x];
}

int PixmapWidth(int pixmap) {
  const Pixmap* p = FindPixmap(pixmap);
  return p ? p->width : 0;
}

int PixmapHeight(int pixmap) {
  const Pixmap* p = FindPixmap(pixmap);
  return p ? p->height : 0;
}

bool SavePixmapPNG(int pixmap, const std::string& path, int level) {
  const Pixmap* p = FindPixmap(pixmap);
  return p ? WritePNG(path, p->pixels, p->width, p->height, level) : WriteFailed("there is no picture to save");
}

void FreePixmap(int pixmap) {
  if (Pixmaps.erase(pixmap)) FreedHandles++;
}

// Reading back one pixel makes any renderer finish what it was asked to draw.
void FinishDrawing() {
  if (Renderer && !SoftwareDrawing()) ReadBackPixel(0, 0);
}

uint32_t ReadBackPixel(int x, int y) {
  uint32_t pixel = 0;
  if (x < 0 || y < 0 || x >= RealW || y >= RealH || !ReadPixels(x, y, 1, 1, &pixel)) return 0;
  return pixel;
}

namespace media {

// As SDL's logical size places the virtual screen: scaled to fit and
// centred, bars on the two sides that are left over.
ViewPlace CurrentView() {
  if (VirtualW <= 0 || VirtualH <= 0 || RealW <= 0 || RealH <= 0) return {1, 0, 0, RealW, RealH};
  float want = float(VirtualW) / VirtualH, real = float(RealW) / RealH;
  if (std::fabs(want - real) < 0.0001f) return {float(RealW) / VirtualW, 0, 0, RealW, RealH};
  if (want > real) {
    float scale = float(RealW) / VirtualW;
    int h = int(std::floor(VirtualH * scale));
    return {scale, 0, (RealH - h) / 2, RealW, h};
  }
  float scale = float(RealH) / VirtualH;
  int w = int(std::floor(VirtualW * scale));
  return {scale, (RealW - w) / 2, 0, w, RealH};
}

void DisplayHandleEvent(const SDL_Event& event) {
  // When the player (or a desktop manager) resizes the window, the real
  // size follows so the letterbox, grabs and pointer moves stay right.
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && Renderer)
    SDL_GetRendererOutputSize(Renderer, &RealW, &RealH);
}

// The software drawing's pixels are the window's own and are read in place;
// any other renderer's are read back whole (the logical size lifted, as for
// a grab).
const uint32_t* WindowPixels(std::vector<uint32_t>& scratch, int* width, int* height, int* pitch) {
  if (!Renderer || RealW <= 0 || RealH <= 0) return nullptr;
  SoftTarget target = CurrentTarget();
  if (SDL_Surface* surface = target.pixels ? SDL_GetWindowSurface(Window) : nullptr) {
    *width = surface->w, *height = surface->h, *pitch = target.pitch;
    return target.pixels;
  }
  // In the window's own layout when it is one the caller reads (the alpha
  // byte aside), which a renderer copies out instead of converting.
  uint32_t format = SDL_GetWindowPixelFormat(Window);
  if (format != SDL_PIXELFORMAT_RGB888) format = SDL_PIXELFORMAT_ARGB8888;
  scratch.resize(size_t(RealW) * size_t(RealH));
  *width = RealW, *height = RealH, *pitch = RealW;
  SDL_RenderSetLogicalSize(Renderer, 0, 0);
  bool read = SDL_RenderReadPixels(Renderer, nullptr, format, scratch.data(), RealW * 4) == 0;
  SDL_RenderSetLogicalSize(Renderer, VirtualW, VirtualH);
  return read ? scratch.data() : nullptr;
}

int PixmapCount() { return int(Pixmaps.size()); }

int64_t DisplayBytes() {
  int64_t bytes = ImageBytes() + FontBytes();
  for (auto& [handle, pixmap] : Pixmaps) bytes += int64_t(pixmap.pixels.size()) * 4;
  return bytes;
}

// Back to the state of a program that never drew: a later start (the next
// test in the same process) must not inherit a scale, tint or renderer.
void DisplayShutdown() {
  CloseDisplay();
  Pixmaps.clear();
  FontShutdown();
  Draw = DrawState();
  AutoCentre(false);
  RendererChoice = RENDERER_OPENGL;
  Caption.clear();
  IconPixels.clear();
  IconW = IconH = 0;
  NextFlipAt = 0;
  NextFlipFraction = 0;
  if (FrameLog) std::fclose(FrameLog);
  FrameLog = nullptr;
  FrameLogChecked = false;
}

}  // namespace media
