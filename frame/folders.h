// folders.h — where the program's files live, resolved once at start-up.
// Every file is opened by a full path built from these; nothing depends on
// the current folder. Each folder ends in "/".
//
// The data folder holds what the game only reads: the common folder (fonts,
// icons, logos, the badge jingle) and the game folder (its images, sound
// effects and "music/"). It is "Files/" beside the program (the build tree,
// a portable copy) or, installed, <prefix>/share/plimbo-direr/.
//
// The player's folder holds what the game writes: "Setup.ini", "Debug.txt"
// and screenshots, and in its game folder "scores.dat" and "crash.dat". It is
// the data folder beside the program while that can be written to (so a
// portable copy keeps everything beside it), else (and always for an
// installed game) the player's folder of the system
// (~/.local/share/plimbo-direr/ on Linux), unless --data names another.
#pragma once

#include <string>

extern std::string DataFolder;        // read-only data
extern std::string CommonFolder;      // DataFolder + "Common/"
extern std::string GameFolder;        // DataFolder + "248/"
extern std::string PlayerFolder;      // Setup.ini, Debug.txt, screenshots
extern std::string PlayerGameFolder;  // PlayerFolder + "248/": scores.dat, crash.dat

// Finds the data folder (dataFolder instead of the one beside the program,
// when not empty), chooses the player's folder (playerFolder when not empty)
// and makes the player's folders a first start needs.
void ResolveFolders(const std::string& dataFolder, const std::string& playerFolder);
// What is missing of the data folder the game needs (the folder itself, its
// common or its game folder), or "".
std::string MissingDataFolder();
// One line when the player's folder could not be made; called once the
// start-up log is open, so the line lands in it too.
void ReportUnwritablePlayerFolder();
// Sets every folder from the two roots (the player's = the data folder when
// empty) without looking at the disk: tests and tools point it anywhere.
void UseFolders(const std::string& dataFolder, const std::string& playerFolder = "");
