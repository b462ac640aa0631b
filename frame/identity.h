// identity.h — who this game is to the framework: its number, the two words
// of its title and its window caption. The number also names the game's
// folder inside the data folder and the player's folder.
#pragma once

#include <string>

constexpr int WeekNumber = 248;
extern const std::string TitleWord1;   // "Plimbo"
extern const std::string TitleWord2;   // "Direr"
extern const std::string WindowTitle;  // "#248 : Plimbo Direr"
extern const std::string GameVersion;  // "1.0.0", from the packaging's changelog
