// Every screen at 800 x 600 and 1920 x 1080, headless: the ink box of each
// text in the screen's last frame is recorded, and no text may overlap
// another, leave the screen, or run over the edge of a filled box or a
// picture drawn before it (lying wholly on one, like a label on its button,
// is fine).
// With PLIMBO_GALLERY naming a folder, each screen is also saved there as a
// PNG for people to look at (scripts/gallery.sh).
#include <cstdlib>
#include <fstream>

#include "app/shutdown.h"
#include "app/title.h"
#include "frame/folders.h"
#include "frame/identity.h"
#include "frame/key_help.h"
#include "frame/pause.h"
#include "scores/name_entry.h"
#include "scores/records.h"
#include "tests/screens/screens_fixture.h"

namespace {

std::vector<DrawnBox> Drawn;  // since the screen was last cleared
// A screen that only ends when a key shuts it (the settings panel holds the
// frame while it is open) is checked as it was last drawn before this time.
int FreezeAt = -1;
bool Frozen = false;
void Record(const DrawnBox& box) {
  if (Frozen) return;
  if (box.kind != DRAWN_CLEAR) return Drawn.push_back(box);
  if (FreezeAt >= 0 && Millisecs() >= FreezeAt) Frozen = true;
  else Drawn.clear();
}

void Tap(int vk, int downAt, int upAt) {
  ScriptKey(Millisecs() + downAt, vk, true);
  ScriptKey(Millisecs() + upAt, vk, false);
}

const std::string WidestName(24, 'W');  // the most a score table row holds

// Twelve games of the variant the title shows, so the thank-the-maker box is
// drawn; the best has the widest name a row can hold.
void FillScorePanel() {
  FillCreditLines();
  for (int i = 0; i < 12; i++) {
    Scores record;
    record.Name = i == 0 ? WidestName : std::string("Player ").append(std::to_string(i));
    record.Score = i == 0 ? 999999999999 : 1000 * i;
    record.Timestamp = 1000 + i;
    record.GameMode = Difficulty;
    record.Level = GameLevel;
    record.GameFlags = GameFlags;
    record.Badges = 0xFFFF;
    ScoreList.push_back(record);
  }
}

void BlankFrames(int count) {
  for (int i = 0; i < count; i++) {
    BeginFrame(1);
    EndFrame(60, 1, 1);
  }
}

struct Screen {
  const char* name;
  void (*show)();
};
const Screen Screens[] = {
    // Slid in (32 frames), with the best game's details pinned.
    {"title_results",
     [] {
       FillScorePanel();
       ShownIndex = 1001;
       Tap(VK_ESCAPE, 560, 600);
       RunTitleScreen();
     }},
    {"settings_panel",
     [] {
       PlayerSlots = 4;
       SettingsMenuOpen = 1;
       FreezeAt = Millisecs() + 250;  // slid fully open
       Tap(VK_TAB, 300, 320);         // shuts it, so the held frame ends
       BlankFrames(1);
     }},
    {"overlay",
     [] {
       StatsOverlayOn = 1;
       BlankFrames(3);
     }},
    {"message_log",
     [] {
       AddMessage("Can't set to fullscreen in this resolution.", 1);
       AddMessage("Saved Screenshot", 1);
       AddMessage(std::string("A message as long as a message can be: ").append(200, 'M'), 1);
       BlankFrames(3);
     }},
    {"pause",
     [] {
       PauseState = 2;
       Tap(VK_ESCAPE, 20, 60);  // two frames: the spray is costly to draw
       RunPauseMenu();
     }},
    {"name_entry",
     [] {
       PlayerName = std::string(40, 'W');
       Tap(VK_RETURN, 20, 60);
       EnterName();
     }},
    {"watching",  // a kept game played back, with its marker, until the watcher presses a key
     [] {
       SetRecordingVersion(GameVersion);
       MakeFolder(PlayerGameFolder + "replays/");
       std::ofstream(ReplayFile(1)) << "recording " << GameVersion << " clock virtual seeds 7\n@600 end\n";
       Tap('Z', 150, 170);
       WatchGame(1);
     }},
    {"thanks", [] { ShowThanksScreen(); }},
    // F1 once the title has slid in; Escape shuts the help, a second one the title.
    {"help_title",
     [] {
       FillScorePanel();
       Tap(VK_F1, 560, 580);
       FreezeAt = Millisecs() + 700;
       Tap(VK_ESCAPE, 800, 820);
       Tap(VK_ESCAPE, 900, 920);
       RunTitleScreen();
     }},
    {"help_game",
     [] {
       HelpScreenShown = HELP_GAME;
       PauseState = 1;
       Tap(VK_F1, 0, 20);
       FreezeAt = Millisecs() + 200;
       Tap(VK_ESCAPE, 300, 320);
       BlankFrames(2);
     }},
};

// Deliberate overlaps: a text drawn over a copy of itself as a shadow, the
// pause menu's spray of window titles over everything, and the message log,
// whose bars are a line tall but stacked 14 units apart, so each message's
// descenders reach the bar of the older one below it.
enum Allowed { OVER_ITS_COPY, OVER_ANYTHING, OVER_BOX_EDGES };
struct Exemption {
  const char* screen;
  std::string text;  // empty: every text of the screen
  Allowed allowed;
};
// Built on first use: WindowTitle is another file's constant.
const std::vector<Exemption>& Exemptions() {
  static const std::vector<Exemption> table = {
      {"thanks", "Thanks for Playing", OVER_ITS_COPY},
      {"thanks", "Send Feedback!", OVER_ITS_COPY},
      {"pause", WindowTitle, OVER_ANYTHING},
      {"message_log", "", OVER_BOX_EDGES},
  };
  return table;
}

bool Allows(const std::string& screen, const DrawnBox& text, Allowed allowed) {
  for (const Exemption& e : Exemptions())
    if (screen == e.screen && e.allowed == allowed && (e.text.empty() || e.text == text.text)) return true;
  return false;
}

bool Exempt(const std::string& screen, const DrawnBox& a, const DrawnBox& b) {
  return Allows(screen, a, OVER_ANYTHING) || Allows(screen, b, OVER_ANYTHING) ||
         (a.text == b.text && Allows(screen, a, OVER_ITS_COPY));
}

// Smoothing and hinting leave up to two pixels of faint fringe around the ink.
constexpr float Fringe = 2.0f;
bool Overlap(const DrawnBox& a, const DrawnBox& b) {
  return a.left + Fringe < b.right - Fringe && b.left + Fringe < a.right - Fringe &&
         a.top + Fringe < b.bottom - Fringe && b.top + Fringe < a.bottom - Fringe;
}
bool Inside(const DrawnBox& inner, float left, float top, float right, float bottom) {
  return inner.left + Fringe >= left && inner.top + Fringe >= top && inner.right - Fringe <= right &&
         inner.bottom - Fringe <= bottom;
}
std::string Describe(const DrawnBox& b) {
  char where[96];
  std::snprintf(where, sizeof where, " at (%.0f, %.0f)-(%.0f, %.0f)", b.left, b.top, b.right, b.bottom);
  return std::string("\"").append(b.text, 0, 40).append("\"").append(where);
}

void CheckLayout(const std::string& screen) {
  std::vector<const DrawnBox*> texts;
  for (const DrawnBox& b : Drawn) {
    if (b.kind != DRAWN_TEXT) continue;
    if (Allows(screen, b, OVER_ANYTHING)) continue;
    EXPECT_TRUE(Inside(b, 0, 0, float(VirtW), float(VirtH))) << Describe(b) << " leaves the screen";
    // A text lies wholly on a box or picture drawn before it, or clear of it.
    for (const DrawnBox& box : Drawn) {
      if (&box == &b) break;
      if (box.kind == DRAWN_TEXT || box.turned || !Overlap(box, b) || Allows(screen, b, OVER_BOX_EDGES)) continue;
      EXPECT_TRUE(Inside(b, box.left, box.top, box.right, box.bottom))
          << Describe(b) << " runs over the edge of the " << (box.kind == DRAWN_RECT ? "box" : "picture") << " at ("
          << box.left << ", " << box.top << ")-(" << box.right << ", " << box.bottom << ")";
    }
    for (const DrawnBox* other : texts)
      if (Overlap(*other, b) && !Exempt(screen, *other, b))
        ADD_FAILURE() << Describe(*other) << " and " << Describe(b) << " overlap";
    texts.push_back(&b);
  }
  EXPECT_FALSE(texts.empty());
}

class LayoutTest : public ::testing::TestWithParam<std::tuple<Screen, std::pair<int, int>>> {
 protected:
  void TearDown() override {
    SetDrawRecorder(nullptr);
    StopMedia();
  }
};

TEST_P(LayoutTest, TextsFitTheirPlaces) {
  const auto& [screen, size] = GetParam();
  Drawn.clear();
  FreezeAt = -1;
  Frozen = false;
  StartMedia(MediaConfig{true, true});
  ScreenW = Settings[SETTING_WIDTH] = size.first;
  ScreenH = Settings[SETTING_HEIGHT] = size.second;
  ASSERT_TRUE(OpenDisplay(ScreenW, ScreenH, 0, 60));
  SetVirtualResolution(ScreenH == ScreenW * 9 / 16 ? 1600 : 1280, ScreenH == ScreenW * 9 / 16 ? 900 : 960);
  GraphicsOpen = 1;  // no loading screen
  LoadCommonAssets();
  StatsOverlayOn = 0;  // as the engine test leaves it after loading
  FrameStartMillis = Millisecs();
  SetDrawRecorder(Record);
  screen.show();
  SetDrawRecorder(nullptr);
  CheckLayout(screen.name);
  if (const char* gallery = std::getenv("PLIMBO_GALLERY")) {
    int picture = GrabPixmap(0, 0, RealWidth(), RealHeight());
    std::string file = std::string(gallery) + "/" + screen.name + "_" + std::to_string(size.first) + "x" +
                       std::to_string(size.second) + ".png";
    EXPECT_TRUE(SavePixmapPNG(picture, file, 6)) << file;
    FreePixmap(picture);
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, LayoutTest,
                         ::testing::Combine(::testing::ValuesIn(Screens),
                                            ::testing::Values(std::make_pair(800, 600), std::make_pair(1920, 1080))),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::to_string(std::get<1>(info.param).first);
                         });

}  // namespace
