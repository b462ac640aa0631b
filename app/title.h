// title.h — the title screen between games.
#pragma once

void RunTitleScreen();
