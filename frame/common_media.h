// common_media.h — the display size the settings chose and the media every
// display loads and every screen uses: fonts, icons, logos, badges, the
// numbered sound effects and the sound channels. app/assets.cpp fills these
// tables on each display; everything from the frame end up reads them.
#pragma once

extern int ScreenW, ScreenH;  // the real display size; 800 x 600 until a mode is chosen

// FontTable slots, by face and base size (SVBasicManual "Basic", Blue
// Highway "Blue", Acknowledge TT QVX "Ack"; slots 2 and 3 are the same face
// and size, kept apart by use).
enum FontSlot {
  FONT_BASIC_24 = 1,  // frame rate, score panel boxes
  FONT_PANEL = 2,     // settings panel, overlay lines
  FONT_SMALL = 3,     // message log, credits, score table, pop-ups
  FONT_BASIC_20 = 4,
  FONT_BLUE_96 = 5,  // title word 1, big notices
  FONT_BLUE_72 = 6,  // title word 2
  FONT_BLUE_32 = 7,
  FONT_BASIC_32 = 8,
  FONT_BASIC_14 = 9,
  FONT_ACK_112 = 10,
  FONT_ACK_96 = 11,
  FONT_ACK_32 = 12,
  FONT_ACK_20 = 13,
  FONT_SLOTS = 20,
};
extern int FontTable[FONT_SLOTS];

// SizedFonts: a face's first slot plus a size class 0..8 (8 to 96 pixels).
enum SizedFace { SIZED_BASIC = 0, SIZED_BLUE = 10, SIZED_ACK = 20, SIZED_SLOTS = 100 };
constexpr int SizeClasses = 9;
extern int SizedFonts[SIZED_SLOTS];

// IconStrip: 64 frames of 16 x 16; the crisp copy is not smoothed when scaled.
enum { ICON_POINTER = 63 };
extern int IconStrip, IconStripCrisp;
extern int LogoImage, CommunityLogoImage;
extern int BadgeGetSound;
extern int BadgeImage;  // frame b - 1 is badge b

// Slot i holds the sound of the file "00i.wav", or 0 where there is none.
constexpr int SoundEffectSlots = 200;
extern int SoundEffects[SoundEffectSlots + 1];

// ChannelTable slots and who owns them.
enum ChannelSlot {
  CHANNEL_MUSIC_FIRST = 0,  // the sequencer's five tracks, 0..4
  CHANNEL_MUSIC_LAST = 4,
  CHANNEL_TITLE_SONG = 1,      // the track the title screen stops before a game
  CHANNEL_EFFECTS_FIRST = 20,  // sound effects, used in turn
  CHANNEL_EFFECTS_LAST = 255,
  CHANNEL_JINGLE = 256,  // the loading screen's badge jingle
  CHANNEL_SLOTS = 260,
};
extern int ChannelTable[CHANNEL_SLOTS];
extern float ChannelVolume[CHANNEL_SLOTS];  // the volume each slot's sound was asked for

// Every handle back to 0 and the display size to its start (tests).
void ResetCommonMedia();
