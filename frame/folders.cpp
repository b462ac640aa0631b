// folders.cpp — finding the data folder and choosing the player's folder.
#include "frame/folders.h"

#include <cstdio>

#include "frame/identity.h"
#include "media/media.h"

std::string DataFolder, CommonFolder, GameFolder, PlayerFolder, PlayerGameFolder;

namespace {

// The folder name the installed data and the player's folder share.
const char* const InstalledName = "plimbo-direr";

std::string WithSlash(const std::string& folder) {
  return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

// The week number as three digits: "248/".
std::string GameFolderName() {
  char name[16];
  std::snprintf(name, sizeof name, "%03d/", WeekNumber);
  return name;
}

// Beside the program, unless start-up was given another folder (tests).
std::string OwnData;
std::string BesideProgram() { return OwnData.empty() ? ProgramFolder() + "Files/" : OwnData; }

// <prefix>/share/plimbo-direr/ for a program in <prefix>/bin/.
std::string Installed() {
  std::string program = ProgramFolder();
  size_t slash = program.find_last_of('/', program.size() >= 2 ? program.size() - 2 : 0);
  std::string prefix = slash == std::string::npos ? program + "../" : program.substr(0, slash + 1);
  return prefix + "share/" + InstalledName + "/";
}

}  // namespace

void UseFolders(const std::string& dataFolder, const std::string& playerFolder) {
  DataFolder = WithSlash(dataFolder);
  CommonFolder = DataFolder + "Common/";
  GameFolder = DataFolder + GameFolderName();
  PlayerFolder = playerFolder.empty() ? DataFolder : WithSlash(playerFolder);
  PlayerGameFolder = PlayerFolder + GameFolderName();
}

// A data folder beside the program wins over an installed one, so a build
// tree or portable copy runs its own data even where the game is installed.
// Only a folder beside the program is written to: installed data belongs to
// the system, whoever runs the game.
void ResolveFolders(const std::string& dataFolder, const std::string& playerFolder) {
  OwnData = WithSlash(dataFolder);
  std::string data = BesideProgram();
  bool beside = FileType(data) == 2;
  if (!beside && FileType(Installed()) == 2) data = Installed();
  std::string player = playerFolder;
  if (player.empty() && !(beside && FolderWritable(data))) player = PrefFolder(InstalledName);
  UseFolders(data, player);
  // The data folder brings its own game folder; a separate player's folder
  // gets one on the first start.
  if (PlayerFolder != DataFolder) MakeFolder(PlayerGameFolder);
}

std::string MissingDataFolder() {
  if (FileType(DataFolder) != 2) return "no data folder (looked for " + BesideProgram() + " and " + Installed() + ")";
  if (FileType(CommonFolder) != 2) return "the data folder has no common folder " + CommonFolder;
  if (FileType(GameFolder) != 2) return "the data folder has no game folder " + GameFolder;
  return "";
}

// The game can still be played; what it would write is lost, each write
// saying so.
void ReportUnwritablePlayerFolder() {
  if (PlayerFolder != DataFolder && FileType(PlayerGameFolder) != 2)
    LogFailure("The player's folder could not be made: " + PlayerGameFolder);
}
