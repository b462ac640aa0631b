// name_entry.cpp — the "Enter Your Name" screen: its own loop that edits
// PlayerName in place, so a returning player only has to confirm.
#include "scores/name_entry.h"

#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/frame_end.h"
#include "frame/key_help.h"
#include "media/media.h"
#include "scores/records.h"

// The key or click that ended the game must not confirm the name at once.
// It runs outside frames, so it pumps the events itself.
static void WaitForRelease() {
  for (PollEvents(); KeyDown(VK_ESCAPE) || MouseDown(1) || KeyDown(VK_RETURN); PollEvents()) SleepMs(1);
}

// Names are stored a byte per character with "|" between the fields of
// "scores.dat", so "|" and characters beyond one byte are refused.
static bool Storable(int code) { return code >= 32 && code <= 255 && code != '|'; }

constexpr int NameMargin = 20;  // kept clear at each side of the screen

void EnterName() {
  FlushInput();
  WaitForRelease();
  for (;;) {
    Cls();
    DrawRedStripeBackground();
    int code = NextChar();
    if (Storable(code)) PlayerName += char(code);
    for (int hits = KeyHit(VK_BACK); hits > 0 && !PlayerName.empty(); hits--) PlayerName.pop_back();

    SetDrawColour(0, 255, 0);
    SetFont(FontTable[FONT_BLUE_72]);
    DrawTextAligned(VirtW / 2, VirtH / 2 - 100, "Enter Your Name", 1, 1);
    SetFont(FontTable[FONT_BLUE_96]);
    std::string cursor = Millisecs() % 600 < 300 ? "_" : " ";
    // A name too long for the screen shows its end, where the typing is.
    std::string shown = CutStartToWidth(PlayerName, VirtW - 2 * NameMargin - TextWidth("_"));
    DrawTextAligned(VirtW / 2 - TextWidth(shown) / 2, VirtH / 2, shown + cursor, 0, 1);

    bool confirmed = KeyHit(VK_RETURN) > 0 || MouseDown(1) || KeyDown(VK_ESCAPE);
    HelpScreenShown = HELP_NAME_ENTRY;
    EndFrame(TargetFps, 0, 1);
    if (confirmed) break;
  }
  SeedRandom(SeedFromClock());
  WaitForRelease();
}
