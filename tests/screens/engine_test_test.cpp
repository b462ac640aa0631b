// The engine test on the virtual clock, and the arithmetic from the best
// sprite count to the budgets, the minimums and frame skipping.
#include "frame/engine_test.h"

#include <algorithm>

#include "tests/screens/screens_fixture.h"

namespace {

class EngineTestTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    // A small real display: the 320 frames of stripes cost little there.
    ASSERT_TRUE(OpenDisplay(160, 120, 0, 60));
    SetVirtualResolution(1280, 960);
    ASSERT_TRUE(OpenStartupLog(PlayerFolder + "Debug.txt"));
  }
  std::vector<std::string> Log() {
    CloseStartupLog();
    return ReadLines(root / "Files" / "Debug.txt");
  }
  static bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

const char* const Overwritten = "Settings Overwritten, Set to Default Lower Limits at 30fps.";

TEST_F(EngineTestTest, KeepingSixtyToTheTopGivesTheHighestBudgets) {
  StatsOverlayOn = 1;
  RunEngineTest(60, 2);
  EXPECT_EQ(SpriteBudget[1], 8000);
  EXPECT_EQ(SpriteBudget[2], 8000);
  EXPECT_EQ(SpriteBudget[3], 4000);
  EXPECT_EQ(Settings[7], 0);
  EXPECT_EQ(TargetFps, 60);
  EXPECT_EQ(StatsOverlayOn, 0);
  EXPECT_EQ(FramesEnded, 40 * 8);
  auto log = Log();
  const std::vector<std::string> expected = {"Starting Engine Test",
                                             "Aiming for 60,2",
                                             "Test Complete",
                                             "",
                                             "Engine Test Results",
                                             "",
                                             "\tMaximum Sprites Allowed for 60 Frames Per Second",
                                             "\tMain sprites : 8000",
                                             "\tGlowy Sprites : 8000",
                                             "\tParticles : 4000",
                                             "",
                                             ""};
  EXPECT_EQ(log, expected);
}

TEST_F(EngineTestTest, SlowSystemAtEntryAimsForThirty) {
  Settings[7] = 1;
  RunEngineTest(60, 2);
  EXPECT_EQ(TargetFps, 30);
  EXPECT_EQ(Settings[7], 1);
  EXPECT_EQ(Settings[8], 0);
  EXPECT_EQ(SpriteBudget[1], 8000);
  auto log = Log();
  EXPECT_TRUE(Has(log, "Aiming for 30,2"));
  EXPECT_TRUE(Has(log, "\tMaximum Sprites Allowed for 30 Frames Per Second"));
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], Overwritten);
  EXPECT_EQ(log.back(), "");
}

// Frame skipping the test chose is measured again at the next start;
// frame skipping the player chose stays (SlowSystemAtEntryAimsForThirty).
TEST_F(EngineTestTest, FrameSkippingTheTestChoseIsMeasuredAgain) {
  Settings[7] = 1;
  Settings[8] = 1;
  RunEngineTest(60, 2);
  EXPECT_EQ(TargetFps, 60);
  EXPECT_EQ(Settings[7], 0);
  EXPECT_EQ(Settings[8], 0);
  EXPECT_TRUE(Has(Log(), "Aiming for 60,2"));
}

// A step's rate comes from its second-quickest frame, so a busy machine's
// hiccups do not fail it, and one freak quick frame does not pass it.
TEST(StepFrameRate, SecondQuickestOfTheFramesWorkingTimes) {
  struct Case {
    std::vector<int> work;
    int rate;
  };
  const Case cases[] = {
      {{16, 16, 17, 17, 16, 17, 16, 17}, 62}, {{17, 40, 45, 17, 30, 45, 40, 30}, 58},
      {{5, 30, 30, 30, 30, 30, 30, 30}, 33},  {{20, 20, 20, 20, 20, 20, 20, 20}, 50},
      {{0, 0, 0, 0, 0, 0, 0, 0}, 1000},       {{18}, 55},
  };
  for (const Case& c : cases) EXPECT_EQ(StepFrameRate(c.work), c.rate);
}

TEST_F(EngineTestTest, BestOf3000KeepsTheSettings) {
  TargetFps = 60;
  SizeSpriteBudgets(3000);
  EXPECT_EQ(SpriteBudget[1], 1200);
  EXPECT_EQ(SpriteBudget[2], 1200);
  EXPECT_EQ(SpriteBudget[3], 600);
  EXPECT_EQ(TargetFps, 60);
  EXPECT_EQ(Settings[7], 0);
  EXPECT_FALSE(Has(Log(), Overwritten));
}

TEST_F(EngineTestTest, BestOfNothingSwitchesToFrameSkippingAtThirty) {
  TargetFps = 60;
  SizeSpriteBudgets(0);
  EXPECT_EQ(SpriteBudget[1], 1000);
  EXPECT_EQ(SpriteBudget[2], 500);
  EXPECT_EQ(SpriteBudget[3], 250);
  EXPECT_EQ(TargetFps, 30);
  EXPECT_EQ(Settings[7], 1);
  EXPECT_EQ(Settings[8], 1);  // the test's choice, not the player's
  auto log = Log();
  // The logged figures are the measured ones, before the minimums.
  EXPECT_TRUE(Has(log, "\tMain sprites : 0"));
  EXPECT_TRUE(Has(log, Overwritten));
}

TEST_F(EngineTestTest, BestOf2000RaisesOnlyTheMainBudgetFloor) {
  TargetFps = 60;
  SizeSpriteBudgets(2000);
  EXPECT_EQ(SpriteBudget[1], 1000);
  EXPECT_EQ(SpriteBudget[2], 800);
  EXPECT_EQ(SpriteBudget[3], 400);
  EXPECT_EQ(TargetFps, 30);
  EXPECT_EQ(Settings[7], 1);
}

TEST_F(EngineTestTest, BestOf2500IsJustEnough) {
  TargetFps = 60;
  SizeSpriteBudgets(2500);
  EXPECT_EQ(SpriteBudget[1], 1000);
  EXPECT_EQ(TargetFps, 60);
  EXPECT_EQ(Settings[7], 0);
}

}  // namespace
