// core.h — the part of the door to the machine that needs no window, sound
// or input: the clock, files and folders, embedded files, memory banks, text
// and number helpers, the random generator and the logs.
//
// It builds without SDL (library plimbo_media_core), so the word code and
// the word-bank tool start like small command-line programs; media.h adds
// the display, sound and input services on top of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// ---------------------------------------------------------------- clock

int Millisecs();       // 32-bit millisecond count; only differences matter
void SleepMs(int ms);  // yields the CPU (virtual clock: advances time)
void Delay(int ms);    // same, used for longer waits
void UseVirtualClock(bool on);
void AdvanceVirtualClock(int ms);  // tests: move virtual time without waiting
// Tests: the virtual count back to its fixed start, so every test sees the
// same clock (and the same seeds taken from it) whatever ran before.
void ResetVirtualClock();

std::string CurrentDate();  // "%d %b %Y", e.g. "07 Dec 2026"
std::string CurrentTime();  // "%H:%M:%S"

// ---------------------------------------------------------------- files

// Paths are used as given; the program builds them from the folders it
// resolves at start-up and never changes the current folder.
int FileType(const std::string& path);  // 0 none, 1 file, 2 folder
// Writing goes to a temporary file that replaces the target on CloseStream,
// so a crash never leaves a half-written file. A target the player made
// read-only is never replaced: OpenWrite refuses it.
int OpenRead(const std::string& path);  // "incbin::name" opens an embedded file
int OpenWrite(const std::string& path);
// A log is the exception: written in place and flushed line by line, so it
// can be read while the program runs and still shows how far a crashed run got.
int OpenLog(const std::string& path);
// False when a written file could not be saved: the old one is left whole.
bool CloseStream(int stream);
void DiscardStream(int stream);  // a written file given up: the old one stays
// Why the last write (OpenWrite to CloseStream, SaveBank, a PNG) failed, as
// words that follow "could not save FILE: " ("it is read-only, so it is left
// as it is", "could not write it (No space left on device)"); "" when it worked.
std::string WriteFailure();
std::string ReadLine(int stream);                     // to LF, CR dropped, a byte per character
void WriteLine(int stream, const std::string& text);  // low bytes, then CR LF
bool EndOfStream(int stream);
bool DeleteFile(const std::string& path);
void RegisterEmbedded(const std::string& name, const void* data, size_t size);

// Folders end in "/". The program's own folder comes from the running
// executable, not from the current folder or argv[0].
std::string ProgramFolder();
bool FolderWritable(const std::string& folder);  // a file could be created in it
bool MakeFolder(const std::string& folder);      // with its parents; true if it exists after

int CreateBank(int size);
int LoadBank(const std::string& path);  // whole file or embedded file
// The same without reading the file in: its pages are mapped and shared with
// the file cache until written. For large files that are replaced by
// renaming, never rewritten in place (a file cut short under a mapping would
// fault on reading past its new end).
int MapBank(const std::string& path);
int BankSize(int bank);
void ResizeBank(int bank, int size);
bool SaveBank(int bank, const std::string& path);
int32_t PeekInt(int bank, int offset);  // little-endian
void PokeInt(int bank, int offset, int32_t value);
uint8_t* BankData(int bank);
void FreeBank(int bank);

// ---------------------------------------------------------------- text

// Positions are 1-based. Characters are bytes.
std::string Mid(const std::string& s, int pos, int len = -1);
int Instr(const std::string& s, const std::string& find, int start = 1);
std::string Left(const std::string& s, int n);
std::string Right(const std::string& s, int n);
std::string Replace(const std::string& s, const std::string& from, const std::string& to);
std::string Trim(const std::string& s);  // drops bytes below 33 at both ends
std::string Upper(const std::string& s);
std::string Lower(const std::string& s);
std::string Chr(int code);
int Asc(const std::string& s);  // -1 for empty text
// Text to integer: white space, optional sign, then decimal digits, or binary
// after "%", or hex after "$". Digits past the range wrap modulo 2^32 (2^64),
// as the accumulation is done in unsigned arithmetic.
int32_t ToInt(const std::string& s);
int64_t ToLong(const std::string& s);

// ---------------------------------------------------------------- maths

float SinDeg(float degrees);
float CosDeg(float degrees);

// The random generator (31-bit state, 4660 until seeded).
void SeedRandom(int32_t seed);
int32_t RandomState();
float RandomReal();             // [0, 1)
int RandomInt(int lo, int hi);  // inclusive, either order
float RandomBetween(float a, float b);

// ---------------------------------------------------------------- logs

void DebugLog(const std::string& text);  // discarded unless PLIMBO_DEBUGLOG is set

// The start-up log ("Debug.txt"): written in place, a line at a time.
bool OpenStartupLog(const std::string& path);  // rewritten from scratch
void CloseStartupLog();
void LogLine(const std::string& text);
// Something could not be loaded, opened or written: one line naming it, on
// standard error and (indented) in the start-up log.
void LogFailure(const std::string& text);
