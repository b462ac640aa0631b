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

// "/usr/bin/" -> "/usr/": the installed paths read plainly in the log.
std::string ParentFolder(const std::string& folder) {
  size_t cut = folder.find_last_of('/', folder.size() - 2);
  return cut == std::string::npos ? folder + "../" : folder.substr(0, cut + 1);
}

std::string BesideProgram() { return ProgramFolder() + "Files/"; }
std::string Installed() { return ParentFolder(ProgramFolder()) + "share/" + InstalledName + "/"; }

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
// An installed data folder is never the player's, even for someone who may
// write to it (root, or an install into one's own prefix): the package
// manager owns it, and scores left there would be lost with the next update.
void ResolveFolders(const std::string& playerFolder) {
  std::string data = BesideProgram();
  bool installed = FileType(data) != 2 && FileType(Installed()) == 2;
  if (installed) data = Installed();
  std::string player = playerFolder;
  if (player.empty() && (installed || !FolderWritable(data))) player = PrefFolder(InstalledName);
  UseFolders(data, player);
  // The data folder brings its own game folder; a separate player's folder
  // gets one on the first start.
  if (PlayerFolder != DataFolder) MakeFolder(PlayerGameFolder);
}

void ReportMissingFolders() {
  if (FileType(DataFolder) != 2) {
    LogFailure("No data folder: looked for " + BesideProgram() + " and " + Installed());
    return;
  }
  if (FileType(CommonFolder) != 2) LogFailure("The common folder is missing: " + CommonFolder);
  if (FileType(GameFolder) != 2) LogFailure("The game folder is missing: " + GameFolder);
  if (PlayerFolder != DataFolder && FileType(PlayerGameFolder) != 2)
    LogFailure("The player's folder could not be made: " + PlayerGameFolder);
}
