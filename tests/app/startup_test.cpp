// A whole headless start-up on the virtual clock: the log it writes, the
// loading hold, and a clean end.
#include "app/startup.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/support/headless.h"

namespace {

std::vector<std::string> LogLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  std::vector<std::string> lines;
  std::string text = all.str(), line;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      lines.push_back(line);
      line.clear();
      i++;
    } else {
      line += text[i];
    }
  }
  EXPECT_TRUE(line.empty()) << "every line ends with CR LF";
  return lines;
}

int IndexOf(const std::vector<std::string>& lines, const std::string& text) {
  for (size_t i = 0; i < lines.size(); i++)
    if (lines[i] == text) return int(i);
  return -1;
}

}  // namespace

TEST(Startup, HeadlessRunWritesTheLogAndEndsCleanly) {
  auto root = EnterScratchFolder("startup");
  CopyGameData(root);
  std::filesystem::remove(root / "Files" / "Common" / "logo.png");  // not essential: named, then played without
  {
    std::ofstream old(root / "Files" / "Debug.txt");
    old << "stale text from an earlier run\n";
  }
  RunOptions options;
  options.headless = options.virtualClock = true;
  options.frameLimit = 400;                        // the engine test, then a few title frames
  options.dataFolder = (root / "Files").string();  // read there, and written beside it
  EXPECT_EXIT(RunProgram(options), ::testing::ExitedWithCode(0), "");

  auto lines = LogLines(root / "Files" / "Debug.txt");
  ASSERT_GE(lines.size(), 12u);
  const std::string dashes(28, '-');
  std::vector<std::string> header = {"Morvane's Tessaloop Engine", dashes, "Week #248", dashes,
                                     "#248 : Plimbo Direr",        dashes, "",          "Loading"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8), header);
  EXPECT_EQ(IndexOf(lines, "\tReading Setup File"), -1);  // no Setup.ini: not an error
  int resolution = IndexOf(lines, "\tRequested Resolution : 800x600");
  EXPECT_GT(resolution, IndexOf(lines, "Set Audio Driver"));
  EXPECT_GT(IndexOf(lines, "Finished Loading"), IndexOf(lines, "Applying Graphical Settings"));
  EXPECT_NE(IndexOf(lines, "\tResolution : 800x600,0"), -1);
  EXPECT_NE(IndexOf(lines, "\tcould not load " + (root / "Files" / "Common" / "logo.png").string() + ": missing"), -1);
  std::vector<std::string> tail(lines.end() - 5, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Closing Up", "", "Bye!", "", "Play again, soon!!"}));
  EXPECT_FALSE(std::filesystem::exists(root / "Files" / "248" / "Debug.txt"));
  EXPECT_FALSE(std::filesystem::exists(root / "Files" / "248" / "crash.dat"));
  EXPECT_TRUE(std::filesystem::exists(root / "Files" / "Setup.ini"));
}

TEST(Startup, AMissingOrDamagedEssentialFileEndsStartUpWithOneLine) {
  struct Case {
    const char* file;  // under Files/
    bool damage;       // cut in half rather than removed
    const char* line;  // on standard error
  } cases[] = {
      {"248/plimbo.png", false, "^plimbo: cannot start: missing /.*/Files/248/plimbo.png\n$"},
      {"Common/Blue Highway.ttf", false, "^plimbo: cannot start: missing /.*/Files/Common/Blue Highway.ttf\n$"},
      {"248/plimbo.png", true,
       "plimbo.png: damaged .*\nplimbo: cannot start: could not load /.*/Files/248/plimbo.png\n$"},
  };
  for (const Case& c : cases) {
    auto root = EnterScratchFolder("essential");
    CopyGameData(root);
    auto path = root / "Files" / c.file;
    if (c.damage) std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    else std::filesystem::remove(path);
    RunOptions options;
    options.headless = options.virtualClock = true;
    options.frameLimit = 400;
    options.dataFolder = (root / "Files").string();
    EXPECT_EXIT(RunProgram(options), ::testing::ExitedWithCode(1), c.line) << c.file;
    auto lines = LogLines(root / "Files" / "Debug.txt");
    EXPECT_NE(lines.back().find("\tcannot start: "), std::string::npos) << c.file;
    EXPECT_FALSE(std::filesystem::exists(root / "Files" / "248" / "crash.dat")) << "not a crash: " << c.file;
  }
}

TEST(Options, ParsesTheDocumentedFlagsAndNamesWhatIsWrong) {
  const std::string script = (EnterScratchFolder("options") / "in.txt").string();
  std::ofstream(script) << "100 key ESCAPE\n";
  const std::string count = ": expected a whole number of frames from 1 to 2147483647";
  struct Case {
    std::vector<std::string> args;
    std::string error;  // empty: accepted
  } cases[] = {
      {{"--headless", "--script", script, "--frames", "120", "--play", "--data", "/tmp/saves"}, ""},
      {{"--frames", "2147483647"}, ""},
      {{"--bogus"}, "unknown or incomplete option: --bogus"},
      {{"--script"}, "unknown or incomplete option: --script"},
      // Each of these used to mean "no limit", so a headless run never ended.
      {{"--frames", "abc"}, "--frames abc" + count},
      {{"--frames", "-1"}, "--frames -1" + count},
      {{"--frames", "0"}, "--frames 0" + count},
      {{"--frames", "2147483648"}, "--frames 2147483648" + count},
      {{"--frames", "12abc"}, "--frames 12abc" + count},
      {{"--script", "absent.txt"}, "--script absent.txt: no such file"},
      {{"--script", "."}, "--script .: it is a folder"},
  };
  for (Case& c : cases) {
    std::vector<char*> argv = {const_cast<char*>("plimbo")};
    for (std::string& a : c.args) argv.push_back(a.data());
    RunOptions options;
    std::string error;
    EXPECT_EQ(ParseOptions(int(argv.size()), argv.data(), &options, &error), c.error.empty()) << c.args[0];
    EXPECT_EQ(error, c.error);
    if (c.args.size() < 6) continue;
    EXPECT_TRUE(options.headless && options.virtualClock && options.playAtOnce);
    EXPECT_EQ(options.script, script);
    EXPECT_EQ(options.frameLimit, 120);
    EXPECT_EQ(options.playerFolder, "/tmp/saves");
  }
}
