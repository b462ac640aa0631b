// score_file.cpp — "scores.dat" in the player's game folder: reading it,
// and saving the score list into it.
//
// The file is read record by record: a record line has eight fields and is
// followed by its results line of thirty numbers; a line that is neither is
// skipped and named in the log, so one damaged line costs at most its own
// record instead of shifting every record after it. The file is saved after
// every game and at exit, merged with what is on disk by then (another copy
// of the game may have saved games of its own), and only when that changes
// it, so a run that changed nothing leaves it byte for byte as it was. A file
// that did not read cleanly is kept as "scores.dat.bak" before it is replaced.
#include <algorithm>
#include <set>
#include <vector>

#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/save_report.h"
#include "media/media.h"
#include "scores/records.h"

static std::string ScoreFile() { return PlayerGameFolder + "scores.dat"; }

std::string ReplayFile(int64_t stamp) { return PlayerGameFolder + "replays/" + std::to_string(stamp) + ".rec"; }

namespace {

const int RECORD_FIELDS = 8, RESULT_FIELDS = 30;
// A name with line breaks in it (written before names were cleaned) spreads
// its record over this many lines at most.
const int MOST_BROKEN_LINES = 3;

struct ScoreFileRead {
  bool found = false;               // a file is there
  std::string unreadable;           // why it cannot be read, or ""
  std::list<Scores> records;        // in file order
  std::vector<std::string> damage;  // what did not read cleanly, a line each
};

}  // namespace

// The records of the file as this run last read or wrote it: a record on
// disk that is not among them was saved by another copy of the game.
static std::set<std::string> KnownRecords;

