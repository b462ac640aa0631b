// Screenshots: the file name rules and a real PNG in the player's folder.
#include "frame/screenshot.h"

#include <filesystem>

#include "frame/frame_end.h"
#include "tests/support/headless.h"

TEST(CleanFileName, RemovesEveryUnsafeCharacter) {
  EXPECT_EQ(CleanFileName("Plimbo Direr (Screenshot_07 Dec 2026_15:03:34)"),
            "Plimbo Direr (Screenshot_07 Dec 2026_150334)");
  EXPECT_EQ(CleanFileName("a#b'c,d`e.f\\g/h:i|j*k?l\"m"), "abcdefghijklm");
}

TEST(TakeScreenshot, WritesAPngIntoThePlayersFolderAndPostsAMessage) {
  OpenHeadlessDisplay();
  auto root = EnterScratchFolder("shot");
  Cls();
  SetColour(255, 0, 0);
  DrawRect(0, 0, 100, 100);
  TakeScreenshot();
  int pngs = 0;
  for (auto& entry : std::filesystem::directory_iterator(root / "Files")) {
    std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".png") {
      pngs++;
      EXPECT_EQ(name.rfind("Plimbo Direr (Screenshot_", 0), 0u) << name;
      EXPECT_EQ(name.find(':'), std::string::npos);
      EXPECT_GT(std::filesystem::file_size(entry.path()), 100u);
    }
  }
  EXPECT_EQ(pngs, 1);
  ASSERT_FALSE(MessageList.empty());
  EXPECT_EQ(MessageList.back().txt, "Saved Screenshot");
}
