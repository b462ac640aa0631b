// replay.cpp — the notes of a session and their exact replay.
//
// Every input the program acts on is noted with the number of the event pump
// that brought it (the frame end pumps once a frame; the few waits outside
// frames pump too), and so is every value the program takes from outside that
// can change its course: seeds from the clock, a score's date and time, the
// engine test's timings, the settings a game starts from. A replay hands each
// event to the pump of the same number and each value back in the order it
// was taken, so it takes the same course on any machine, at any speed, on the
// real or the virtual clock: real-time frames are irregular, pump numbers are
// not.
//
// Two replays can run at once: a session replay (an input script holding a
// recording) and, inside it or alone, the watching of one game, whose notes
// are a take cut from the session's. While a game is watched the player's own
// input is not the game's: a press or click stops the watching.
#include <deque>
#include <map>

#include "media/internal.h"
#include "media/media.h"

namespace {

struct Note {
  int pump;
  bool value;        // a value taken from outside, not an event
  std::string line;  // "verb arguments"
};

// A replay's notes still to come: events by pump, values by kind in order.
struct Feed {
  std::deque<Note> events;
  std::map<std::string, std::deque<std::string>> values;
  int end = -1;  // the pump at which the recorded game ended
  void Clear() { *this = Feed{}; }
};

constexpr const char* FirstWord = "recording";
// What a replay hands back in order rather than at a pump.
const char* const ValueKinds[] = {"seed",       "date",   "time", "shot",     "work", "renderer",
                                  "difficulty", "parity", "slow", "controls", "ball"};

int Pumps;
std::vector<Note> Notes;  // the session's (RecordSession) or the current take's
bool KeepSession;
size_t TakeStart, TakeEnd;
int TakePump;
bool NotesOff;  // while a game is watched its own notes are not the session's
Feed Session, Watch;
bool Watching, WatchStop, WatchClose;
std::string Version = "unknown";

bool IsValueKind(const std::string& verb) {
  for (const char* kind : ValueKinds)
    if (verb == kind) return true;
  return false;
}

void AddNote(bool value, const std::string& line) {
  if (!NotesOff) Notes.push_back(Note{Pumps, value, line});
}

// Values are taken from the watched game's notes while one is watched, else
// from the session's.
Feed& ValueFeed() { return Watching ? Watch : Session; }

std::string VerbOf(const std::string& line) { return line.substr(0, line.find(' ')); }
std::string ArgumentsOf(const std::string& line) {
  size_t space = line.find(' ');
  return space == std::string::npos ? "" : line.substr(space + 1);
}

void DeliverDue(Feed& feed, bool noted) {
  bool was = NotesOff;
  NotesOff = was || !noted;
  while (!feed.events.empty() && ClockDiff(feed.events.front().pump, Pumps) <= 0) {
    std::string line = feed.events.front().line;
    feed.events.pop_front();
    media::ApplyNoted(VerbOf(line), ArgumentsOf(line));
  }
  NotesOff = was;
}

// Notes first..last - 1 as lines, pumps counted from `base`.
std::vector<std::string> NoteLines(size_t first, size_t last, int base, std::string* seeds) {
  std::vector<std::string> lines;
  for (size_t i = first; i < last && i < Notes.size(); i++) {
    const Note& n = Notes[i];
    if (n.value && VerbOf(n.line) == "seed") *seeds += " " + ArgumentsOf(n.line);
    else lines.push_back("@" + std::to_string(n.pump - base) + " " + n.line);
  }
  return lines;
}

bool WriteNotes(const std::string& path, size_t first, size_t last, int base) {
  std::string seeds;
  std::vector<std::string> lines = NoteLines(first, last, base, &seeds);
  int out = OpenWrite(path);
  if (!out) return false;
  WriteLine(out, std::string(FirstWord) + " " + Version + " clock " + (media::VirtualClockOn() ? "virtual" : "real") +
                     " seeds" + seeds);
  for (const std::string& line : lines) WriteLine(out, line);
  return CloseStream(out);
}

}  // namespace

void media::NoteEvent(const std::string& line) { AddNote(false, line); }

void media::DeliverNoted() {
  Pumps++;
  DeliverDue(Session, true);
  if (Watching) DeliverDue(Watch, false);
}

void media::ReplayShutdown() {
  Pumps = 0;
  Notes.clear();
  KeepSession = NotesOff = Watching = WatchStop = WatchClose = false;
  TakeStart = TakeEnd = 0;
  TakePump = 0;
  Session.Clear();
  Watch.Clear();
}

bool media::WatchingReplay() { return Watching; }

void media::StopWatchOnInput(bool close) {
  WatchStop = true;
  WatchClose = WatchClose || close;
  bool was = NotesOff;
  NotesOff = false;
  AddNote(false, close ? "watchclose" : "watchstop");  // the session's replay stops here too
  NotesOff = was;
}

// ---------------------------------------------------------------- values

std::string RecordedText(const std::string& what, const std::string& live) {
  // A screenshot taken while a game is watched is a new picture: named by
  // the moment it was taken, it never replaces the one taken in the game.
  if (Watching && what == "shot") return live;
  std::deque<std::string>& fed = ValueFeed().values[what];
  std::string value = live;
  if (!fed.empty()) value = fed.front(), fed.pop_front();
  AddNote(true, what + " " + value);
  return value;
}

