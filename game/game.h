// game.h — one game of Plimbo Direr: the loop from the first frame to the
// "Game Over" title, the game's artwork and sound effects, and the values
// the rest of the program reads (score, camera).
#pragma once

#include <string>

extern int GameScore;
extern int GameBadges;       // this game awards none
extern int GameResults[31];  // entries 1..30 go into the score record
extern int GameLevel;        // never set by this game
extern int GameFlags;        // never set by this game

// Map pixel shown at the screen's top-left corner, and where it is heading.
extern float CamX, CamY, CamTargetX, CamTargetY;

extern int VignetteImage, BackgroundImage, TileImage, BallImage, TimerImage, PickupImage;

extern int SfxSlot;       // last ChannelTable slot used for an effect (20..255)

void LoadGameArt();
void LoadGameImages();  // the six images, from the current folder
void RunGame();
void PlaySfx(int effect, float rate, float volume, float pan);
void SetFontSlot(int sizeClass, int index);
std::string CompletionText(int percent);  // the heads-up "05%"

// The pieces of RunGame, for tests and benchmarks.
void StartGame();
int GameFrame();      // one frame; returns the game-over code (0 while playing)
void ShowEndTitle();
