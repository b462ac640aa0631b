// assets.cpp — opens the display in the mode the settings ask for, on a
// virtual screen of fixed logical size, and loads everything that depends on
// the display: fonts, icons, logos, badges, sound effects, then the scores.
// "crash.dat" in the player's game folder marks the time a display is being
// opened, so a crash there makes the next start pick a different renderer.
#include "app/assets.h"

#include <algorithm>
#include <cstdio>

#include "app/essentials.h"
#include "app/startup.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/figures.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "game/game.h"
#include "media/media.h"
#include "scores/records.h"

int ModeListW[ModeListSize], ModeListH[ModeListSize];
int ModeCount;
int GraphicsOpen;

static bool UsableShape(int w, int h) { return h == w * 10 / 16 || h == w * 9 / 16 || h == w * 3 / 4; }

static void BuildModeList() {
  ModeCount = 0;
  for (const DisplayMode& mode : ListDisplayModes()) {
    if (!UsableShape(mode.width, mode.height) || ModeCount >= ModeListSize - 1) continue;
    bool seen = false;
    for (int i = 1; i <= ModeCount; i++) seen = seen || (ModeListW[i] == mode.width && ModeListH[i] == mode.height);
    if (seen) continue;
    ModeCount++;
    ModeListW[ModeCount] = mode.width;
    ModeListH[ModeCount] = mode.height;
    if (mode.width == Settings[SETTING_WIDTH] && mode.height == Settings[SETTING_HEIGHT]) {
      Settings[SETTING_MODE] = ModeCount;
      ScreenW = mode.width;
      ScreenH = mode.height;
    }
  }
  Settings[SETTING_WIDTH] = ScreenW;
  Settings[SETTING_HEIGHT] = ScreenH;
}

std::string CrashMarker() { return PlayerGameFolder + "crash.dat"; }

// The virtual screen keeps the display's shape: 16:9 and 16:10 get their
// own, every other shape the 4:3 one.
static void ChooseVirtualScreen() {
  int width = 1280, height = 960;
  Settings[SETTING_WIDESCREEN] = 0;
  if (ScreenH == ScreenW * 9 / 16) {
    Settings[SETTING_WIDESCREEN] = 1;
    width = 1600;
    height = 900;
    LogLine("\tWidescreen mode!");
  }
  if (ScreenH == ScreenW * 10 / 16) {
    Settings[SETTING_WIDESCREEN] = 1;
    width = 1440;
    height = 900;
    LogLine("\tWidescreen mode B (10:16)!");
  }
  SetVirtualResolution(width, height);
}

// The first colour depth that has a full-screen mode of the chosen size, or
// 0 for a window.
static int FullScreenDepth() {
  if (Settings[SETTING_FULLSCREEN] != 1) return 0;
  for (int depth : {32, 24, 16})
    if (FullScreenModeExists(ScreenW, ScreenH, depth)) return depth;
  AddMessage("Can't set to fullscreen in this resolution.", 1);
  return 0;
}

// A full screen the machine refuses opens as a window instead. The settings
// (the panel, "Setup.ini") then say what opened, not what was asked for.
static void OpenChosenDisplay(int depth) {
  bool opened = OpenDisplay(ScreenW, ScreenH, depth, 60);
  if (!opened && depth > 0) {
    AddMessage("Can't set to fullscreen in this resolution.", 1);
    opened = OpenDisplay(ScreenW, ScreenH, 0, 60);
  }
  if (!opened) CannotStart("");  // the display named its failure
  Settings[SETTING_FULLSCREEN] = DisplayFullScreen() ? 1 : 0;
}

// SDL falls back to another renderer when the chosen one cannot be made: the
// log names the one made, and that becomes the choice. A headless run draws
// in software by request and leaves the player's choice alone.
static void LogRendererInUse() {
  static const char* lines[] = {"\tUsing OpenGL Driver", "\tUsing DirectX 9 Driver", "\tUsing DirectX 7 Driver"};
  int inUse = RendererInUse();
  // A replay's log names the renderer the recorded session had, so that a
  // window's session replayed headless leaves the same log.
  int logged = RecordedNumber("renderer", inUse);
  if (logged >= RENDERER_OPENGL && logged <= RENDERER_DX7) LogLine(lines[logged]);
  if (inUse < RENDERER_OPENGL || inUse > RENDERER_DX7) return;
  if (!Options.headless) Settings[SETTING_RENDERER] = inUse;
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
  int& renderer = Settings[SETTING_RENDERER];
  if (FileType(CrashMarker()) == 1 && renderer == RENDERER_OPENGL) renderer = RENDERER_DX9;
  ChooseRenderer(renderer);

  int depth = FullScreenDepth();
  LogLine("\tResolution : " + std::to_string(ScreenW) + "x" + std::to_string(ScreenH) + "," + std::to_string(depth));
  RequireEssentials(false);

  CloseStream(OpenWrite(CrashMarker()));
  OpenChosenDisplay(depth);
  LogRendererInUse();
  ChooseVirtualScreen();

  LoadCommonAssets();
  LoadGameArt();
  RequireEssentials(true);
  LogLine("-=-=-=-=-=-=-=-=-=-=-=-=-=-");
  DeleteFile(CrashMarker());
  LogFigures("loaded");
}

// The three faces, by the file names the game opens, and the shape every
// screen's positions and line spacings were laid out for: the height of a
// line of ink and the average advance, as fractions of the size a slot names.
// The faces we ship are larger and wider at the same size, so each is loaded
// at the size that gives it this shape (the smaller of the two corrections),
// measured from the face itself: another face would fit the same way.
struct FaceFit {
  const char* file;
  float inkHeight, advance;
};
const FaceFit FaceFits[FACE_COUNT] = {
    {"SVBasicManual.ttf", 0.72f, 0.43f},
    {"Blue Highway.ttf", 0.78f, 0.50f},
    {"Acknowledge TT QVX.ttf", 0.75f, 0.45f},
};

