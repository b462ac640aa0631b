// assets.cpp — opens the display in the mode the settings ask for, on a
// virtual screen of fixed logical size, and loads everything that depends on
// the display: fonts, icons, logos, badges, sound effects, then the scores.
// "crash.dat" marks the time a display is being opened, so a crash there
// makes the next start pick a different renderer.
#include "app/assets.h"

#include <cstdio>

#include "app/essentials.h"
#include "app/settings.h"
#include "app/startup.h"
#include "frame/draw.h"
#include "frame/frame_end.h"
#include "game/game.h"
#include "media/media.h"
#include "scores/records.h"

int ScreenW = 800, ScreenH = 600;
int VirtW = 1280, VirtH = 960;
int ModeListW[2500], ModeListH[2500];
int ModeCount;
int GraphicsOpen;

int FontTable[20];
int SizedFonts[100];
int IconStrip, IconStripCrisp;
int LogoImage, CommunityLogoImage;
int BadgeGetSound;
int BadgeImage;
int SoundEffects[201];
int ChannelTable[260];
float ChannelVolume[260];

static bool UsableShape(int w, int h) {
  return h == w * 10 / 16 || h == w * 9 / 16 || h == w * 3 / 4;
}

static void BuildModeList() {
  ModeCount = 0;
  for (const DisplayMode& mode : ListDisplayModes()) {
    if (!UsableShape(mode.width, mode.height) || ModeCount >= 2499) continue;
    bool seen = false;
    for (int i = 1; i <= ModeCount; i++) seen = seen || (ModeListW[i] == mode.width && ModeListH[i] == mode.height);
    if (seen) continue;
    ModeCount++;
    ModeListW[ModeCount] = mode.width;
    ModeListH[ModeCount] = mode.height;
    if (mode.width == Settings[5] && mode.height == Settings[6]) {
      Settings[4] = ModeCount;
      ScreenW = mode.width;
      ScreenH = mode.height;
    }
  }
  Settings[5] = ScreenW;
  Settings[6] = ScreenH;
}

void ApplyDisplayMode() {
  BuildModeList();
  LogLine("");
  LogLine("-=-=-=-=-=-=-=-=-=-=-=-=-=-");
  LogLine("Applying Graphical Settings");
  if (GraphicsOpen == 1) {
    CloseDisplay();
    LogLine("\tChanged Graphics Mode ingame.");
  }
  if (FileType("crash.dat") == 1 && Settings[3] == 0) Settings[3] = 1;
  static const char* driverLines[] = {"\tUsing OpenGL Driver", "\tUsing DirectX 9 Driver", "\tUsing DirectX 7 Driver"};
  if (Settings[3] >= 0 && Settings[3] <= 2) LogLine(driverLines[Settings[3]]);
  ChooseRenderer(Settings[3]);

  int depth = 0;
  if (Settings[1] == 1) {
    for (int d : {32, 24, 16}) {
      if (FullScreenModeExists(ScreenW, ScreenH, d)) {
        depth = d;
        break;
      }
    }
    if (depth == 0) AddMessage("Can't set to fullscreen in this resolution.", 1);
  }
  LogLine("\tResolution : " + std::to_string(ScreenW) + "x" + std::to_string(ScreenH) + "," + std::to_string(depth));
  RequireEssentials(false);

  CloseStream(OpenWrite("crash.dat"));
  if (!OpenDisplay(ScreenW, ScreenH, depth, 60)) CannotStart("");  // the display named its failure

  Settings[2] = 0;
  VirtW = 1280;
  VirtH = 960;
  if (ScreenH == ScreenW * 9 / 16) {
    Settings[2] = 1;
    VirtW = 1600;
    VirtH = 900;
    LogLine("\tWidescreen mode!");
  }
  if (ScreenH == ScreenW * 10 / 16) {
    Settings[2] = 1;
    VirtW = 1440;
    VirtH = 900;
    LogLine("\tWidescreen mode B (10:16)!");
  }
  SetVirtualResolution(VirtW, VirtH);

  LoadCommonAssets();
  LoadGameArt();
  RequireEssentials(true);
  LogLine("-=-=-=-=-=-=-=-=-=-=-=-=-=-");
  DeleteFile("crash.dat");
}

