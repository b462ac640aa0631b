// software.cpp — how the software renderer draws (the "DirectX 7" choice,
// the fallback when nothing else opens, and every headless run): each
// image, rectangle and glyph goes in one pass straight into the window's
// pixels, at window resolution.
//
// SDL's own software renderer stretches every scaled copy into a temporary
// surface before blending it (an allocation and two passes per draw, and
// with a virtual screen every draw is scaled), and draws turned copies as
// triangles through its most general per-pixel blitter. Here the sampling
// is the same (smooth stretches of filtered images and upright glyphs with
// SDL's own fixed-point steps, the nearest texel for turned copies, as its
// triangles took) and so is the blend arithmetic, so the picture is what
// SDL drew, only several times sooner; an image drawn at the same size
// frame after frame is stretched once and kept.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "media/display_internal.h"
#include "media/internal.h"
#include "media/media.h"

namespace media {

namespace {

// The drawing state's colour, alpha and blend, as every pixel needs them.
struct Paint {
  uint32_t r, g, b, a;
  bool tint, fade;  // colour other than white; alpha below 1
  int blend;
};

Paint CurrentPaint() {
  Paint p{Draw.r, Draw.g, Draw.b, uint32_t(Draw.alpha * 255.0f + 0.5f), false, false, Draw.blend};
  p.tint = p.r != 255 || p.g != 255 || p.b != 255;
  p.fade = p.a != 255;
  return p;
}

// x / 255 rounded down in each of two 16-bit lanes (bits 0-15 and 16-31),
// exact for lanes up to 255 * 255.
inline uint32_t Div255x2(uint32_t x) { return ((x + 0x10001u + ((x >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu; }

// One source pixel onto one window pixel, with SDL's arithmetic: the
// source is tinted and faded, then (for alpha and additive blending)
// multiplied by its own alpha.
template <int Blend>
inline uint32_t Mix(uint32_t d, uint32_t s, const Paint& p) {
  uint32_t sa = s >> 24, sr = (s >> 16) & 255, sg = (s >> 8) & 255, sb = s & 255;
  if (p.tint) sr = sr * p.r / 255, sg = sg * p.g / 255, sb = sb * p.b / 255;
  if (p.fade) sa = sa * p.a / 255;
  uint32_t dr = (d >> 16) & 255, dg = (d >> 8) & 255, db = d & 255;
  if constexpr (Blend == BLEND_SOLID) {
    dr = sr, dg = sg, db = sb;
  } else if constexpr (Blend == BLEND_MULTIPLY) {
    dr = sr * dr / 255, dg = sg * dg / 255, db = sb * db / 255;
  } else {
    if (sa == 0) return d;
    if constexpr (Blend == BLEND_ALPHA) {
      if (sa == 255) return (d & 0xFF000000u) | sr << 16 | sg << 8 | sb;
      uint32_t rb = Div255x2((sr << 16 | sb) * sa) + Div255x2((d & 0xFF00FFu) * (255 - sa));
      uint32_t g = Div255x2(sg * sa) + Div255x2(((d >> 8) & 255) * (255 - sa));
      return (d & 0xFF000000u) | rb | g << 8;
    } else {
      if ((sr | sg | sb) == 0) return d;  // adding black
    }
    if (sa < 255) sr = sr * sa / 255, sg = sg * sa / 255, sb = sb * sa / 255;
    if constexpr (Blend == BLEND_ADD) {
      dr = std::min(sr + dr, 255u), dg = std::min(sg + dg, 255u), db = std::min(sb + db, 255u);
    } else {
      dr = sr + (255 - sa) * dr / 255, dg = sg + (255 - sa) * dg / 255, db = sb + (255 - sa) * db / 255;
    }
  }
  return (d & 0xFF000000u) | dr << 16 | dg << 8 | db;
}

// A run of window pixels multiplied by a run of source pixels, channel by
// channel, the window's alpha kept: the multiply blend of an untinted,
// unfaded copy (the full-screen vignette), four pixels at a time where the
// processor can.
void MultiplyRun(uint32_t* out, const uint32_t* in, int n, const Paint& p) {
  int i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi16(1), alpha = _mm_set1_epi32(int(0xFF000000u));
  auto product = [&](__m128i d, __m128i s) {  // d * s / 255 rounded down, 16-bit lanes
    __m128i x = _mm_mullo_epi16(d, s);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
  };
  for (; i + 4 <= n; i += 4) {
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    __m128i lo = product(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
    __m128i hi = product(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
    __m128i mixed = _mm_or_si128(_mm_andnot_si128(alpha, _mm_packus_epi16(lo, hi)), _mm_and_si128(alpha, d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), mixed);
  }
#endif
  for (; i < n; i++) out[i] = Mix<BLEND_MULTIPLY>(out[i], in[i], p);
}

// Text in the alpha blend: every coverage value stands for one colour and
// opacity, so each is worked out once per colour: the premultiplied colour
// and what is left of the window pixel.
struct Ink {
  uint32_t colour[256], keep[256];
};

const Ink& InkFor(const Paint& p) {
  static Ink ink;
  static uint32_t made = 0;  // r, g, b, a of the table, plus one
  uint32_t key = (p.r << 24 | p.g << 16 | p.b << 8 | p.a) + 1;
  if (key == made && key != 0) return ink;
  made = key;
  for (uint32_t c = 0; c < 256; c++) {
    uint32_t sa = p.fade ? c * p.a / 255 : c;
    ink.colour[c] = Div255x2((p.r << 16 | p.b) * sa) | (p.g * sa / 255) << 8;
    ink.keep[c] = 255 - sa;
  }
  return ink;
}

// The window pixel times keep / 255 (rounded down) in each channel, all
// three in one multiplication: the channels spread to 16-bit lanes of a
// 64-bit number, where no product or rounding step reaches the next lane.
inline uint32_t MixInk(uint32_t d, const Ink& ink, uint8_t c) {
  uint64_t lanes = uint64_t(d & 0xFF0000u) << 16 | uint64_t(d & 0xFF00u) << 8 | (d & 0xFFu);
  uint64_t x = lanes * ink.keep[c];
  x = ((x + 0x000100010001ull + ((x >> 8) & 0x00FF00FF00FFull)) >> 8) & 0x00FF00FF00FFull;
  uint32_t kept = uint32_t(x & 0xFFu) | uint32_t(x >> 8 & 0xFF00u) | uint32_t(x >> 16 & 0xFF0000u);
  return (d & 0xFF000000u) | (ink.colour[c] + kept);
}

// Runs the span loop with the blend as a constant, so each loop is tight.
template <typename Span>
void WithBlend(int blend, Span span) {
  switch (blend) {
    case BLEND_SOLID: span(std::integral_constant<int, BLEND_SOLID>()); break;
    case BLEND_MULTIPLY: span(std::integral_constant<int, BLEND_MULTIPLY>()); break;
    case BLEND_ADD: span(std::integral_constant<int, BLEND_ADD>()); break;
    default: span(std::integral_constant<int, BLEND_ALPHA>()); break;
  }
}

// A source pixel: 0xAARRGGBB, or coverage as white of that opacity.
inline uint32_t Texel(const SoftSource& s, int x, int y) {
  size_t at = size_t(s.y + y) * size_t(s.pitch) + size_t(s.x + x);
  return s.argb ? s.argb[at] : uint32_t(s.coverage[at]) << 24 | 0xFFFFFFu;
}

// Linear mix of two pixels, channel by channel, with a 7-bit fraction.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f) {
  uint32_t g = 128 - f;
  uint32_t rb = ((a & 0xFF00FFu) * g + (b & 0xFF00FFu) * f) >> 7 & 0xFF00FFu;
  uint32_t ag = (((a >> 8) & 0xFF00FFu) * g + ((b >> 8) & 0xFF00FFu) * f) >> 7 & 0xFF00FFu;
  return ag << 8 | rb;
}

// Where each of n window pixels samples a source of `size` pixels: the
// index of the first of two neighbours and the 7-bit fraction between them,
// exactly as SDL's smooth stretch steps (pixel centres on pixel centres,
// clamped at both ends).
struct Step {
  int index, next, frac;
};

void SmoothSteps(int size, int n, std::vector<Step>& steps) {
  steps.resize(size_t(n));
  int step = int((uint32_t(size) << 16) / uint32_t(n));
  int sum = int((int64_t(step) * 0x8000 + 0x8000) >> 16) - 0x8000;
  for (int i = 0; i < n; i++, sum += step) {
    Step& s = steps[size_t(i)];
    if (size == 1 || sum < 0) {
      s = {0, size > 1 ? 1 : 0, 0};
    } else if ((sum >> 16) > size - 2) {
      s = {size - 2, size - 1, 128};
    } else {
      s = {sum >> 16, (sum >> 16) + 1, (sum >> 9) & 127};
    }
  }
}

// The nearest source pixel for each window pixel, sampled at its centre.
void NearestSteps(int size, int n, std::vector<Step>& steps) {
  steps.resize(size_t(n));
  uint32_t step = (uint32_t(size) << 16) / uint32_t(n), pos = step / 2;
  for (int i = 0; i < n; i++, pos += step) {
    int index = std::min(int(pos >> 16), size - 1);
    steps[size_t(i)] = {index, index, 0};
  }
}

// The source pixel a window pixel takes, through the steps.
inline uint32_t Sample(const SoftSource& s, const Step& col, const Step& row, bool smooth) {
  if (!smooth) return Texel(s, col.index, row.index);
  uint32_t left = Lerp(Texel(s, col.index, row.index), Texel(s, col.index, row.next), uint32_t(row.frac));
  uint32_t right = Lerp(Texel(s, col.next, row.index), Texel(s, col.next, row.next), uint32_t(row.frac));
  return Lerp(left, right, uint32_t(col.frac));
}

// Tints a sampled pixel as the blend would (alpha kept), so a kept copy can
// hold the colour and the blend skip it: the same arithmetic, done once.
inline uint32_t Tinted(uint32_t s, const Paint& p) {
  uint32_t sr = (s >> 16) & 255, sg = (s >> 8) & 255, sb = s & 255;
  return (s & 0xFF000000u) | (sr * p.r / 255) << 16 | (sg * p.g / 255) << 8 | sb * p.b / 255;
}

// The source stretched to w x h and tinted with the paint's colour, kept
// by its image from the second time that size and colour are asked for:
// tiles, backgrounds and the vignette land at the same size in the same
// colour frame after frame, a swelling ball at a new size every frame.
// Null the first time. The oldest is dropped when the image keeps too many.
const SoftScaled* Stretched(const SoftSource& s, int w, int h, bool smooth, const Paint& p) {
  std::vector<SoftScaled>& kept = *s.scaled;
  uint32_t tint = p.r << 16 | p.g << 8 | p.b;
  SoftScaled* found = nullptr;
  for (SoftScaled& k : kept)
    if (k.x == s.x && k.y == s.y && k.w == s.w && k.h == s.h && k.toW == w && k.toH == h && k.tint == tint) found = &k;
  if (found && !found->pixels.empty()) return found;
  if (!found) {
    if (kept.size() >= s.scaledLimit) kept.erase(kept.begin());
    kept.push_back({s.x, s.y, s.w, s.h, w, h, tint, {}});
    return nullptr;
  }
  found->pixels.resize(size_t(w) * size_t(h));
  static std::vector<Step> columns, rows;
  (smooth ? SmoothSteps : NearestSteps)(s.w, w, columns);
  (smooth ? SmoothSteps : NearestSteps)(s.h, h, rows);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      uint32_t pixel = Sample(s, columns[size_t(x)], rows[size_t(y)], smooth);
      found->pixels[size_t(y) * size_t(w) + size_t(x)] = p.tint ? Tinted(pixel, p) : pixel;
    }
  return found;
}

// A copy already at window size onto `to`, mirrored when asked.
void CopyStretched(const SoftTarget& t, const SoftScaled& k, SDL_Rect to, const SDL_Rect& visible, bool mirrorX,
                   bool mirrorY) {
  Paint p = CurrentPaint();
  p.tint = false;  // the copy holds it
  const bool multiplyRuns = p.blend == BLEND_MULTIPLY && !p.fade && !mirrorX;
  WithBlend(p.blend, [&](auto blend) {
    for (int y = visible.y; y < visible.y + visible.h; y++) {
      int row = mirrorY ? to.h - 1 - (y - to.y) : y - to.y;
      const uint32_t* in = k.pixels.data() + size_t(row) * size_t(k.toW);
      uint32_t* out = t.pixels + size_t(y) * size_t(t.pitch);
      if (multiplyRuns) {
        MultiplyRun(out + visible.x, in + (visible.x - to.x), visible.w, p);
        continue;
      }
      for (int x = visible.x; x < visible.x + visible.w; x++) {
        int col = mirrorX ? to.w - 1 - (x - to.x) : x - to.x;
        out[x] = Mix<decltype(blend)::value>(out[x], in[col], p);
      }
    }
  });
}

// An upright copy of the source onto the window rectangle `to` (SDL's
// rectangle: position and size truncated separately), mirrored when asked.
void CopyUpright(const SoftTarget& t, const SoftSource& s, SDL_Rect to, bool mirrorX, bool mirrorY, bool smooth) {
  SDL_Rect visible;
  if (!SDL_IntersectRect(&to, &t.clip, &visible)) return;
  smooth = smooth && (to.w != s.w || to.h != s.h);
  Paint p = CurrentPaint();
  if (s.scaled && s.argb && (to.w != s.w || to.h != s.h || p.tint))
    if (const SoftScaled* k = Stretched(s, to.w, to.h, smooth, p))
      return CopyStretched(t, *k, to, visible, mirrorX, mirrorY);
  static std::vector<Step> columns, rows;
  (smooth ? SmoothSteps : NearestSteps)(s.w, to.w, columns);
  (smooth ? SmoothSteps : NearestSteps)(s.h, to.h, rows);
  if (mirrorX) std::reverse(columns.begin(), columns.end());
  if (mirrorY) std::reverse(rows.begin(), rows.end());
  const int first = visible.x - to.x, last = first + visible.w;
  WithBlend(p.blend, [&](auto blend) {
    for (int y = visible.y; y < visible.y + visible.h; y++) {
      const Step& row = rows[size_t(y - to.y)];
      // The rectangle may start left of the window: index from the row start.
      uint32_t* out = t.pixels + size_t(y) * size_t(t.pitch);
      for (int i = first; i < last; i++) {
        uint32_t& pixel = out[to.x + i];
        pixel = Mix<decltype(blend)::value>(pixel, Sample(s, columns[size_t(i)], row, smooth), p);
      }
    }
  });
}

// A parallelogram on the window: the source's top-left corner lands on a,
// its top-right on b, its bottom-left on c (window pixels). Each pixel
// takes the source pixel under its centre, as SDL's triangles did.
void CopyTurned(const SoftTarget& t, SoftSource s, SDL_FPoint a, SDL_FPoint b, SDL_FPoint c) {
  // Window position to source position: the inverse of the corners' map.
  double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - a.x, vy = c.y - a.y;
  double det = ux * vy - uy * vx;
  if (std::fabs(det) < 1e-9) return;
  // Source units per window pixel along x and along y.
  double duX = vy / det * s.w, duY = -vx / det * s.w, dvX = -uy / det * s.h, dvY = ux / det * s.h;
  double left = std::min({a.x, b.x, c.x, b.x + c.x - a.x}), right = std::max({a.x, b.x, c.x, b.x + c.x - a.x});
  double top = std::min({a.y, b.y, c.y, b.y + c.y - a.y}), bottom = std::max({a.y, b.y, c.y, b.y + c.y - a.y});
  int y0 = std::max(t.clip.y, int(std::floor(top))), y1 = std::min(t.clip.y + t.clip.h, int(std::ceil(bottom)));
  int x0 = std::max(t.clip.x, int(std::floor(left))), x1 = std::min(t.clip.x + t.clip.w, int(std::ceil(right)));
  if (x0 >= x1 || y0 >= y1) return;
  // A small copy (a glyph, a sprite) touches a few pixels in each of many
  // rows of a window larger than the cache, and waiting for each row from
  // memory in turn costs more than the drawing: ask for them all at once.
  if (y1 - y0 <= 64 && x1 - x0 <= 128)
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1 + 15; x += 16)
        __builtin_prefetch(t.pixels + size_t(y) * size_t(t.pitch) + size_t(std::min(x, x1 - 1)), 1);
  Paint p = CurrentPaint();
  // A tinted image turns from a tinted copy of itself, so its pixels blend
  // untinted (an opaque one then simply replaces the window's).
  if (p.tint && s.scaled && s.argb)
    if (const SoftScaled* k = Stretched(s, s.w, s.h, false, p)) {
      s.argb = k->pixels.data(), s.pitch = s.w, s.x = s.y = 0;
      p.tint = false;
    }
  const Ink* ink = s.coverage && p.blend == BLEND_ALPHA ? &InkFor(p) : nullptr;
  const bool plain = p.blend == BLEND_ALPHA && !p.tint && !p.fade;
  const int32_t su = int32_t(std::lround(duX * 65536)), sv = int32_t(std::lround(dvX * 65536));
  WithBlend(p.blend, [&](auto blend) {
    for (int y = y0; y < y1; y++) {
      // Source position at the centre of pixel x0 of this row.
      double u = ((x0 + 0.5 - a.x) * duX + (y + 0.5 - a.y) * duY);
      double v = ((x0 + 0.5 - a.x) * dvX + (y + 0.5 - a.y) * dvY);
      // The pixels whose centres fall inside: 0 <= u < w and 0 <= v < h.
      double from = 0, to = x1 - x0;
      auto keep = [&](double start, double slope, double size) {
        if (slope == 0) {
          if (start < 0 || start >= size) to = from;
          return;
        }
        double enter = (0 - start) / slope, leave = (size - start) / slope;
        if (slope < 0) std::swap(enter, leave);
        from = std::max(from, std::ceil(enter - 1e-9));
        to = std::min(to, std::ceil(leave - 1e-9));
      };
      keep(u, duX, s.w);
      keep(v, dvX, s.h);
      if (from >= to) continue;
      // 16.16 fixed point along the span; each step is exact to 2^-16.
      int32_t fu = int32_t(std::lround((u + from * duX) * 65536)), fv = int32_t(std::lround((v + from * dvX) * 65536));
      uint32_t* out = t.pixels + size_t(y) * size_t(t.pitch);
      int x = x0 + int(from), end = x0 + int(to);
      // The steps are straight lines, so when both ends of the span sample
      // inside the source every step between does, and the clamps, there
      // only for rounding at the edges, can be left out.
      auto inside = [](int64_t f, int size) { return f >= 0 && (f >> 16) < size; };
      const int64_t last = end - x - 1;
      const bool clamp =
          !(inside(fu, s.w) && inside(fu + su * last, s.w) && inside(fv, s.h) && inside(fv + sv * last, s.h));
      auto at = [&](int32_t u, int32_t v) {
        int tx = u >> 16, ty = v >> 16;
        if (clamp) tx = std::clamp(tx, 0, s.w - 1), ty = std::clamp(ty, 0, s.h - 1);
        return size_t(s.y + ty) * size_t(s.pitch) + size_t(s.x + tx);
      };
      if (ink) {
        for (; x < end; x++, fu += su, fv += sv) {
          uint8_t c = s.coverage[at(fu, fv)];
          if (c) out[x] = MixInk(out[x], *ink, c);
        }
        continue;
      }
      if (s.argb) {
        for (; x < end; x++, fu += su, fv += sv) {
          uint32_t texel = s.argb[at(fu, fv)];
          // An opaque texel of an untinted alpha copy simply replaces the pixel.
          out[x] = plain && texel >= 0xFF000000u ? (out[x] & 0xFF000000u) | (texel & 0xFFFFFFu)
                                                 : Mix<decltype(blend)::value>(out[x], texel, p);
        }
        continue;
      }
      for (; x < end; x++, fu += su, fv += sv) {
        int tx = std::clamp(fu >> 16, 0, s.w - 1), ty = std::clamp(fv >> 16, 0, s.h - 1);
        out[x] = Mix<decltype(blend)::value>(out[x], Texel(s, tx, ty), p);
      }
    }
  });
}

}  // namespace

bool SoftwareDrawing() { return SoftDrawingOn && Renderer; }

// The window's pixels, after whatever SDL still has queued (clearing,
// lines) has been drawn, and the letterboxed part of them drawing may touch.
SoftTarget CurrentTarget() {
  SoftTarget t{};
  if (!SoftwareDrawing() || SDL_RenderFlush(Renderer) != 0) return t;
  SDL_Surface* surface = SDL_GetWindowSurface(Window);
  if (!surface || surface->format->BytesPerPixel != 4 || !surface->pixels) return t;
  ViewPlace view = CurrentView();
  SDL_Rect all{0, 0, surface->w, surface->h}, place{view.x, view.y, view.w, view.h};
  if (!SDL_IntersectRect(&all, &place, &t.clip)) return t;
  t.pixels = static_cast<uint32_t*>(surface->pixels);
  t.pitch = surface->pitch / 4;
  return t;
}

void SoftCopy(const SoftSource& s, float left, float top, float width, float height, bool mirrorX, bool mirrorY,
              bool smooth) {
  // As SDL copies, a copy wholly off the virtual screen is dropped. Its
  // edges go to whole window pixels, each edge on its own, so two tiles
  // that meet on the virtual screen meet in the window without a gap.
  if (!(width > 0 && height > 0 && left < VirtW && top < VirtH && left + width > 0 && top + height > 0)) return;
  SoftTarget t = CurrentTarget();
  if (!t.pixels || s.w <= 0 || s.h <= 0) return;
  ViewPlace view = CurrentView();
  auto edge = [&](float v) { return int(std::floor(v * view.scale + 0.001f)); };
  int x0 = edge(left), y0 = edge(top);
  SDL_Rect to{x0 + view.x, y0 + view.y, edge(left + width) - x0, edge(top + height) - y0};
  if (to.w > 0 && to.h > 0) CopyUpright(t, s, to, mirrorX, mirrorY, smooth);
}

void SoftDraw(const SoftSource& s, float w, float h, float handleX, float handleY, float x, float y, bool smooth) {
  bool turned = std::fmod(Draw.rotation, 360.0f) != 0.0f;
  if (!turned) {
    // A mirrored copy keeps its handle as far from the opposite edge.
    float sx = std::fabs(Draw.scaleX), sy = std::fabs(Draw.scaleY);
    float left = x - (Draw.scaleX < 0 ? w - handleX : handleX) * sx;
    float top = y - (Draw.scaleY < 0 ? h - handleY : handleY) * sy;
    return SoftCopy(s, left, top, w * sx, h * sy, Draw.scaleX < 0, Draw.scaleY < 0, smooth);
  }
  SoftTarget t = CurrentTarget();
  if (!t.pixels || s.w <= 0 || s.h <= 0) return;
  ViewPlace view = CurrentView();
  // Turned: three corners, each truncated to a window pixel as
  // SDL placed its triangles' corners.
  float c = CosDeg(Draw.rotation), sn = SinDeg(Draw.rotation);
  auto corner = [&](float u, float v) {
    float px = (u - handleX) * Draw.scaleX, py = (v - handleY) * Draw.scaleY;
    float vx = x + px * c - py * sn, vy = y + px * sn + py * c;
    return SDL_FPoint{float(int(vx * view.scale) + view.x), float(int(vy * view.scale) + view.y)};
  };
  CopyTurned(t, s, corner(0, 0), corner(w, 0), corner(0, h));
}

}  // namespace media
