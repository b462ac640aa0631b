// name_entry_test.cpp — the name entry screen driven by scripted keys and
// typing on the virtual clock, and the record a finished game leaves.
#include "scores/name_entry.h"
#include "frame/frame_end.h"
#include "game/game.h"
#include "scores/datetime.h"
#include "scores/records.h"
#include "tests/support/headless.h"

namespace {

class NameEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenHeadlessDisplay();
    FrameLimit = 5000;  // a test that never confirms closes down instead of hanging
    start = Millisecs();
  }
  void TearDown() override { StopMedia(); }

  void Press(int at, int vk) {
    ScriptKey(start + at, vk, true);
    ScriptKey(start + at + 10, vk, false);
  }

  int start = 0;
};

TEST_F(NameEntry, ConfirmingAtOnceKeepsTheName) {
  Press(50, VK_RETURN);
  EnterName();
  EXPECT_EQ(PlayerName, "Player");
  // A click confirms too, and is waited out before returning.
  ScriptMouseButton(Millisecs() + 100, 1, true);
  ScriptMouseButton(Millisecs() + 400, 1, false);
  int clicked = Millisecs();
  EnterName();
  EXPECT_EQ(PlayerName, "Player");
  EXPECT_GE(Millisecs(), clicked + 400);
}

TEST_F(NameEntry, TypingAppendsOnlyStorableCharacters) {
  PlayerName = "";
  // "|", a tab, a newline and the euro sign (beyond one byte) are refused; é is kept.
  ScriptText(start + 50,
             "A|n\t\n\xC3\xA9\xE2\x82\xAC"
             "n~");
  Press(1000, VK_RETURN);
  EnterName();
  EXPECT_EQ(PlayerName, "An\xE9n~");
}

TEST_F(NameEntry, OneTypedCharacterPerFrame) {
  ScriptText(start + 50, "abcdefgh");
  Press(90, VK_RETURN);  // about three frames later
  EnterName();
  EXPECT_EQ(PlayerName.substr(0, 7), "Playera");
  EXPECT_LT(PlayerName.size(), std::string("Playerabcdefgh").size());
  EXPECT_EQ(PlayerName, std::string("Playerabcdefgh").substr(0, PlayerName.size()));
}

TEST_F(NameEntry, BackspaceEmptiesAOneLetterName) {
  PlayerName = "Q";
  Press(50, VK_BACK);
  Press(100, VK_BACK);  // nothing left to remove
  Press(200, VK_RETURN);
  EnterName();
  EXPECT_EQ(PlayerName, "");
}

TEST_F(NameEntry, EscapeConfirmsRatherThanCancels) {
  ScriptText(start + 50, "Zed");
  ScriptKey(start + 500, VK_ESCAPE, true);
  ScriptKey(start + 700, VK_ESCAPE, false);
  EnterName();
  EXPECT_EQ(PlayerName, "PlayerZed");
  EXPECT_GE(Millisecs(), start + 700);  // waits for the key to be let go
}

TEST_F(NameEntry, AFinishedGameLeavesItsRecord) {
  EnterScratchFolder("scores_finished");
  AddScoreRecord(Scores{});  // an older game
  GameScore = 1234;
  GameBadges = 5;
  for (int i = 1; i <= 30; i++) GameResults[i] = i;
  Difficulty = 2;
  PlayerName = "X";
  Press(50, VK_BACK);
  ScriptText(start + 100, "Kim");
  Press(400, VK_RETURN);
  int64_t before = DateStamp("");
  StoreFinishedGame(1);
  ASSERT_EQ(ScoreList.size(), 2u);
  const Scores& s = ScoreList.front();
  EXPECT_EQ(s.Name, "Kim");
  EXPECT_EQ(s.Score, 1234);
  EXPECT_EQ(s.Badges, 5);
  EXPECT_EQ(s.GameMode, 2);
  EXPECT_EQ(s.Level, 0);
  EXPECT_EQ(s.GameFlags, 0);
  EXPECT_EQ(s.Quit, 1);
  EXPECT_EQ(s.Best[1], 1);
  EXPECT_EQ(s.Best[30], 30);
  EXPECT_GE(s.Timestamp, before);
  EXPECT_LT(s.Timestamp, before + 24 * 3600);
}

}  // namespace
