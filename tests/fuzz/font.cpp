// font.cpp — any bytes as a TrueType font: loaded at one of the sizes the
// game uses, every Latin-1 character measured and drawn, freed.
#include "media/media.h"
#include "tests/fuzz/fuzz.h"

int FuzzFont(const uint8_t* data, size_t size) {
  OpenFuzzDisplay();
  static const int Sizes[] = {12, 24, 48};
  int font = LoadFont(EmbedInput("fuzz.ttf", data, size), Sizes[size % 3], size % 2 == 0);
  if (font == 0) return 0;
  std::string all;
  for (int c = 32; c < 256; c++) all += char(c);
  SetFont(font);
  TextWidth(all);
  FontHeight();
  DrawText(all, 0, 0);
  FreeFont(font);
  return 0;
}
