// essentials.cpp — the files the game cannot be played without. Every text
// needs the fonts, the pointer is frame 63 of the icon strip, and the six
// game images draw the game; the ball's pixel masks even decide whether a
// ghost touches it, so without them the game could never be lost. A window
// showing such a game would only hide what went wrong, so start-up ends
// instead. Logos, badges and sounds are not among them: the game plays on
// without those, their loaders having named each one.
#include "app/essentials.h"

#include <vector>

#include "app/assets.h"
#include "frame/common_media.h"
#include "frame/folders.h"
#include "game/game.h"
#include "media/media.h"

namespace {

struct Essential {
  const std::string& folder;
  std::string file;
  int handle;  // as loaded, 0 when it failed
};

std::vector<Essential> Essentials() {
  return {{CommonFolder, "SVBasicManual.ttf", FontTable[FONT_BASIC_24]},
          {CommonFolder, "Blue Highway.ttf", FontTable[FONT_BLUE_96]},
          {CommonFolder, "Acknowledge TT QVX.ttf", FontTable[FONT_ACK_112]},
          {CommonFolder, "icons.png", IconStrip},
          {GameFolder, "darken.png", VignetteImage},
          {GameFolder, "bg.png", BackgroundImage},
          {GameFolder, "gfx.png", TileImage},
          {GameFolder, "plimbo.png", BallImage},
          {GameFolder, "tick.png", TimerImage},
          {GameFolder, "iluvamiga.png", PickupImage}};
}

}  // namespace

void CannotStart(const std::string& why) {
  if (!why.empty()) LogFailure("cannot start: " + why);
  DeleteFile(CrashMarker());  // not a crash: the next start keeps its renderer
  CloseStartupLog();
  EndProcess(1);
}

// Looked for before the display opens, and checked again once loaded: a
// file can be there and still be damaged.
void RequireEssentials(bool loaded) {
  std::string wrong;
  for (const Essential& e : Essentials()) {
    bool ok = loaded ? e.handle != 0 : FileType(e.folder + e.file) == 1;
    if (!ok) wrong += (wrong.empty() ? "" : ", ") + e.folder + e.file;
  }
  if (!wrong.empty()) CannotStart(std::string(loaded ? "could not load " : "missing ") + wrong);
}
