// identity.cpp — the game's title words and caption.
#include "frame/identity.h"

const std::string TitleWord1 = "Plimbo";
const std::string TitleWord2 = "Direr";
const std::string WindowTitle = "#" + std::to_string(WeekNumber) + " : " + TitleWord1 + " " + TitleWord2;
const std::string GameVersion = PLIMBO_VERSION_TEXT;