std::string FaceFile(int face) { return CommonFolder + FaceFits[face].file; }

// Measured once per run: the files do not change while the game runs.
static float FaceCorrection(int face) {
  static float known[FACE_COUNT];
  if (known[face] == 0) {
    FaceMetrics m = MeasureFace(FaceFile(face));
    float height = m.inkHeight > 0 ? FaceFits[face].inkHeight / m.inkHeight : 1;
    float advance = m.advance > 0 ? FaceFits[face].advance / m.advance : 1;
    known[face] = std::min({height, advance, 1.0f});
  }
  return known[face];
}

int FontSizeFor(int face, int size, float factor) { return int(size * factor * FaceCorrection(face)); }

static void LoadFonts() {
  float a = 1, b = 1;
  if (ScreenW < 900 && ScreenW >= 600) a = 1.2f, b = 1.4f;
  if (ScreenW < 600) a = 1.5f, b = 2.0f;
  struct FontLoad {
    int slot, face, size;
    float factor;
  };
  const FontLoad table[] = {
      {FONT_BASIC_24, FACE_BASIC, 24, a}, {FONT_PANEL, FACE_BASIC, 16, b},    {FONT_SMALL, FACE_BASIC, 16, b},
      {FONT_BASIC_20, FACE_BASIC, 20, a}, {FONT_BLUE_96, FACE_BLUE, 96, a},   {FONT_BLUE_72, FACE_BLUE, 72, a},
      {FONT_BLUE_32, FACE_BLUE, 32, a},   {FONT_BASIC_32, FACE_BASIC, 32, a}, {FONT_BASIC_14, FACE_BASIC, 14, a},
      {FONT_ACK_112, FACE_ACK, 112, 1},   {FONT_ACK_96, FACE_ACK, 96, 1},     {FONT_ACK_32, FACE_ACK, 32, 1},
      {FONT_ACK_20, FACE_ACK, 20, 1}};
  for (const FontLoad& f : table)
    FontTable[f.slot] = LoadFont(FaceFile(f.face), FontSizeFor(f.face, f.size, f.factor), true);
  const int sizes[SizeClasses] = {8, 12, 18, 24, 32, 40, 52, 64, 96};
  const struct {
    int first, face;
  } faces[] = {{SIZED_BASIC, FACE_BASIC}, {SIZED_BLUE, FACE_BLUE}, {SIZED_ACK, FACE_ACK}};
  for (const auto& f : faces)
    for (int i = 0; i < SizeClasses; i++)
      SizedFonts[f.first + i] = LoadFont(FaceFile(f.face), FontSizeFor(f.face, sizes[i], a), true);
}

static void ShowLoadingScreen() {
  BeginFrame(1);
  ResetDrawState();
  DrawStripeBackground();
  SetDrawScale(1.5f);
  DrawImage(LogoImage, 0.4f * VirtH, 0.3f * VirtH, 0);
  DrawImage(CommunityLogoImage, VirtW - 0.4f * VirtH, 0.7f * VirtH, 0);
  SetDrawScale(1);
  int& jingle = ChannelTable[CHANNEL_JINGLE];
  jingle = CueSound(BadgeGetSound);
  if (jingle != 0) {
    SetChannelVolume(jingle, Settings[SETTING_SOUND] * Settings[SETTING_MASTER] / 100.0f / 100.0f);
    ResumeChannel(jingle);
  }
  Flip(0);
  GraphicsOpen = 1;
}

void LoadCommonAssets() {
  AutoCentre(true);
  LogLine("");
  LogLine("Loading : Common Objects");
  LogLine("");
  // The log keeps the lines of the days when the program moved between
  // folders; readers of old logs know them.
  LogLine("Switching to Default Folder");
  LogLine("");

  LogLine("\tDefault Fonts");
  LoadFonts();
  LogLine("\tDefault Icons");
  IconStrip = LoadImageStrip(CommonFolder + "icons.png", 16, 16, 0, 64, IMAGE_MASKED | IMAGE_FILTERED);
  IconStripCrisp = LoadImageStrip(CommonFolder + "icons.png", 16, 16, 0, 64, IMAGE_MASKED);
  LogLine("\tLogos");
  LogoImage = LoadImage(CommonFolder + "logo.png", IMAGE_MASKED | IMAGE_FILTERED);
  CommunityLogoImage = LoadImage(CommonFolder + "Brimhall.png", IMAGE_MASKED | IMAGE_FILTERED);
  LogLine("\tBadgeGet");
  FreeSound(BadgeGetSound);  // sounds outlive a display: free what is replaced
  BadgeGetSound = LoadSound(CommonFolder + "badgeget.wav");
  if (GraphicsOpen == 0) ShowLoadingScreen();

  LogLine("");
  LogLine("Switching to Game Folder");
  BadgeImage = LoadImageStrip(GameFolder + "badges.png", 64, 64, 0, 16, IMAGE_MASKED | IMAGE_FILTERED);

  LogLine("");
  LogLine("Loading Sound effects");
  for (int i = 1; i <= SoundEffectSlots; i++) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.wav", i);
    FreeSound(SoundEffects[i]);
    SoundEffects[i] = 0;
    if (FileType(GameFolder + name) == 1) {
      LogLine("\tSFX(" + std::to_string(i) + ")");
      SoundEffects[i] = LoadSound(GameFolder + name);
    }
  }
  LogLine("Sounds loaded");
  LogLine("");
  LoadScores();
}
