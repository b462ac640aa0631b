// pause.h — the two things that stop the screen under them: the pause menu
// that Escape opens during a game, and the settings panel while it is open.
#pragma once

// Runs until the player picks; 1 continue, 99 quit. Only EndFrame calls it,
// with PauseState 2 so that its own frames cannot open it again.
int RunPauseMenu();

// While the settings panel is open the screen under it stands still: its
// picture stays, the panel works over it and the music plays on, and what
// is pressed meanwhile belongs to the panel. EndFrame calls it each frame;
// it returns at once unless the panel has just opened, else once it is shut.
void HoldScreenUnderPanel(int showPointer);
// The screen as it is now, held still under an overlay (panel, help) while
// held() says so: frames go on ending, the game below does not run, and
// Escape is the overlay's, not the pause menu's.
void HoldScreen(bool (*held)(), int showPointer);
extern bool ScreenHeld;  // true while the panel holds the screen
