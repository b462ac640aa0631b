// pause.cpp — the pause menu. Until it has its screen, pausing continues at once.
#include "frame/pause.h"

int RunPauseMenu() { return 1; }