int RecordedNumber(const std::string& what, int live) { return ToInt(RecordedText(what, std::to_string(live))); }

int SeedFromClock() { return RecordedNumber("seed", Millisecs()); }

void SetRecordingVersion(const std::string& version) { Version = version; }

// ---------------------------------------------------------------- recording

void RecordSession() { KeepSession = true; }

// However the session ended (a close, a frame limit, a signal), its replay
// ends at the same pump.
bool SaveSessionRecording(const std::string& path) {
  if (Notes.empty() || Notes.back().line != "close") Notes.push_back(Note{Pumps, false, "close"});
  return WriteNotes(path, 0, Notes.size(), 0);
}

// Without a session being recorded, only the take in hand is kept.
void StartTake() {
  if (!KeepSession) Notes.clear();
  TakeStart = TakeEnd = Notes.size();
  TakePump = Pumps;
  media::NoteInputState();
}

void EndTake() {
  AddNote(false, "end");
  TakeEnd = Notes.size();
}

bool SaveTake(const std::string& path) { return WriteNotes(path, TakeStart, TakeEnd, TakePump); }

// ---------------------------------------------------------------- replaying

// The first line of a recording names the version that made it; another
// version's game rules may take another course from the same input.
std::string RecordingHeaderProblem(const std::string& line, std::vector<std::string>* seeds) {
  char first[16] = "", version[64] = "", clock[16] = "", seedWord[8] = "";
  int consumed = 0;
  if (sscanf(line.c_str(), "%15s %63s clock %15s %7s%n", first, version, clock, seedWord, &consumed) < 4 ||
      std::string(first) != FirstWord || std::string(seedWord) != "seeds")
    return "is not a recording";
  if (std::string(version) != Version) return "was made by another version (" + std::string(version) + ")";
  std::string rest = line.substr(size_t(consumed));
  for (size_t at = 0; (at = rest.find_first_not_of(' ', at)) != std::string::npos;) {
    size_t stop = rest.find(' ', at);
    seeds->push_back(rest.substr(at, stop - at));
    at = stop;
  }
  return "";
}

// One "@pump verb arguments" line into the feed, pumps counted from `base`;
// "" once queued, else why not.
static std::string FeedLine(Feed* feed, int base, const std::string& line) {
  int pump = 0, consumed = 0;
  if (sscanf(line.c_str(), "@%d %n", &pump, &consumed) < 1 || consumed == 0 || pump < 0) return "not a pump number";
  std::string note = line.substr(size_t(consumed)), verb = VerbOf(note);
  if (IsValueKind(verb)) {
    feed->values[verb].push_back(ArgumentsOf(note));
  } else if (feed == &Session && verb.size() > 5 && verb.substr(verb.size() - 5) == "state") {
    // A game's starting input, noted for its own recording: the session's
    // events bring the same input about by themselves.
  } else if (media::KnownNoteVerb(verb)) {
    if (verb == "end") feed->end = base + pump;
    // Notes are written in pump order; one out of order goes with the pump before it.
    int at = feed->events.empty() ? base + pump : std::max(base + pump, feed->events.back().pump);
    feed->events.push_back(Note{at, false, note});
  } else {
    return "no such verb";
  }
  return "";
}

std::string media::ScriptNoteLine(const std::string& line) { return FeedLine(&Session, 0, line); }

std::string media::ScriptHeaderLine(const std::string& line) {
  std::vector<std::string> seeds;
  std::string problem = RecordingHeaderProblem(line, &seeds);
  for (const std::string& seed : seeds) Session.values["seed"].push_back(seed);
  return problem;
}

std::string WatchRecording(const std::string& path) {
  if (FileType(path) != 1 && path.rfind("incbin::", 0) != 0) return "This replay was not found";
  int in = OpenRead(path);
  if (!in) return "This replay could not be read";
  Watch.Clear();
  std::vector<std::string> seeds;
  std::string problem = RecordingHeaderProblem(ReadLine(in), &seeds);
  for (const std::string& seed : seeds) Watch.values["seed"].push_back(seed);
  while (problem.empty() && !EndOfStream(in)) {
    std::string line = ReadLine(in);
    if (!line.empty() && !FeedLine(&Watch, Pumps, line).empty()) problem = "is damaged";
  }
  CloseStream(in);
  if (problem.empty() && Watch.end < 0) problem = "is cut short";
  if (!problem.empty()) {
    Watch.Clear();
    return "This replay " + problem.substr(0, problem.find(" ("));
  }
  Watching = true;
  WatchStop = WatchClose = false;
  NotesOff = true;
  media::ClearInputState();
  DeliverDue(Watch, false);  // the input as the game found it
  return "";
}

// A replay that runs on well past the game's recorded end went another way.
int WatchStatus() {
  if (!Watching) return WATCH_OVER;
  if (WatchStop) return WATCH_STOPPED;
  if (Watch.end >= 0 && ClockDiff(Pumps, Watch.end) > 120) return WATCH_ASTRAY;
  return WATCH_ON;
}

void StopWatching() {
  if (!Watching) return;
  Watching = false;
  NotesOff = false;
  Watch.Clear();
  media::ClearInputState();
  if (WatchClose) ScriptClose(Millisecs());
  WatchStop = WatchClose = false;
}
