// replay_test.cpp — a game's recording is watched only when it is whole and
// of this version; watched, it brings its input and values back in place of
// the player's, and a press of the player's stops it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/media.h"

namespace {

TEST(Replay, WatchingPlaysOnlyAWholeRecordingOfThisVersion) {
  StartMedia(MediaConfig{true, true});
  SetRecordingVersion("1.0");
  const std::string whole =
      "recording 1.0 clock real seeds 5\n@0 keystate 90 0 1 0 1\n@0 difficulty 2\n@2 keydown 39\n@9 end\n";
  const struct {
    const char* name;
    std::string text;  // empty: no file at all
    const char* message;
  } cases[] = {
      {"whole", whole, ""},
      {"another version", "recording 0.9 clock real seeds 5\n@9 end\n", "This replay was made by another version"},
      {"a line that is no note", "recording 1.0 clock real seeds\n@3 keydown 39\n@4 explode\n@9 end\n",
       "This replay is damaged"},
      {"no end", "recording 1.0 clock real seeds\n@3 keydown 39\n", "This replay is cut short"},
      {"an input script", "1000 key Z\n", "This replay is not a recording"},
      {"missing", "", "This replay was not found"},
  };
  const std::string path = (std::filesystem::temp_directory_path() / "plimbo_replay_test.rec").string();
  for (const auto& c : cases) {
    std::filesystem::remove(path);
    if (!c.text.empty()) std::ofstream(path) << c.text;
    EXPECT_EQ(WatchRecording(path), c.message) << c.name;
    EXPECT_EQ(WatchStatus(), *c.message ? WATCH_OVER : WATCH_ON) << c.name;
    StopWatching();
  }

  std::ofstream(path) << whole;
  ASSERT_EQ(WatchRecording(path), "");
  EXPECT_FALSE(KeyDown(90));  // held when the game began, but taken
  EXPECT_EQ(SeedFromClock(), 5);
  EXPECT_EQ(RecordedNumber("difficulty", 0), 2);
  PollEvents();
  EXPECT_FALSE(KeyDown(39));
  PollEvents();
  EXPECT_TRUE(KeyDown(39));
  SDL_Event press{};
  press.type = SDL_KEYDOWN;
  press.key.keysym.scancode = SDL_SCANCODE_A;
  SDL_PushEvent(&press);
  PollEvents();
  EXPECT_EQ(WatchStatus(), WATCH_STOPPED);
  EXPECT_FALSE(KeyDown('A'));  // the player's press stops the replay, and is not the game's
  StopWatching();
  EXPECT_FALSE(KeyDown(39));
  EXPECT_EQ(RecordedNumber("difficulty", 1), 1);
  std::filesystem::remove(path);
  StopMedia();
}

}  // namespace
