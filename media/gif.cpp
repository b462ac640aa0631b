// gif.cpp — GIF capture: the last ten seconds of the window at half its size
// and 15 frames a second, kept in a ring, and written as an animated GIF
// (giflib) on a worker thread, so the game never waits for it.
//
// A kept frame is the 2 x 2 average of the window's pixels mapped onto one
// fixed 6 x 7 x 6 colour cube with an ordered dither: one byte a pixel and
// three table lookups each, so keeping a frame is cheap and saving needs no
// palette of its own. The ring holds each frame deflated at zlib's fastest
// level (about a millisecond a frame): ten seconds of raw frames would be
// the largest thing in the game's memory.
#include <gif_lib.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

#include "media/core_internal.h"
#include "media/display_internal.h"
#include "media/internal.h"
#include "media/media.h"

namespace {

// Every fourth frame at 60 frames a second: reading an OpenGL window back
// costs about 3 ms a time on this kind of machine, so a frame in four keeps
// the average under 1 ms.
constexpr int StepMillis = 66;
constexpr int RingFrames = 10 * 1000 / StepMillis + 1;
constexpr int Levels[3] = {6, 7, 6};  // red, green, blue
constexpr int CubeColours = 6 * 7 * 6;

struct GifFrame {
  std::vector<uint8_t> packed;  // cube indices, row after row, deflated
  int width = 0, height = 0;
  uint32_t at = 0;  // the clock when it was shown
};

std::vector<GifFrame> Ring;
int RingNext, RingHeld;
bool Captured;  // LastAt holds a time
uint32_t LastAt;
std::vector<uint32_t> Scratch;
std::vector<uint8_t> Shrunk;   // the frame being kept, before deflating
std::vector<uint8_t> Packing;  // and while deflating

// Each channel's share of the cube index, per cell of the 4 x 4 dither.
uint8_t Cube[3][16][256];

std::thread Worker;
std::mutex OutcomeLock;
bool Busy;    // a save runs (written by the main thread only)
int Outcome;  // 0 nothing new, 1 saved, -1 failed; under OutcomeLock
std::string OutcomePath, OutcomeWhy;

void BuildCube() {
  static const int Bayer[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
  const int weight[3] = {Levels[1] * Levels[2], Levels[2], 1};
  for (int c = 0; c < 3; c++)
    for (int cell = 0; cell < 16; cell++)
      for (int v = 0; v < 256; v++) {
        float step = 255.0f / float(Levels[c] - 1);
        int level = int(float(v) / step + (float(Bayer[cell]) + 0.5f) / 16.0f);
        Cube[c][cell][v] = uint8_t(std::min(level, Levels[c] - 1) * weight[c]);
      }
}

ColorMapObject* CubePalette() {
  GifColorType colours[256] = {};
  for (int i = 0; i < CubeColours; i++) {
    colours[i].Red = GifByteType(i / 42 * 255 / 5);
    colours[i].Green = GifByteType(i / 6 % 7 * 255 / 6);
    colours[i].Blue = GifByteType(i % 6 * 255 / 5);
  }
  return GifMakeMapObject(256, colours);
}

void Shrink(const uint32_t* window, int pitch, const GifFrame& frame, std::vector<uint8_t>& shrunk) {
  shrunk.resize(size_t(frame.width) * size_t(frame.height));
  uint8_t* out = shrunk.data();
  for (int y = 0; y < frame.height; y++) {
    const uint32_t* top = window + size_t(2 * y) * size_t(pitch);
    const uint32_t* bottom = top + pitch;
    for (int x = 0; x < frame.width; x++) {
      uint32_t a = top[2 * x], b = top[2 * x + 1], c = bottom[2 * x], d = bottom[2 * x + 1];
      // Two channels at a time: each sum of four bytes fits its 16 bits.
      uint32_t redBlue = (a & 0xFF00FF) + (b & 0xFF00FF) + (c & 0xFF00FF) + (d & 0xFF00FF);
      uint32_t green = (a & 0xFF00) + (b & 0xFF00) + (c & 0xFF00) + (d & 0xFF00);
      int cell = (y & 3) * 4 + (x & 3);
      *out++ = uint8_t(Cube[0][cell][(redBlue >> 18) & 0xFF] + Cube[1][cell][(green >> 10) & 0xFF] +
                       Cube[2][cell][(redBlue >> 2) & 0xFF]);
    }
  }
}

// Delays are in hundredths of a second, each frame's counted from the first
// so the rounding does not add up; below 2 most viewers play slowly.
int DelayOf(uint32_t first, uint32_t from, uint32_t to) {
  int start = (int(int32_t(from - first)) + 5) / 10, end = (int(int32_t(to - first)) + 5) / 10;
  return std::clamp(end - start, 2, 65535);
}

int Append(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* file = static_cast<std::vector<uint8_t>*>(gif->UserData);
  file->insert(file->end(), bytes, bytes + count);
  return count;
}

// Into a vector of exactly the deflated size: a vector shrunk by resize
// would keep the raw frame's capacity, and the ring would save nothing.
bool Deflate(const std::vector<uint8_t>& raw, std::vector<uint8_t>& packed) {
  uLongf size = compressBound(uLong(raw.size()));
  Packing.resize(size);
  if (compress2(Packing.data(), &size, raw.data(), uLong(raw.size()), Z_BEST_SPEED) != Z_OK) return false;
  packed = std::vector<uint8_t>(Packing.begin(), Packing.begin() + long(size));
  return true;
}

bool Inflate(const GifFrame& frame, std::vector<uint8_t>& raw) {
  uLongf size = uLongf(frame.width) * uLongf(frame.height);
  raw.resize(size);
  return uncompress(raw.data(), &size, frame.packed.data(), uLong(frame.packed.size())) == Z_OK && size == raw.size();
}

bool Encode(std::vector<GifFrame>& frames, std::vector<uint8_t>& file) {
  int error = 0;
  GifFileType* gif = EGifOpen(&file, Append, &error);
  if (!gif) return false;
  EGifSetGifVersion(gif, true);
  ColorMapObject* palette = CubePalette();
  const GifFrame& first = frames.front();
  bool ok = palette && EGifPutScreenDesc(gif, first.width, first.height, 8, 0, palette) == GIF_OK;
  // Played in a loop, as players expect of a captured moment.
  static const GifByteType Loop[3] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK && EGifPutExtensionBlock(gif, 3, Loop) == GIF_OK &&
       EGifPutExtensionTrailer(gif) == GIF_OK;
  std::vector<uint8_t> pixels;
  for (size_t i = 0; ok && i < frames.size(); i++) {
    GifFrame& f = frames[i];
    int delay = i + 1 < frames.size() ? DelayOf(first.at, f.at, frames[i + 1].at) : StepMillis / 10;
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    size_t length = EGifGCBToExtension(&control, extension);
    ok = Inflate(f, pixels) && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, f.width, f.height, false, nullptr) == GIF_OK &&
         EGifPutLine(gif, pixels.data(), f.width * f.height) == GIF_OK;
  }
  GifFreeMapObject(palette);
  return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

void WriteGif(std::vector<GifFrame> frames, std::string path) {
  std::vector<uint8_t> bytes;
  std::string why;
  if (!Encode(frames, bytes)) {
    why = "the picture could not be encoded";
  } else {
    std::string temp;
    FILE* f = media::OpenTemp(path, &temp);
    bool written = f && fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && !media::CommitTemp(f, temp, path, written ? 0 : errno != 0 ? errno : EIO)) f = nullptr;
    if (!f) why = WriteFailure();  // this thread's own
  }
  std::lock_guard<std::mutex> guard(OutcomeLock);
  Outcome = why.empty() ? 1 : -1;
  OutcomePath = path;
  OutcomeWhy = why;
}

// The kept frames of the newest size, oldest first; the ring starts afresh.
std::vector<GifFrame> TakeRing() {
  std::vector<GifFrame> frames;
  const GifFrame& newest = Ring[size_t((RingNext + RingFrames - 1) % RingFrames)];
  for (int k = RingHeld; k > 0; k--) {
    GifFrame& f = Ring[size_t((RingNext + RingFrames - k) % RingFrames)];
    if (f.width == newest.width && f.height == newest.height) frames.push_back(std::move(f));
  }
  Ring.clear();
  RingNext = RingHeld = 0;
  return frames;
}

}  // namespace

