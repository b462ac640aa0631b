// screenshot.cpp — F11: the picture the running screen has drawn so far this
// frame goes into a PNG in the player's folder, named from the title and the
// local date and time.
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

  std::string name = CleanFileName(TitleWord1 + " " + TitleWord2 + " (Screenshot_" +
                                   RecordedText("shot", CurrentDate() + "_" + CurrentTime()) + ")") +
                     ".png";
  LogLine("\tSaving Screenshot : " + name);
  bool saved = SavePixmapPNG(pixels, PlayerFolder + name, 9);
  FreePixmap(pixels);
  LogLine("\tSaved Screenshot " + std::to_string(saved ? 1 : 0));
  LogLine("");
  if (saved) AddMessage("Saved Screenshot", 1);
  else ReportSave(PlayerFolder + name, WriteFailure());
}
