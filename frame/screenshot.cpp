// screenshot.cpp — F11: the picture the running screen has drawn so far this
// frame goes into a PNG in the data folder, named from the title and the
// local date and time.
#include "frame/screenshot.h"

#include "app/assets.h"
#include "app/settings.h"
#include "app/startup.h"
#include "frame/draw.h"
#include "frame/frame_end.h"
#include "media/media.h"

std::string CleanFileName(const std::string& text) {
  std::string clean = text;
  for (const char* bad : {"#", "'", ",", "`", ".", "\\", "/", ":", "|", "*", "?", "\""}) clean = Replace(clean, bad, "");
  return clean;
}

void TakeScreenshot() {
  LogLine("");
  LogLine("\tScreenshot");
  ChangeDir("..");
  LogLine("\tGrabbing Screenshot");
  int pixels = GrabPixmap(0, 0, ScreenW, ScreenH);

  ResetDrawState();
  SetFont(FontTable[5]);
  DrawTextAligned(VirtW / 2, VirtH / 2 - 30, "Saving Screenshot", 1, 1);
  SetFont(FontTable[6]);
  DrawTextAligned(VirtW / 2, VirtH / 2 + 30, "Sometimes, this takes a while!", 1, 1);
  Flip(-1);

  std::string name = CleanFileName(TitleWord1 + " " + TitleWord2 + " (Screenshot_" + CurrentDate() + "_" +
                                   CurrentTime() + ")") + ".png";
  LogLine("\tSaving Screenshot : " + name);
  bool saved = SavePixmapPNG(pixels, name, 9);
  FreePixmap(pixels);
  LogLine("\tSaved Screenshot " + std::to_string(saved ? 1 : 0));
  LogLine("");
  ChangeDir(GameFolder);
  AddMessage("Saved Screenshot", 1);
}
