// title.h — the title screen between games: credits, score panel, title,
// start prompt, difficulty choice, song hot keys, quitting with Escape.
#pragma once

extern int TitleSlide;  // slide-in counter 0..32, back to 0 after each game
extern int StartHeld;   // a start button was held at the end of the last frame
extern int StartLatch;  // a game may start only while this is 0
extern int EscLatch;    // Escape must be seen released before it quits

// What a start runs; RunGame, replaced by tests that only need to see a
// game being started.
extern void (*RunGameHook)();

void RunTitleScreen();  // returns when the player quits
// One game from start to stored record, as the title screen starts it
// (music stopped, pausing allowed, pointer out of the way).
void PlayOneGame();
