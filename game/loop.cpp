// loop.cpp — one game from its first frame to the "Game Over" title, plus the
// game's artwork loading, its sound-effect player and its font selector.
#include <cmath>
#include <string>

#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/key_help.h"
#include "frame/settings_table.h"
#include "game/ball.h"
#include "game/cave.h"
#include "game/game.h"
#include "game/rules.h"
#include "media/media.h"
#include "music/music.h"
#include "scores/datetime.h"
#include "scores/name_entry.h"
#include "scores/records.h"

int Difficulty;
int InputMode;
int GameScore;
int GameBadges;
int GameResults[31];
int GameLevel;
int GameFlags;
float CamX, CamY, CamTargetX, CamTargetY;
int VignetteImage, BackgroundImage, TileImage, BallImage, TimerImage, PickupImage;
int SfxSlot = CHANNEL_EFFECTS_FIRST;

void LoadGameArt() {
  RunEngineTest(60, 2);
  LoadMusicSamples();
  LoadGameImages();
}

void LoadGameImages() {
  VignetteImage = LoadImage(GameFolder + "darken.png", IMAGE_FILTERED);
  BackgroundImage = LoadImage(GameFolder + "bg.png", IMAGE_FILTERED);
  TileImage = LoadImageStrip(GameFolder + "gfx.png", 64, 64, 0, 16, IMAGE_MASKED | IMAGE_FILTERED);
  BallImage = LoadImageStrip(GameFolder + "plimbo.png", 64, 64, 0, 100, IMAGE_MASKED | IMAGE_FILTERED);
  TimerImage = LoadImage(GameFolder + "tick.png", IMAGE_FILTERED);
  PickupImage = LoadImage(GameFolder + "iluvamiga.png", IMAGE_MASKED | IMAGE_FILTERED);
}

void PlaySfx(int effect, float rate, float volume, float pan) {
  if (Settings[SETTING_SOUND] <= 0 || effect < 1 || effect > SoundEffectSlots || SoundEffects[effect] == 0) return;
  SfxSlot++;
  if (SfxSlot > CHANNEL_EFFECTS_LAST) SfxSlot = CHANNEL_EFFECTS_FIRST;
  // Written as "not at least" so that NaN lands on the low end too.
  if (!(volume >= 0)) volume = 0;
  if (volume > 1) volume = 1;
  if (!(rate >= 0.25f)) rate = 0.25f;
  if (rate > 4) rate = 4;
  if (!(pan >= -1)) pan = -1;
  if (pan > 1) pan = 1;

  int& channel = ChannelTable[SfxSlot];
  if (channel != 0 && ChannelPlaying(channel)) {
    StopChannel(channel);
    channel = 0;
  }
  if (channel == 0) channel = AllocChannel();
  int cued = CueSound(SoundEffects[effect], channel);
  if (cued != 0) channel = cued;
  if (channel == 0) return;
  SetChannelVolume(channel, Settings[SETTING_MASTER] * Settings[SETTING_SOUND] / 100.0f / 100.0f * volume);
  ChannelVolume[SfxSlot] = volume;
  SetChannelPan(channel, pan);
  SetChannelRate(channel, rate);
  ResumeChannel(channel);
}

void SetFontSlot(int sizeClass, int index) {
  static const int Faces[3] = {SIZED_BASIC, SIZED_BLUE, SIZED_ACK};
  if (sizeClass < 1 || sizeClass > 3) sizeClass = 1;
  if (index < 0 || index >= SizeClasses) index = 0;
  SetFont(SizedFonts[Faces[sizeClass - 1] + index]);
}

// Only the last two digits show, so 100 percent reads "00%".
std::string CompletionText(int percent) { return Right("00" + std::to_string(percent), 2) + "%"; }

void ResetGame() {
  Difficulty = InputMode = GameScore = GameBadges = GameLevel = GameFlags = 0;
  for (int& result : GameResults) result = 0;
  CamX = CamY = CamTargetX = CamTargetY = 0;
  VignetteImage = BackgroundImage = TileImage = BallImage = TimerImage = PickupImage = 0;
  SfxSlot = CHANNEL_EFFECTS_FIRST;
  ClearAttempts();
  IcleList.clear();
  AttemptLength = 600;
  AttemptFrame = CompletionPercent = GhostHit = GameOverCode = LastBallScreenX = LastBallScreenY = 0;
  for (auto* grid : {CaveCells, CaveFrames})
    for (int y = 0; y < CAVE_GRID; y++)
      for (int& cell : grid[y]) cell = CELL_EMPTY;
  TintR = TintG = TintB = PickupTotal = PickupsTaken = 0;
  BallTileX = BallTileY = BallSubX = BallSubY = 0;
  ResetBallMotion();
}

