// screenshot.cpp — F11: the picture the running screen has drawn so far this
// frame goes into a PNG in the player's folder, named from the title and the
// local date and time. F10: the last ten seconds go into a GIF named the
// same way, written while play goes on.
#include "frame/screenshot.h"

#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/identity.h"
#include "frame/save_report.h"
#include "media/media.h"

std::string CleanFileName(const std::string& text) {
  std::string clean = text;
  for (const char* bad : {"#", "'", ",", "`", ".", "\\", "/", ":", "|", "*", "?", "\""})
    clean = Replace(clean, bad, "");
  return clean;
}

// A replayed session names its pictures by the moments they were first
// taken, so its files come out as the recorded session's did.
static std::string SavedFileName(const char* kind, const char* extension) {
  std::string stamp = RecordedText("shot", CurrentDate() + "_" + CurrentTime());
  return CleanFileName(TitleWord1 + " " + TitleWord2 + " (" + kind + "_" + stamp + ")") + extension;
}

void TakeScreenshot() {
  LogLine("");
  LogLine("\tScreenshot");
  LogLine("\tGrabbing Screenshot");
  // The whole window as it is: the player may have resized it.
  int pixels = GrabPixmap(0, 0, RealWidth(), RealHeight());

  ResetDrawState();
  SetFont(FontTable[FONT_BLUE_96]);
  DrawTextWithin(VirtW / 2, VirtH / 2 - 30, "Saving Screenshot", 1, 1, VirtW);
  SetFont(FontTable[FONT_BLUE_72]);
  DrawTextWithin(VirtW / 2, VirtH / 2 + 30, "Sometimes, this takes a while!", 1, 1, VirtW);
  Flip(-1);

  std::string name = SavedFileName("Screenshot", ".png");
  LogLine("\tSaving Screenshot : " + name);
  bool saved = SavePixmapPNG(pixels, PlayerFolder + name, 9);
  FreePixmap(pixels);
  LogLine("\tSaved Screenshot " + std::to_string(saved ? 1 : 0));
  LogLine("");
  if (saved) AddMessage("Saved Screenshot", 1);
  else ReportSave(PlayerFolder + name, WriteFailure());
}

void SaveGifOfPlay() {
  std::string name = SavedFileName("GIF", ".gif");
  LogLine("");
  LogLine("\tGIF");
  LogLine("\tSaving GIF : " + name);
  std::string why = SaveGif(PlayerFolder + name);
  if (!why.empty()) {
    LogLine("\tSaved GIF 0 (" + why + ")");
    AddMessage("No GIF: " + why, 1);
    return;
  }
  AddMessage("Saving GIF", 1);
}

void ReportGifSave() {
  std::string path, why;
  int outcome = GifSaveOutcome(&path, &why);
  if (outcome == 0) return;
  LogLine("\tSaved GIF " + std::to_string(outcome == 1 ? 1 : 0));
  LogLine("");
  if (outcome == 1) AddMessage("Saved GIF", 1);
  else ReportSave(path, why);
}

void FinishGifSave() {
  WaitForGifSave();
  ReportGifSave();
}
