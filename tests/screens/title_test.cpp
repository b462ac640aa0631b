// The title screen: difficulty keys, starting a game and the start latch,
// the settings panel blocking starts, the Escape latch, the credits panel.
#include "app/title.h"

#include "game/game.h"
#include "music/music.h"
#include "scores/panel.h"
#include "tests/screens/screens_fixture.h"

namespace {

int GamesStarted;
int PauseStateInGame;
float PointerXInGame, PointerYInGame;
int GameEndedAt;

void CountGame() {
  GamesStarted++;
  PauseStateInGame = PauseState;
  PointerXInGame = PointerX();
  PointerYInGame = PointerY();
  GameEndedAt = Millisecs();
}

class TitleTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    GamesStarted = 0;
    PauseStateInGame = -1;
    RunGameHook = CountGame;
  }
};

TEST_F(TitleTest, UpOnEasySelectsHard) {
  Difficulty = 0;
  Tap(VK_UP, 100, 200);
  Tap(VK_ESCAPE, 400, 500);
  RunTitleScreen();
  EXPECT_EQ(Difficulty, 2);
  EXPECT_EQ(GamesStarted, 0);
}

TEST_F(TitleTest, DownOnHardSelectsEasy) {
  Difficulty = 2;
  Tap(VK_DOWN, 100, 200);
  Tap(VK_ESCAPE, 400, 500);
  RunTitleScreen();
  EXPECT_EQ(Difficulty, 0);
  EXPECT_EQ(GamesStarted, 0);
}

TEST_F(TitleTest, AHeldDirectionMovesTheChoiceOnce) {
  Difficulty = 0;
  Tap(VK_DOWN, 100, 700);
  Tap(VK_ESCAPE, 900, 1000);
  RunTitleScreen();
  EXPECT_EQ(Difficulty, 1);
}

TEST_F(TitleTest, StartButtonStartsAGameWithPausingAllowed) {
  // A slowed-down loop, so that it is still playing when the game starts.
  int sound = LoadSound(std::string(PLIMBO_BINARY_DIR) + "/Files/248/music/accompany1.wav");
  ASSERT_NE(sound, 0);
  ChannelTable[1] = CueSound(sound);
  SetChannelRate(ChannelTable[1], 0.05f);
  ResumeChannel(ChannelTable[1]);
  int channel = ChannelTable[1];
  Tap('Z', 100, 150);
  Tap(VK_ESCAPE, 600, 700);
  RunTitleScreen();
  EXPECT_EQ(GamesStarted, 1);
  EXPECT_EQ(PauseStateInGame, 1);
  EXPECT_EQ(PauseState, 0);
  EXPECT_FLOAT_EQ(PointerXInGame, 1280);
  EXPECT_FLOAT_EQ(PointerYInGame, 960);
  EXPECT_EQ(ChannelTable[1], 0);
  EXPECT_FALSE(ChannelPlaying(channel));
}

TEST_F(TitleTest, LeftAndRightStartAGameToo) {
  Tap(VK_LEFT, 100, 150);
  Tap(VK_RIGHT, 400, 450);
  Tap(VK_ESCAPE, 800, 900);
  RunTitleScreen();
  EXPECT_EQ(GamesStarted, 2);
}

TEST_F(TitleTest, StartButtonHeldAsAGameEndsMustBeReleasedFirst) {
  ScriptKey(Millisecs() + 100, 'Z', true);
  ScriptKey(Millisecs() + 1000, 'Z', false);
  Tap('Z', 1200, 1260);
  Tap(VK_ESCAPE, 1600, 1700);
  RunTitleScreen();
  EXPECT_EQ(GamesStarted, 2);
}

TEST_F(TitleTest, StartButtonHeldOnEntryMustBeReleasedFirst) {
  ScriptKey(Millisecs(), 'Z', true);
  ScriptKey(Millisecs() + 500, 'Z', false);
  Tap(VK_ESCAPE, 800, 900);
  PollEvents();  // the pump that ended the frame before the title
  RunTitleScreen();
  EXPECT_EQ(GamesStarted, 0);
}