void StartGame() {
  GameScore = 0;
  GameBadges = 0;
  for (int& result : GameResults) result = 0;
  CamX = CamY = CamTargetX = CamTargetY = 0;
  BuildCave(1);
  AttemptLength = Difficulty == 1 ? 450 : Difficulty == 2 ? 300 : 600;
  ResetBallMotion();
  GameOverCode = 0;
  GhostHit = 0;
  CompletionPercent = 0;
  LastBallScreenX = LastBallScreenY = 0;
  ClearAttempts();
  AttemptFrame = 0;
  GameFramesPlayed = 0;
}

// While the background spins (the pauses between attempts) its tiles turn
// together about the middle of the screen, as one picture, and enough of
// them are drawn to reach the screen's corners at every angle: turning each
// tile about its own middle would open black wedges between them. Tile
// centres are not whole units then, so they go straight to the image draw,
// each a unit larger so that no hairline shows where two meet.
static void DrawTurnedBackground(float degrees) {
  if (!FrameShown()) return;
  const float tile = 960, halfW = VirtW / 2.0f, halfH = VirtH / 2.0f;
  const float reach = std::ceil(std::hypot(halfW, halfH) / tile) + 1;
  const float originX = float(((static_cast<int>(-CamX * 0.6f) % 960) + 960) % 960);
  const float originY = float(((static_cast<int>(-CamY * 0.6f) % 960) + 960) % 960);
  // The tile whose middle is nearest the screen's middle, then rings round it.
  const float firstX = originX + tile / 2 + tile * std::round((halfW - originX - tile / 2) / tile);
  const float firstY = originY + tile / 2 + tile * std::round((halfH - originY - tile / 2) / tile);
  const float c = CosDeg(degrees), s = SinDeg(degrees);
  const float scaleX = GetScaleX(), scaleY = GetScaleY();
  SetScale(scaleX * (tile + 2) / tile, scaleY * (tile + 2) / tile);
  for (float i = -reach; i <= reach; i++) {
    for (float j = -reach; j <= reach; j++) {
      if (SpritesDrawn[SPRITE_IMAGES] >= SpriteBudget[SPRITE_IMAGES]) break;
      SpritesDrawn[SPRITE_IMAGES]++;
      float dx = firstX + i * tile - halfW, dy = firstY + j * tile - halfH;
      DrawImage(BackgroundImage, halfW + dx * c - dy * s, halfH + dx * s + dy * c, 0);
    }
  }
  SetScale(scaleX, scaleY);
}

void DrawGameBackground() {
  if (std::fmod(GetRotation(), 360.0f) != 0.0f) return DrawTurnedBackground(GetRotation());
  for (int a = -1; a <= 3; a++) {
    for (int b = -1; b <= 3; b++) {
      int px = static_cast<int>(a * 960 - CamX * 0.6f) % 3840;
      if (px < 0) px += 3840;
      int py = static_cast<int>(b * 960 - CamY * 0.6f) % 3840;
      if (py < 0) py += 3840;
      DrawSprite(BackgroundImage, px - 960, py - 960, 0, SPRITE_IMAGES);
    }
  }
}

namespace {

void DrawPauseBalls() {
  if (AttemptFrame >= -30 && AttemptFrame <= -1) {
    SetDrawColour(255, 255, 255, 0.3f);
    SetDrawRotation(0);
    float s = SinDeg(-AttemptFrame * 6.0f);
    SetDrawScale(s * 12);
    DrawSprite(BallImage, static_cast<int>(VirtW / 2 - s * 384), static_cast<int>(VirtH / 2 - s * 384),
               -2 * AttemptFrame, SPRITE_IMAGES);
  }
  if (AttemptFrame < -30) {
    SetDrawColour(255, 255, 255, 0.3f);
    SetDrawRotation(SinDeg(-AttemptFrame * 6.0f) * 12);
    SetDrawScale(12);
    DrawSprite(BallImage, VirtW / 2 - 384, VirtH / 2 - 384, 0, SPRITE_IMAGES);
  }
}

}  // namespace

