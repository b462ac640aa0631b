// game.h — one game of Plimbo Direr: the loop from the first frame to the
// "Game Over" title, the game's artwork and sound effects, and the values
// the rest of the program reads (score, camera).
#pragma once

#include <cstdint>
#include <string>

extern int Difficulty;  // 0 Easy, 1 Medium, 2 Hard: chosen on the title screen
extern int InputMode;   // 0: played with keys and pads, so no mouse pointer in play

extern int GameScore;
extern int GameBadges;       // this game awards none
extern int GameResults[31];  // entries 1..30 go into the score record
extern int GameLevel;        // never set by this game
extern int GameFlags;        // never set by this game

// Map pixel shown at the screen's top-left corner, and where it is heading.
extern float CamX, CamY, CamTargetX, CamTargetY;

extern int VignetteImage, BackgroundImage, TileImage, BallImage, TimerImage, PickupImage;

// The game's numbered sound effects (SoundEffects slots).
enum SoundEffect {
  SFX_PICKUP = 1,
  SFX_BOUNCE = 2,
  SFX_HIGH_BOUNCE = 3,
  SFX_WALL = 4,
  SFX_ATTEMPT_OVER = 5,
  SFX_LEVEL_DONE = 6,
  SFX_GHOST = 7,
};

extern int SfxSlot;  // last ChannelTable slot used for an effect (CHANNEL_EFFECTS_FIRST..LAST)

void LoadGameArt();
void LoadGameImages();  // the six images, from the game folder
void RunGame();
// Name entry, then the finished game's record in the score list. quit is 1
// when the player quit.
void StoreFinishedGame(int quit);
// Adds points to the game's score and a popup of them at map position (x, y).
void AddScore(int points, int x, int y, int r, int g, int b);
void PlaySfx(int effect, float rate, float volume, float pan);
void SetFontSlot(int sizeClass, int index);
std::string CompletionText(int percent);  // the heads-up "05%"

// Everything of the game as at program start: no images, no cave, no
// attempts, Easy (tests).
void ResetGame();

// The pieces of RunGame, for tests and benchmarks.
void StartGame();
int GameFrame();  // one frame; returns the game-over code (0 while playing)
// The tiled background under the current scale and rotation (it spins in
// the pauses between attempts).
void DrawGameBackground();
void ShowEndTitle();

// One game's recording (replay.cpp). A game starts from the values
// TakeGameStart takes through the recording; every finished game's recording
// is kept as ReplayFile(stamp) of its record; WatchGame plays one back in
// place of the player's input until it ends or a key or click stops it.
extern int GameFramesPlayed;  // frames of the game so far
void TakeGameStart();
void LogGameOver();
void KeepGameRecording(int64_t stamp);
void DrawReplayMarkerIfWatching();
void WatchGame(int64_t stamp);
// The player's own settings and bindings back in place of a watched game's
// (nothing when no game is being watched).
void PutBackWatcherSettings();