static void LoadFonts() {
  float a = 1, b = 1;
  if (ScreenW < 900 && ScreenW >= 600) a = 1.2f, b = 1.4f;
  if (ScreenW < 600) a = 1.5f, b = 2.0f;
  const std::string basic = "SVBasicManual.ttf", blue = "Blue Highway.ttf", ack = "Acknowledge TT QVX.ttf";
  struct FontSlot { int slot; const std::string* face; int size; float factor; };
  const FontSlot table[] = {
      {1, &basic, 24, a}, {2, &basic, 16, b}, {3, &basic, 16, b}, {4, &basic, 20, a},
      {5, &blue, 96, a},  {6, &blue, 72, a},  {7, &blue, 32, a},  {8, &basic, 32, a},
      {9, &basic, 14, a}, {10, &ack, 112, 1}, {11, &ack, 96, 1},  {12, &ack, 32, 1}, {13, &ack, 20, 1}};
  for (const FontSlot& f : table) FontTable[f.slot] = LoadFont(*f.face, int(f.size * f.factor), true);
  const int sizes[] = {8, 12, 18, 24, 32, 40, 52, 64, 96};
  const std::string* faces[] = {&basic, &blue, &ack};
  for (int face = 0; face < 3; face++)
    for (int i = 0; i < 9; i++) SizedFonts[face * 10 + i] = LoadFont(*faces[face], int(sizes[i] * a), true);
}

static void ShowLoadingScreen() {
  BeginFrame(1);
  ResetDrawState();
  DrawStripeBackground();
  SetDrawScale(1.5f);
  DrawImage(LogoImage, 0.4f * VirtH, 0.3f * VirtH, 0);
  DrawImage(CommunityLogoImage, VirtW - 0.4f * VirtH, 0.7f * VirtH, 0);
  SetDrawScale(1);
  ChannelTable[256] = CueSound(BadgeGetSound);
  if (ChannelTable[256] != 0) {
    SetChannelVolume(ChannelTable[256], Settings[12] * Settings[11] / 100.0f / 100.0f);
    ResumeChannel(ChannelTable[256]);
  }
  Flip(0);
  GraphicsOpen = 1;
}

void LoadCommonAssets() {
  AutoCentre(true);
  LogLine("");
  LogLine("Loading : Common Objects");
  LogLine("");
  LogLine("Switching to Default Folder");
  LogLine("");
  ChangeDir("../");
  ChangeDir(CommonFolder);

  LogLine("\tDefault Fonts");
  LoadFonts();
  LogLine("\tDefault Icons");
  IconStrip = LoadImageStrip("icons.png", 16, 16, 0, 64, IMAGE_MASKED | IMAGE_FILTERED);
  IconStripCrisp = LoadImageStrip("icons.png", 16, 16, 0, 64, IMAGE_MASKED);
  LogLine("\tLogos");
  LogoImage = LoadImage("logo.png", IMAGE_MASKED | IMAGE_FILTERED);
  CommunityLogoImage = LoadImage("Brimhall.png", IMAGE_MASKED | IMAGE_FILTERED);
  LogLine("\tBadgeGet");
  FreeSound(BadgeGetSound);  // sounds outlive a display: free what is replaced
  BadgeGetSound = LoadSound("badgeget.wav");
  if (GraphicsOpen == 0) ShowLoadingScreen();

  LogLine("");
  LogLine("Switching to Game Folder");
  ChangeDir("../");
  ChangeDir(GameFolder);
  BadgeImage = LoadImageStrip("badges.png", 64, 64, 0, 16, IMAGE_MASKED | IMAGE_FILTERED);

  LogLine("");
  LogLine("Loading Sound effects");
  for (int i = 1; i <= 200; i++) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.wav", i);
    FreeSound(SoundEffects[i]);
    SoundEffects[i] = 0;
    if (FileType(name) == 1) {
      LogLine("\tSFX(" + std::to_string(i) + ")");
      SoundEffects[i] = LoadSound(name);
    }
  }
  LogLine("Sounds loaded");
  LogLine("");
  LoadScores();
}

// The bands cover the whole screen opaquely and depend only on the display,
// so each kind is drawn once per display and grabbed; later frames copy the
// grabbed picture back pixel for pixel, which costs a fraction of drawing
// a hundred turned bands (most of a frame in the software renderer).
static void DrawStripes(bool red, int* cache) {
  ResetDrawState();
  if (ImageWidth(*cache) == ScreenW && ImageHeight(*cache) == ScreenH) {
    SetDrawScale(float(VirtW) / ScreenW, float(VirtH) / ScreenH);
    DrawImage(*cache, 0, 0, 0);
    ResetDrawState();
    return;
  }
  float blue = 50;
  SetDrawRotation(-45);
  for (int y = 0; y <= VirtH; y += 10) {
    blue += 0.5f;
    SetDrawColour(red ? 100 - blue : 0, 0, blue);
    DrawRect(-100, 3.0f * y, VirtW + 1800.0f, 30);
  }
  FreeImage(*cache);
  *cache = GrabImage(0, 0, ScreenW, ScreenH);
  SetImageHandle(*cache, 0, 0);
  ResetDrawState();
}

void DrawStripeBackground() {
  static int cache;
  DrawStripes(false, &cache);
}

void DrawRedStripeBackground() {
  static int cache;
  DrawStripes(true, &cache);
}
