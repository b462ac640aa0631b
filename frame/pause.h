// pause.h — the pause menu that Escape opens during a game.
#pragma once

int RunPauseMenu();  // 1 continue, 99 quit
