// title.cpp — the title screen. Until it has its screen, the program closes
// once loading is done.
#include "app/title.h"

void RunTitleScreen() {}