TEST_F(TitleTest, EscapeInTheOpenPanelOnlyClosesItAndNoGameStarts) {
  int start = Millisecs();
  Tap(VK_TAB, 100, 150);
  Tap('Z', 300, 360);
  Tap(VK_ESCAPE, 600, 700);  // closes the panel; the title stays
  Tap(VK_ESCAPE, 1600, 1700);
  RunTitleScreen();
  EXPECT_GE(Millisecs() - start, 1600);
  EXPECT_EQ(SettingsMenuOpen, 0);
  EXPECT_EQ(GamesStarted, 0);
}

TEST_F(TitleTest, NoGameStartsWhileTheSettingsPanelIsStillSlidingOut) {
  // Just closed: the panel moves up 32 a frame and passes -250 only after
  // nine frames, long after the press.
  SettingsMenuOpen = 0;
  PanelY = 20;
  Tap('Z', 30, 60);
  Tap(VK_ESCAPE, 400, 500);
  RunTitleScreen();
  EXPECT_EQ(PanelY, -300);
  EXPECT_EQ(GamesStarted, 0);
}

TEST_F(TitleTest, EscapeHeldOnEntryDoesNotQuit) {
  int start = Millisecs();
  ScriptKey(start, VK_ESCAPE, true);
  ScriptKey(start + 300, VK_ESCAPE, false);
  Tap(VK_ESCAPE, 600, 700);
  RunTitleScreen();
  EXPECT_GE(Millisecs() - start, 600);
}

TEST_F(TitleTest, EscapeHeldAsAGameEndsDoesNotQuit) {
  RunGameHook = [] {
    CountGame();
    ScriptKey(Millisecs(), VK_ESCAPE, true);
    ScriptKey(Millisecs() + 300, VK_ESCAPE, false);
    ScriptKey(Millisecs() + 600, VK_ESCAPE, true);
  };
  Tap('Z', 100, 150);
  RunTitleScreen();
  EXPECT_EQ(GamesStarted, 1);
  EXPECT_GE(Millisecs() - GameEndedAt, 600);
}

TEST_F(TitleTest, GameResetsTheScorePanelView) {
  RunGameHook = [] {
    CountGame();
    GraphScroll = 700;
    ShownIndex = 3;
  };
  Tap('Z', 100, 150);
  ScriptKey(Millisecs() + 150, VK_ESCAPE, true);
  RunTitleScreen();
  EXPECT_EQ(GamesStarted, 1);
  EXPECT_EQ(GraphScroll, 0);
  EXPECT_EQ(ShownIndex, 0);
}

TEST_F(TitleTest, ClickingAChoiceSelectsIt) {
  Difficulty = 0;
  // "Hard" lies at y = 480 + 300 once the texts have slid in.
  ScriptMouseMove(Millisecs() + 600, 640, 800);
  ScriptMouseButton(Millisecs() + 650, 1, true);
  ScriptMouseButton(Millisecs() + 700, 1, false);
  Tap(VK_ESCAPE, 900, 1000);
  RunTitleScreen();
  EXPECT_EQ(Difficulty, 2);
  EXPECT_EQ(GamesStarted, 0);
}

TEST_F(TitleTest, SongHotKeyStartsASong) {
  UseFolders(PLIMBO_BINARY_DIR "/Files/");
  Tap('M', 100, 150);
  Tap(VK_ESCAPE, 400, 500);
  RunTitleScreen();
  EXPECT_EQ(MusicOn, 1);
  EXPECT_EQ(SongSeed, 17);
}

// The panel darkens the stripes to 40 percent; the stripes are at least 50 blue.
bool Darkened(int virtualX) { return Blue(ReadBackPixel(virtualX * ScreenW / 1280, 940 * ScreenH / 960)) < 45; }

TEST_F(TitleTest, CreditsPanelIs416WideBelowScreenWidth900) {
  Tap(VK_ESCAPE, 700, 800);
  RunTitleScreen();
  EXPECT_TRUE(Darkened(300));
  EXPECT_TRUE(Darkened(400));
  EXPECT_FALSE(Darkened(440));
}

TEST_F(TitleTest, CreditsPanelIs320WideFromScreenWidth900) {
  ASSERT_TRUE(OpenDisplay(1024, 768, 0, 60));
  SetVirtualResolution(1280, 960);
  ScreenW = 1024, ScreenH = 768;
  Tap(VK_ESCAPE, 700, 800);
  RunTitleScreen();
  EXPECT_TRUE(Darkened(300));
  EXPECT_FALSE(Darkened(350));
  EXPECT_FALSE(Darkened(400));
}

}  // namespace
