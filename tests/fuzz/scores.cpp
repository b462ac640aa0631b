// scores.cpp — any bytes as "scores.dat": every readable record kept, and
// the round trip holds: what is saved of them reads back cleanly as the
// same records, and saving those again gives the same bytes.
#include <vector>

#include "frame/folders.h"
#include "media/media.h"
#include "scores/records.h"
#include "tests/fuzz/fuzz.h"

namespace {

// A record as the file keeps it: the name's line breaks and other control
// bytes become blanks, and blanks at its ends do not survive.
std::string Stored(const Scores& s) {
  std::string name = s.Name;
  for (char& c : name)
    if (uint8_t(c) < 32) c = ' ';
  std::string key = Trim(name);
  for (int64_t n : {s.Score, s.Timestamp, int64_t(s.Badges), int64_t(s.Level), int64_t(s.GameMode),
                    int64_t(s.GameFlags), int64_t(s.Quit)})
    key += "|" + std::to_string(n);
  for (int i = 1; i <= 30; i++) key += "|" + std::to_string(s.Best[i]);
  return key;
}

std::vector<std::string> StoredList() {
  std::vector<std::string> list;
  for (const Scores& s : ScoreList) list.push_back(Stored(s));
  return list;
}

std::string FileText(const std::string& path) {
  int bank = FileType(path) == 1 ? LoadBank(path) : 0;
  if (bank == 0) return "";
  std::string text(reinterpret_cast<const char*>(BankData(bank)), size_t(BankSize(bank)));
  FreeBank(bank);
  return text;
}

// This run's list saved into a file of its own; returns the file's bytes.
std::string SaveFresh(const std::string& scratch) {
  UseFolders(scratch);
  DeleteFile(PlayerGameFolder + "scores.dat");
  ForgetScoreFile();
  SaveScores();
  return FileText(PlayerGameFolder + "scores.dat");
}

}  // namespace

int FuzzScores(const uint8_t* data, size_t size) {
  const std::string scratch = FuzzScratchFolder();
  ResetScores();
  UseFolders("incbin::");
  EmbedInput(PlayerGameFolder.substr(8) + "scores.dat", data, size);
  ReadScoreFile();
  std::vector<std::string> read = StoredList();

  std::string saved = SaveFresh(scratch);
  FUZZ_CHECK(!saved.empty() || read.empty(), "records were read but nothing was saved");
  ResetScores();
  OpenStartupLog(scratch + "Debug.txt");
  ReadScoreFile();
  CloseStartupLog();
  FUZZ_CHECK(FileText(scratch + "Debug.txt").find("damaged") == std::string::npos,
             "a saved score file reads back damaged:\n" + saved);
  FUZZ_CHECK(StoredList() == read, "the records changed on saving:\n" + saved);

  FUZZ_CHECK(SaveFresh(scratch) == saved, "saving the records read back gave other bytes:\n" + saved);
  return 0;
}
