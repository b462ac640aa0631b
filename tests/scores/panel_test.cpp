// panel_test.cpp — the score panel: the best-25 table, pruning of old
// records, the mouse choosing the detail record, and what is drawn.
#include <algorithm>

#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "scores/panel.h"
#include "tests/support/headless.h"

namespace {

class Panel : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenHeadlessDisplay();
    MouseX = MouseY = -1000;
  }
  void TearDown() override { StopMedia(); }

  // Records 1..count of a variant, the first the newest.
  static void Fill(int count, int mode, int (*score)(int)) {
    for (int i = 1; i <= count; i++) {
      Scores s;
      s.Score = score(i);
      s.Timestamp = 100000 - i;
      s.Name = "P" + std::to_string(i);
      s.GameMode = mode;
      ScoreList.push_back(s);
    }
  }

  // Fresh black screen, then the panel fully slid in.
  static void Draw(int mode = 0) {
    Cls();
    DrawScorePanel(320, mode, 0, 0);
  }

  // Brightest blue around a virtual point (the display is 0.625 of virtual).
  static int BlueAt(int vx, int vy) {
    int best = 0;
    for (int dy = -1; dy <= 1; dy++) best = std::max(best, Blue(ReadBackPixel(vx * 5 / 8, vy * 5 / 8 + dy)));
    return best;
  }
};

TEST_F(Panel, EqualScoresPutTheNewerHigherAndOtherVariantsStayOut) {
  Fill(3, 0, [](int) { return 50; });
  Fill(2, 1, [](int) { return 999; });
  Draw();
  EXPECT_EQ(TopTable[1]->Name, "P1");
  EXPECT_EQ(TopTable[2]->Name, "P2");
  EXPECT_EQ(TopTable[3]->Name, "P3");
  EXPECT_EQ(TopTable[4], nullptr);
}

TEST_F(Panel, ABetterScorePushesTheTwentyFifthOut) {
  Fill(25, 0, [](int i) { return 100 - i; });  // P25 is the 25th best with 75
  Draw();
  EXPECT_EQ(TopTable[25]->Name, "P25");
  Scores best;
  best.Score = 1000;
  best.Timestamp = 200000;
  best.Name = "TOP";
  AddScoreRecord(best);
  Draw();
  EXPECT_EQ(TopTable[1]->Name, "TOP");
  EXPECT_EQ(TopTable[25]->Name, "P24");
  for (int n = 1; n <= 25; n++) EXPECT_NE(TopTable[n]->Name, "P25");
}

TEST_F(Panel, OldRecordsSurviveOnlyAmongTheBest) {
  // Newest 50 score 10; the 51st scores 500 (in the best 25), the 52nd 1.
  Fill(52, 0, [](int i) { return i == 51 ? 500 : i == 52 ? 1 : 10; });
  Fill(60, 3, [](int) { return 1; });
  Draw();
  EXPECT_EQ(ScoreList.size(), 51u + 60u);
  EXPECT_TRUE(std::any_of(ScoreList.begin(), ScoreList.end(), [](const Scores& s) { return s.Name == "P51"; }));
  EXPECT_FALSE(std::any_of(ScoreList.begin(), ScoreList.end(),
                           [](const Scores& s) { return s.Name == "P52" && s.GameMode == 0; }));
  Draw(3);  // the other variant: the best 25 of equal scores are the newest
  EXPECT_EQ(ScoreList.size(), 51u + 50u);
}

TEST_F(Panel, APinnedRecordThatIsPrunedIsNotKept) {
  Fill(52, 0, [](int) { return 10; });
  ShownIndex = 52;
  Draw();
  EXPECT_EQ(ShownRecord, nullptr);
  EXPECT_EQ(ScoreList.size(), 50u);
  Draw();
}

// Never more recordings beside scores.dat than records kept.
TEST_F(Panel, APrunedRecordTakesItsRecordingAlong) {
  Fill(52, 0, [](int) { return 10; });
  MakeFolder(PlayerGameFolder + "replays/");
  for (const Scores& s : ScoreList) CloseStream(OpenWrite(ReplayFile(s.Timestamp)));
  Draw();
  for (int i = 1; i <= 52; i++) EXPECT_EQ(FileType(ReplayFile(100000 - i)), i <= 50 ? 1 : 0) << i;
}

TEST_F(Panel, NoRecordsDrawsOnlyTheBackgroundAndGraphLine) {
  SetDrawColour(255, 255, 255, 1);
  DrawRect(0, 0, 1280, 960);
  DrawScorePanel(320, 0, 0, 0);
  EXPECT_NEAR(Red(ReadBackPixel(1120 * 5 / 8, 600 * 5 / 8)), 102, 3);  // black at 0.6 on white
  EXPECT_EQ(Red(ReadBackPixel(1120 * 5 / 8, 100 * 5 / 8)), 255);       // no thanks box
  EXPECT_EQ(ShownRecord, nullptr);
  Draw();
  EXPECT_GE(BlueAt(1200, 800), 60);  // the graph's top line
  EXPECT_EQ(BlueAt(1120, 100), 0);
  EXPECT_EQ(Red(ReadBackPixel(1120 * 5 / 8, 450 * 5 / 8)), 0);  // no detail box
}

TEST_F(Panel, ThanksBoxNeedsElevenRows) {
  Fill(10, 0, [](int i) { return i; });
  Draw();
  EXPECT_EQ(BlueAt(1120, 100), 0);
  Fill(1, 0, [](int) { return 0; });
  ScoreList.back().Timestamp = 1;
  Draw();
  EXPECT_GE(BlueAt(1120, 100), 40);
}

TEST_F(Panel, AllZeroScoresDrawWithoutDividingByZero) {
  Fill(30, 0, [](int) { return 0; });
  Fill(2, 0, [](int) { return -5; });
  Draw();
  EXPECT_EQ(TopTable[1]->Name, "P1");
}

TEST_F(Panel, MouseChoosesTheDetailRecord) {
  Fill(12, 0, [](int i) { return i * 10; });  // P12 is the best, P1 the newest
  ShownIndex = 1001;
  Draw();
  ASSERT_NE(ShownRecord, nullptr);
  EXPECT_EQ(ShownRecord->Name, "P12");
  EXPECT_GE(Red(ReadBackPixel(1120 * 5 / 8, 450 * 5 / 8)), 120);  // the detail box

  ShownIndex = 0;
  MouseX = 1280 - 320 + 306;  // the newest game's column
  MouseY = 960 - 80;
  Draw();
  EXPECT_EQ(ShownRecord->Name, "P1");
  EXPECT_EQ(ShownIndex, 0);  // hovering alone does not pin

  MouseX = 1280 - 320 + 100;  // table row 2
  MouseY = 960 - 436 + 17 + 5;
  Draw();
  EXPECT_EQ(ShownRecord->Name, "P11");
}

TEST_F(Panel, HoveringTheGraphEdgesScrolls) {
  Fill(80, 0, [](int i) { return i; });
  MouseX = 1280 - 320;
  MouseY = 960 - 80;
  for (int f = 0; f < 200; f++) Draw();
  EXPECT_EQ(GraphScroll, 1000);
  MouseX = 1280 - 20;
  Draw();
  EXPECT_EQ(GraphScroll, 992);
}

}  // namespace
