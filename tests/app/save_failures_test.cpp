// Saves that cannot be made are told once, on standard error, in Debug.txt
// and in the message log, and lose nothing: the old file stays as it was,
// permissions and all. A stale temporary file never blocks a save.
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "app/settings.h"
#include "frame/frame_end.h"
#include "scores/records.h"
#include "tests/support/headless.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Root may write anything; the player this stands for may not.
void BecomeAPlayer() {
  if (geteuid() != 0) return;
  if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(90);
}

// Files may grow to 200 bytes: room for the line on standard error (a file
// in a death test) and in Debug.txt, not for the 260 bytes of Setup.ini.
void FillTheDisk() {
  std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG instead
  rlimit limit{200, 200};
  setrlimit(RLIMIT_FSIZE, &limit);
}

void MakeReadOnly(const fs::path& file) { fs::permissions(file, fs::perms::owner_read | fs::perms::group_read); }

TEST(SaveFailures, AreToldOnceAndTheOldFileStays) {
  struct Case {
    const char* condition;
    const char* file;                              // in the player's folder
    std::function<void(const fs::path&)> arrange;  // before the saving process starts
    std::function<void()> asPlayer;                // in the saving process, before it saves
    const char* told;                              // the reason given; "" when the save works
  } cases[] = {
      {"scores.dat is a folder", "248/scores.dat", [](auto& f) { fs::remove(f), fs::create_directory(f); }, [] {},
       "it is a folder"},
      {"read-only scores.dat", "248/scores.dat", MakeReadOnly, [] {}, "it is read-only, so it is left as it is"},
      {"read-only Setup.ini", "Setup.ini", MakeReadOnly, [] {}, "it is read-only, so it is left as it is"},
      {"read-only folder", "248/scores.dat",
       [](auto& f) { fs::permissions(f.parent_path(), fs::perms::owner_read | fs::perms::owner_exec); }, BecomeAPlayer,
       "its folder cannot be written \\(Permission denied\\)"},
      {"full disk", "Setup.ini", [](auto&) {}, FillTheDisk, "could not write it \\(File too large\\)"},
      {"stale temporary files", "248/scores.dat",
       [](auto& f) {
         fs::create_directory(f.string() + ".part");  // blocks even root from opening it
         std::ofstream(f.string() + ".1.part") << "left by a run killed while saving";
       },
       [] { fs::create_directory(PlayerGameFolder + "scores.dat." + std::to_string(getpid()) + ".part"); }, ""},
  };
  for (const Case& c : cases) {
    auto root = EnterScratchFolder("save_failures");
    const fs::path file = root / "Files" / c.file;
    const std::string original = std::string(c.file) == "Setup.ini" ? "Master=10\r\n" : "5|OLD|0|1|0|0|0|0\r\n";
    std::ofstream(file, std::ios::binary) << original;
    c.arrange(file);
    const fs::perms mode = fs::status(file).permissions();
    const bool fails = *c.told != '\0';

    // The exit code is the number of "Not saved" messages after two saves.
    EXPECT_EXIT(
        {
          OpenStartupLog(PlayerFolder + "Debug.txt");
          c.asPlayer();
          for (int save = 0; save < 2; save++) {
            if (std::string(c.file) == "Setup.ini") {
              WriteSettingsFile();
            } else {
              ScoreList = {Scores{}};
              ScoreList.front().Name = "NEW";
              SaveScores();
            }
          }
          int told = 0;
          for (const ment& m : MessageList) told += m.txt.find("Not saved: ") == 0;
          _exit(told);
        },
        ::testing::ExitedWithCode(fails ? 1 : 0),
        fails ? std::string("could not save .*") + c.file + ": " + c.told : std::string(""))
        << c.condition;
    fs::permissions(root / "Files" / "248", fs::perms::owner_all);
    if (fails) {
      EXPECT_NE(Contents(root / "Files" / "Debug.txt").find(c.file), std::string::npos) << c.condition;
      if (fs::is_regular_file(file)) {
        EXPECT_EQ(Contents(file), original) << c.condition;
      }
      EXPECT_EQ(fs::status(file).permissions(), mode) << c.condition;
    } else {
      EXPECT_NE(Contents(file).find("|NEW|"), std::string::npos) << c.condition;
    }
  }
}

}  // namespace
