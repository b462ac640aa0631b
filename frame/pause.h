// pause.h — the pause menu that Escape opens during a game.
#pragma once

// Runs until the player picks; 1 continue, 99 quit. Only EndFrame calls it,
// with PauseState 2 so that its own frames cannot open it again.
int RunPauseMenu();
