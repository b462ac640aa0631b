// common_media.cpp — the common media tables.
#include "frame/common_media.h"

#include <algorithm>
#include <iterator>

int ScreenW = 800, ScreenH = 600;
int FontTable[FONT_SLOTS];
int SizedFonts[SIZED_SLOTS];
int IconStrip, IconStripCrisp;
int LogoImage, CommunityLogoImage;
int BadgeGetSound;
int BadgeImage;
int SoundEffects[SoundEffectSlots + 1];
int ChannelTable[CHANNEL_SLOTS];
float ChannelVolume[CHANNEL_SLOTS];

void ResetCommonMedia() {
  ScreenW = 800;
  ScreenH = 600;
  std::fill(std::begin(FontTable), std::end(FontTable), 0);
  std::fill(std::begin(SizedFonts), std::end(SizedFonts), 0);
  IconStrip = IconStripCrisp = LogoImage = CommunityLogoImage = BadgeGetSound = BadgeImage = 0;
  std::fill(std::begin(SoundEffects), std::end(SoundEffects), 0);
  std::fill(std::begin(ChannelTable), std::end(ChannelTable), 0);
  std::fill(std::begin(ChannelVolume), std::end(ChannelVolume), 0.0f);
}