void CaptureGifFrame() {
  uint32_t now = uint32_t(Millisecs());
  if (Captured && int32_t(now - LastAt) < StepMillis) return;
  // Steps keep their rhythm; after a stall (loading, a pause) they start afresh.
  LastAt = Captured && int32_t(now - LastAt) < 2 * StepMillis ? LastAt + StepMillis : now;
  Captured = true;
  int width = 0, height = 0, pitch = 0;
  const uint32_t* window = media::WindowPixels(Scratch, &width, &height, &pitch);
  if (!window || width < 2 || height < 2) return;
  if (Ring.empty()) {
    static std::once_flag built;
    std::call_once(built, BuildCube);
    Ring.resize(RingFrames);
  }
  GifFrame& frame = Ring[size_t(RingNext)];
  frame.width = width / 2;
  frame.height = height / 2;
  frame.at = now;
  Shrink(window, pitch, frame, Shrunk);
  if (!Deflate(Shrunk, frame.packed)) {  // out of memory: the slot holds nothing
    frame.width = frame.height = 0;
    return;
  }
  RingNext = (RingNext + 1) % RingFrames;
  RingHeld = std::min(RingHeld + 1, RingFrames);
}

int GifFramesHeld() { return RingHeld; }

std::string SaveGif(const std::string& path) {
  if (Busy) {
    std::lock_guard<std::mutex> guard(OutcomeLock);
    if (Outcome == 0) return "the last GIF is still being saved";
  }
  if (RingHeld == 0) return "nothing has been shown yet";
  if (Worker.joinable()) Worker.join();
  Busy = true;
  Worker = std::thread(WriteGif, TakeRing(), path);
  return "";
}

int GifSaveOutcome(std::string* path, std::string* why) {
  std::lock_guard<std::mutex> guard(OutcomeLock);
  int outcome = std::exchange(Outcome, 0);
  if (outcome != 0) {
    *path = OutcomePath;
    *why = OutcomeWhy;
    Busy = false;
  }
  return outcome;
}

void WaitForGifSave() {
  if (Worker.joinable()) Worker.join();
}

// A save under way is finished first: the player asked for that file.
void media::GifShutdown() {
  WaitForGifSave();
  Ring.clear();
  Scratch.clear();
  Shrunk.clear();
  Packing.clear();
  RingNext = RingHeld = 0;
  Captured = Busy = false;
  Outcome = 0;
}