int GameFrame() {
  GameFramesPlayed++;
  BeginFrame(1);
  ResetDrawState();
  SetDrawRotation(0);
  if (AttemptFrame < 0) SetDrawRotation(AttemptFrame * 24.0f);
  SetDrawColour(TintR, TintG, TintB);
  SetDrawScale(2);
  DrawGameBackground();
  ResetDrawState();
  SetDrawScale(1);

  // The camera eases towards where the ball was at the end of the last frame.
  CamX -= (CamX - CamTargetX) / 16;
  CamY -= (CamY - CamTargetY) / 16;
  CamTargetX = static_cast<float>(BallTileX * 64 + BallSubX - VirtW / 2);
  CamTargetY = static_cast<float>(BallTileY * 64 + BallSubY - VirtH / 2);

  NewLevelIfDue();
  if (AttemptFrame >= -29) DrawCave();

  SetDrawRotation(0);
  if (AttemptFrame >= 0) BallStep();
  SetDrawColour(255, 255, 255, 1);
  int sx = static_cast<int>(BallTileX * 64 + BallSubX - CamX);
  int sy = static_cast<int>(BallTileY * 64 + BallSubY - CamY);
  DrawSprite(BallImage, sx, sy, BallFrame, SPRITE_IMAGES);
  LastBallScreenX = sx;
  LastBallScreenY = sy;

  RecordAttempt();
  UpdateGhosts();
  SetDrawColour(255, 255, 255, 1);
  ResetDrawState();
  UpdateFlyingPickups();
  UpdateSparkles();

  SetDrawRotation(0);
  SetBlendKind(2);
  SetDrawScale(3.3f);
  DrawSprite(VignetteImage, static_cast<int>(VirtW / 2 - 256 * 3.3f), static_cast<int>(VirtH / 2 - 256 * 3.3f), 0,
             SPRITE_IMAGES);
  SetBlendKind(1);

  DrawPauseBalls();

  SetDrawScale(1);
  SetDrawColour(255, 255, 255, 0.8f);
  SetDrawRotation(AttemptFrame < 0 || AttemptLength <= 0 ? 0.0f : AttemptFrame * 360.0f / AttemptLength);
  DrawSprite(TimerImage, 40, 40, 0, SPRITE_IMAGES);

  ResetDrawState();
  SetDrawColour(255, 255, 255, 1);
  UpdateCompletion();
  SetFontSlot(1, 4);
  DrawTextAligned(40, 100, CompletionText(CompletionPercent), 0, 0);
  CheckLevelComplete();
  DrawReplayMarkerIfWatching();

  HelpScreenShown = HELP_GAME;
  if (EndFrame(TargetFps, 0, InputMode) == 99) GameOverCode = 99;
  return GameOverCode;
}

void ShowEndTitle() {
  Flip(-1);
  SetFont(FontTable[FONT_BLUE_96]);
  int cx = VirtW / 2, cy = VirtH / 2;
  for (int dx = -3; dx <= 3; dx++) {
    for (int dy = -3; dy <= 3; dy++) {
      ResetDrawState();
      DrawTextAligned(cx + dx, cy + dy, "Game Over", 1, 1);
    }
  }
  for (int dx = -2; dx <= 2; dx++) {
    for (int dy = -2; dy <= 2; dy++) {
      ResetDrawState();
      SetDrawColour(8, 8, 8);
      DrawTextAligned(cx + dx, cy + dy, "Game Over", 1, 1);
    }
  }
  ResetDrawState();
  SetDrawColour(255, 255, 0);
  DrawTextAligned(cx, cy, "Game Over", 1, 1);
  Flip(-1);
}

void RunGame() {
  StartTake();
  TakeGameStart();
  StartGame();
  while (GameFrame() == 0) {
  }
  EndTake();
  LogGameOver();
  ShowEndTitle();
  Delay(1500);
  PauseState = 0;
  StoreFinishedGame(GameOverCode == 99 ? 1 : 0);
}

void StoreFinishedGame(int quit) {
  EnterName();
  Scores s;
  s.Score = GameScore;
  s.Timestamp = DateStamp("");
  s.Badges = GameBadges;
  s.Name = PlayerName;
  for (int i = 1; i <= 30; i++) s.Best[i] = GameResults[i];
  s.Level = GameLevel;
  s.GameMode = Difficulty;
  s.GameFlags = GameFlags;
  s.Quit = quit == 1 ? 1 : 0;
  AddScoreRecord(s);
  SaveScores();                    // at once: a crash, a kill or a power cut must not take the game with it
  KeepGameRecording(s.Timestamp);  // after the record, so no recording is ever without one
}