// Lines end at CR LF, LF or a CR alone (an old Mac editor's file).
static std::vector<std::string> SplitLines(const uint8_t* bytes, size_t size) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < size; i++) {
    char c = char(bytes[i]);
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') i++;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

static int FieldCount(const std::string& line) {
  std::string text = Trim(line);
  return int(std::count(text.begin(), text.end(), '|')) + 1;
}

static bool IsNumber(const std::string& field) {
  std::string text = Trim(field);
  size_t digits = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  return digits < text.size() && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// Int fields are stored as magnitudes; widened first so the most negative
// value cannot overflow. A field that is not a number reads as 0 and counts
// in *bad.
static int Magnitude(const std::string& field, int* bad) {
  if (!IsNumber(field)) ++*bad;
  int64_t v = ToInt(field);
  return int(v < 0 ? -v : v);
}

static int64_t Signed(const std::string& field, int* bad) {
  if (!IsNumber(field)) ++*bad;
  return ToLong(field);
}

static Scores RecordFrom(const std::string& line, int* bad) {
  Scores s;
  s.Score = Signed(FieldOf(line, "|", 1, 0), bad);
  s.Name = Trim(FieldOf(line, "|", 2, 0));
  s.Badges = Magnitude(FieldOf(line, "|", 3, 0), bad);
  s.Timestamp = Signed(FieldOf(line, "|", 4, 0), bad);
  s.Level = Magnitude(FieldOf(line, "|", 5, 0), bad);
  s.GameMode = Magnitude(FieldOf(line, "|", 6, 0), bad);
  s.GameFlags = Magnitude(FieldOf(line, "|", 7, 0), bad);
  s.Quit = Magnitude(FieldOf(line, "|", 8, 0), bad);
  return s;
}

// A record line broken inside its name: this line and the next one or two,
// joined with a space where they broke, make exactly one record line. Lines
// that are whole records or results never take part. Returns how many lines
// it took, 0 if none.
static int JoinBrokenRecord(const std::vector<std::string>& lines, size_t first, std::string* joined) {
  if (lines[first].find('|') == std::string::npos) return 0;
  *joined = lines[first];
  for (size_t next = first + 1; next < lines.size() && next < first + MOST_BROKEN_LINES; next++) {
    *joined += " " + lines[next];
    int fields = FieldCount(*joined);
    if (fields == RECORD_FIELDS) return int(next - first + 1);
    if (fields > RECORD_FIELDS) return 0;
  }
  return 0;
}

static ScoreFileRead ParseScoreLines(const std::vector<std::string>& lines) {
  ScoreFileRead read;
  read.found = true;
  Scores* awaiting = nullptr;  // the last record, until its results line comes
  auto damage = [&](size_t line, const std::string& what) {
    read.damage.push_back("line " + std::to_string(line + 1) + ": " + what);
  };
  auto closeRecord = [&](size_t line) {
    if (awaiting) damage(line, "the record before it has no results line; its results read as 0");
    awaiting = nullptr;
  };
  auto startRecord = [&](size_t line, const std::string& text) {
    closeRecord(line);
    int bad = 0;
    read.records.push_back(RecordFrom(text, &bad));
    awaiting = &read.records.back();
    if (bad > 0) damage(line, std::to_string(bad) + " of the record's numbers are not numbers; they read as 0");
  };
  for (size_t i = 0; i < lines.size(); i++) {
    int fields = FieldCount(lines[i]);
    std::string joined;
    if (fields == RESULT_FIELDS && awaiting) {
      int bad = 0;
      for (int n = 1; n <= RESULT_FIELDS; n++) awaiting->Best[n] = Magnitude(FieldOf(lines[i], "|", n, 0), &bad);
      if (bad > 0) damage(i, std::to_string(bad) + " of the results are not numbers; they read as 0");
      awaiting = nullptr;
    } else if (fields == RECORD_FIELDS) {
      startRecord(i, lines[i]);
    } else if (int taken = JoinBrokenRecord(lines, i, &joined)) {
      damage(i, "a record broken over " + std::to_string(taken) + " lines, read as one");
      startRecord(i, joined);
      i += size_t(taken - 1);
    } else if (Trim(lines[i]).empty()) {
      damage(i, "an empty line, skipped");
    } else {
      // Results after a line that may hold part of another record may be
      // that record's: the record before keeps zeros rather than them.
      closeRecord(i);
      damage(i, fields == RESULT_FIELDS ? "results without a record before them, skipped"
                                        : "neither a record (8 fields) nor results (30 numbers), skipped");
    }
  }
  closeRecord(lines.size());
  return read;
}

static ScoreFileRead ReadFromDisk() {
  ScoreFileRead read;
  int type = FileType(ScoreFile());
  if (type == 0) return read;
  int bank = type == 1 ? LoadBank(ScoreFile()) : 0;
  if (bank == 0) {
    read.found = true;
    read.unreadable = type == 2 ? "it is a folder" : "it cannot be read";
    return read;
  }
  read = ParseScoreLines(SplitLines(BankData(bank), size_t(BankSize(bank))));
  FreeBank(bank);
  return read;
}

// Each damaged line in Debug.txt, and one line saying what it means.
static void ReportDamage(const ScoreFileRead& read) {
  if (read.damage.empty()) return;
  const size_t shown = 20;
  for (size_t i = 0; i < read.damage.size() && i < shown; i++) LogLine("\tscores.dat " + read.damage[i]);
  if (read.damage.size() > shown) LogLine("\tscores.dat: " + std::to_string(read.damage.size() - shown) + " more");
  LogFailure(ScoreFile() + " is damaged (" + std::to_string(read.damage.size()) +
             " lines, listed in Debug.txt): " + std::to_string(read.records.size()) +
             " records read; the file as it is will be kept as scores.dat.bak before it is next written");
}

// ---------------------------------------------------------------- writing

// A "|" in a name would shift every later field of its line when read back,
// and a line break would split the record; both are stored as look-alikes.
static std::string StoredName(std::string name) {
  for (char& c : name) {
    if (c == '|') c = char(166);  // broken bar
    else if (uint8_t(c) < 32) c = ' ';
  }
  return name;
}

static std::string RecordLine(const Scores& s) {
  return std::to_string(s.Score) + "|" + StoredName(s.Name) + "|" + std::to_string(s.Badges) + "|" +
         std::to_string(s.Timestamp) + "|" + std::to_string(s.Level) + "|" + std::to_string(s.GameMode) + "|" +
         std::to_string(s.GameFlags) + "|" + std::to_string(s.Quit);
}

static std::string ResultsLine(const Scores& s) {
  std::string best = std::to_string(s.Best[1]);
  for (int i = 2; i <= 30; i++) (best += '|') += std::to_string(s.Best[i]);
  return best;
}

// What tells two records apart: everything the file keeps of them, as it
// reads back (a name's blanks at the ends do not survive the file).
static std::string RecordKey(const Scores& s) {
  Scores stored = s;
  stored.Name = Trim(StoredName(s.Name));
  return RecordLine(stored) + "\n" + ResultsLine(stored);
}

static std::vector<std::string> SortedKeys(const std::list<Scores>& records) {
  std::vector<std::string> keys;
  for (const Scores& s : records) keys.push_back(RecordKey(s));
  std::sort(keys.begin(), keys.end());
  return keys;
}

// Games on disk that this run has not seen: saved by another copy of the
// game since this one last read or wrote the file. Records this run pruned
// are known, so they do not come back. Returns how many were taken in.
static int TakeOtherCopiesGames(const std::list<Scores>& onDisk) {
  std::set<std::string> ours;
  for (const Scores& s : ScoreList) ours.insert(RecordKey(s));
  int taken = 0;
  for (const Scores& s : onDisk) {
    std::string key = RecordKey(s);
    if (KnownRecords.count(key) || !ours.insert(key).second) continue;
    ScoreList.push_back(s);
    taken++;
  }
  return taken;
}

static void RememberSavedRecords() {
  std::vector<std::string> keys = SortedKeys(ScoreList);
  KnownRecords = std::set<std::string>(keys.begin(), keys.end());
}

// The damaged file as it is, beside it; a later clean run never touches it.
static bool KeepDamagedOriginal() {
  int bank = LoadBank(ScoreFile());
  bool kept = bank != 0 && SaveBank(bank, ScoreFile() + ".bak");
  FreeBank(bank);
  if (kept) LogLine("\tThe damaged scores.dat is kept as scores.dat.bak");
  else ReportSave(ScoreFile() + ".bak", bank == 0 ? "scores.dat cannot be read" : WriteFailure());
  return kept;
}

void ReadScoreFile() {
  ScoreFileRead read = ReadFromDisk();
  if (!read.found) return;
  if (!read.unreadable.empty()) {
    LogFailure("could not read " + ScoreFile() + ": " + read.unreadable +
               "; its games are not shown, and it is not written");
    return;
  }
  ReportDamage(read);
  if (!read.records.empty()) PlayerName = read.records.front().Name;  // the newest game's name is offered again
  ScoreList = std::move(read.records);
  SortScores();
  RememberSavedRecords();
}

// Saving is the only write: reading this run's games over a file that
// cannot be read would destroy the ones in it.
void SaveScores() {
  ScoreFileRead disk = ReadFromDisk();
  if (!disk.unreadable.empty()) {
    ReportSave(ScoreFile(), disk.unreadable + " as a score file, so it is left as it is");
    return;
  }
  if (int taken = TakeOtherCopiesGames(disk.records))
    LogLine("\t" + std::to_string(taken) + " games saved meanwhile by another copy of the game are kept");
  SortScores();
  if (disk.found && SortedKeys(ScoreList) == SortedKeys(disk.records)) {
    RememberSavedRecords();  // nothing new: the file stays byte for byte as it is (a missing one is created)
    return;
  }
  int out = OpenWrite(ScoreFile());
  if (out == 0) return ReportSave(ScoreFile(), WriteFailure());
  if (!disk.damage.empty() && !KeepDamagedOriginal()) return DiscardStream(out);
  for (const Scores& s : ScoreList) {
    WriteLine(out, RecordLine(s));
    WriteLine(out, ResultsLine(s));
  }
  bool saved = CloseStream(out);
  ReportSave(ScoreFile(), saved ? "" : WriteFailure());
  if (saved) RememberSavedRecords();
}

// The file is read at start-up only: a reload on a display-mode change would
// throw away the pruning done since (the games themselves are saved).
static bool ScoresLoaded = false;

void LoadScores() {
  if (ScoresLoaded) return;
  ScoresLoaded = true;
  ReadScoreFile();
}

void ForgetScoreFile() {
  KnownRecords.clear();
  ScoresLoaded = false;
}
