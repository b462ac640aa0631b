// assets.h — display modes, the virtual screen, and the common media every
// display loads: fonts, icons, logos, badges and numbered sound effects.
#pragma once

extern int ScreenW, ScreenH;
extern int VirtW, VirtH;
extern int ModeListW[2500], ModeListH[2500];
extern int ModeCount;
extern int GraphicsOpen;

extern int FontTable[20];
extern int SizedFonts[100];
extern int IconStrip, IconStripCrisp;
extern int LogoImage, CommunityLogoImage;
extern int BadgeGetSound;
extern int BadgeImage;
extern int SoundEffects[201];
extern int ChannelTable[260];
extern float ChannelVolume[260];

void ApplyDisplayMode();
void LoadCommonAssets();
void DrawStripeBackground();
void DrawRedStripeBackground();  // the same bands with red mixed in (name entry)
