// The closing sequence: files written, the log's closing lines, exit code 0,
// no wait in unattended runs, a wait ended by input otherwise, and the
// thanks screen really drawn in its own 640 x 480 window.
#include "app/shutdown.h"

#include <csignal>
#include <cstdlib>

#include "scores/records.h"
#include "tests/screens/screens_fixture.h"

namespace {

class ShutDownTest : public ::testing::Test {
 protected:
  void SetUp() override { root = EnterScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()); }

  // Runs in the death test's child: a game folder with an open start-up log,
  // with the data folder's fonts and logos in the common folder.
  void PrepareRun() {
    OpenHeadlessDisplay();
    for (const char* name : {"logo.png", "Brimhall.png", "Blue Highway.ttf", "SVBasicManual.ttf"}) {
      std::filesystem::copy_file(std::string(PLIMBO_BINARY_DIR) + "/Files/Common/" + name,
                                 root / "Files" / "Common" / name, std::filesystem::copy_options::overwrite_existing);
    }
    SetDefaultSettings();
    OpenStartupLog(PlayerFolder + "Debug.txt");
    LogLine("Loading");
  }

  std::filesystem::path root;
};

TEST_F(ShutDownTest, HeadlessRunSavesLogsAndExitsWithoutWaiting) {
  EXPECT_EXIT(
      {
        PrepareRun();
        Options.headless = true;
        ShutDown();
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(std::filesystem::exists(root / "Files" / "Setup.ini"));
  auto log = ReadLines(root / "Files" / "Debug.txt");
  const std::vector<std::string> expected = {"Loading", "Closing Up", "", "Bye!", "", "Play again, soon!!"};
  EXPECT_EQ(log, expected);
}

TEST_F(ShutDownTest, ScoresAreSaved) {
  EXPECT_EXIT(
      {
        PrepareRun();
        Scores record;
        record.Name = "TESTER";
        record.Score = 1234;
        ScoreList.push_back(record);
        Options.headless = true;
        ShutDown();
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(std::filesystem::exists(root / "Files" / "248" / "scores.dat"));
}

TEST_F(ShutDownTest, FrameLimitedRunDoesNotWait) {
  EXPECT_EXIT(
      {
        PrepareRun();
        Options.headless = false;
        FrameLimit = 5;
        FramesEnded = 5;
        ShutDown();
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(ShutDownTest, WindowWaitsUntilAKeyIsPressed) {
  EXPECT_EXIT(
      {
        PrepareRun();
        Options.headless = false;
        ScriptKey(Millisecs() + 5000, 'A', true);
        ShutDown();
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(ShutDownTest, WindowWaitsUntilAMouseClick) {
  EXPECT_EXIT(
      {
        PrepareRun();
        Options.headless = false;
        ScriptMouseButton(Millisecs() + 5000, 2, true);
        ShutDown();
      },
      ::testing::ExitedWithCode(0), "");
}

// Closing the terminal, a kill or Ctrl+C: the next frame end saves and the
// program ends at once, with no thanks screen waiting for a key.
TEST_F(ShutDownTest, TerminationSignalsSaveAndExitWithoutWaiting) {
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    std::filesystem::remove(root / "Files" / "Setup.ini");
    EXPECT_EXIT(
        {
          PrepareRun();
          Options.headless = false;
          CatchTerminationSignals();
          std::raise(signal);
          EndFrame(60, 0, 1);
          std::_Exit(3);  // the frame end did not close down
        },
        ::testing::ExitedWithCode(0), "")
        << signal;
    EXPECT_TRUE(std::filesystem::exists(root / "Files" / "Setup.ini")) << signal;
    EXPECT_EQ(ReadLines(root / "Files" / "Debug.txt").back(), "Play again, soon!!") << signal;
  }
}

TEST_F(ShutDownTest, ThanksScreenIsDrawnInItsOwnWindow) {
  OpenHeadlessDisplay();
  UseFolders(PLIMBO_BINARY_DIR "/Files/");  // the build's logos and fonts
  ShowThanksScreen();
  EXPECT_EQ(RealWidth(), 640);
  EXPECT_EQ(RealHeight(), 480);
  EXPECT_EQ(VirtW, 640);
  uint32_t corner = ReadBackPixel(630, 470);
  EXPECT_EQ(Red(corner), 0);
  EXPECT_EQ(Green(corner), 0);
  EXPECT_EQ(Blue(corner), 80);
  // The fonts of the game's display went with it; the texts must still show.
  int white = 0, cyan = 0;
  for (int y = 220; y < 300; y++)
    for (int x = 0; x < 600; x++) {
      uint32_t p = ReadBackPixel(x, y);
      if (Red(p) > 230 && Green(p) > 230 && Blue(p) > 230) white++;
    }
  for (int y = 44; y < 200; y++)
    for (int x = 270; x < 640; x++) {
      uint32_t p = ReadBackPixel(x, y);
      if (Red(p) > 150 && Red(p) < 210 && Green(p) > 230 && Blue(p) > 230) cyan++;
    }
  EXPECT_GT(white, 200);
  EXPECT_GT(cyan, 100);
  StopMedia();
}

}  // namespace
