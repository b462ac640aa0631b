// files.cpp — files, folders, embedded files and memory banks.
//
// Read streams hold the whole file in memory (the program's text files are
// small), which lets plain files and "incbin::" embedded files share one
// reader. A bank is its own memory, or a whole file mapped copy-on-write
// (MapBank) for large data read once per run. Writes go to a temporary file beside the target that replaces it
// only when everything was written and synced, so a crash or a full disk
// leaves the old file intact rather than a half-written one. A file the
// player made read-only is never replaced, and every failed write says why
// (WriteFailure), for the caller to tell the player.
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include "media/core.h"
#include "media/core_internal.h"

namespace {

struct Stream {
  std::vector<uint8_t> data;  // reading: the whole file
  size_t pos = 0;
  FILE* out = nullptr;  // writing: the temporary file
  std::string target, temp;
  int error = 0;        // writing: the first write's errno, 0 while all went well
  bool direct = false;  // a log: written in place, each line flushed
};

struct Embedded {
  const void* data;
  size_t size;
};

struct Bank {
  std::vector<uint8_t> bytes;
  std::shared_ptr<uint8_t> mapped;  // a file's pages, unmapped with the bank
  size_t mappedSize = 0;

  uint8_t* Data() { return mapped ? mapped.get() : bytes.data(); }
  size_t Size() const { return mapped ? mappedSize : bytes.size(); }
};

std::map<int, Stream> Streams;
std::map<int, Bank> Banks;
std::map<std::string, Embedded> EmbeddedFiles;
int NextStream = 1, NextBank = 1;
// Per thread: a GIF is written by a worker while the game may save too.
thread_local std::string LastWriteFailure;

const char* const IncbinPrefix = "incbin::";

bool IsIncbin(const std::string& path) { return path.rfind(IncbinPrefix, 0) == 0; }

}  // namespace

int media::FreedHandles = 0;

std::string WriteFailure() { return LastWriteFailure; }

bool media::WriteFailed(const std::string& why) {
  LastWriteFailure = why;
  return false;
}

static std::string Reason(const char* what, int error) { return std::string(what) + " (" + strerror(error) + ")"; }

// Read-only when its permission bits say so, which is how a player marks a
// file "leave alone" (and which root would otherwise override), or when this
// user may not write it. Replacing it by a rename would work either way.
static bool ReadOnlyFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

// Temporary files are named "<target>.<process id>[-n].part". Those left
// beside the target by a copy of the game that was killed while saving are
// removed; a running copy's are left alone. Not only the target's own: a
// screenshot's name is new every time, so a screenshot cut short would
// otherwise stay for good. Any file of the same kind counts (the same
// extension: a screenshot clears old screenshots' leftovers).
static void RemoveStaleTemps(const std::string& target) {
  namespace fs = std::filesystem;
  fs::path path(target);
  std::string kind = path.extension().string(), suffix = ".part";
  std::error_code error;
  fs::directory_iterator entries(path.has_parent_path() ? path.parent_path() : fs::path("."), error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    std::string name = entries->path().filename().string();
    if (!name.ends_with(suffix)) continue;
    std::string stem = name.substr(0, name.size() - suffix.size());
    size_t dot = stem.rfind('.');
    if (dot == std::string::npos || dot == 0 || fs::path(stem.substr(0, dot)).extension().string() != kind) continue;
    std::string owner = stem.substr(dot + 1);
    owner = owner.substr(0, owner.find('-'));
    if (owner.empty() || owner.size() > 9 || owner.find_first_not_of("0123456789") != std::string::npos) continue;
    pid_t pid = pid_t(std::stol(owner));
    if (pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH) remove(entries->path().c_str());
  }
}

// A name of this process's own, created afresh: a stale file beside the
// target (left by a killed run, or one the player cannot write) never blocks
// a save, and two copies of the game saving at once never share a file. The
// new file gets the permissions of the one it replaces.
FILE* media::OpenTemp(const std::string& target, std::string* temp) {
  LastWriteFailure.clear();
  struct stat old;
  bool replacing = stat(target.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) return WriteFailed("it is a folder"), nullptr;
  if (ReadOnlyFile(target)) return WriteFailed("it is read-only, so it is left as it is"), nullptr;
  RemoveStaleTemps(target);
  for (int attempt = 0; attempt < 10; attempt++) {
    *temp = target + "." + std::to_string(getpid()) + (attempt > 0 ? "-" + std::to_string(attempt) : "") + ".part";
    int file = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0 && errno == EEXIST) continue;
    if (file < 0) return WriteFailed(Reason("its folder cannot be written", errno)), nullptr;
    if (replacing) fchmod(file, old.st_mode & 07777);
    if (FILE* f = fdopen(file, "wb")) return f;
    close(file);
    remove(temp->c_str());
    return WriteFailed(Reason("could not open a temporary file", errno)), nullptr;
  }
  return WriteFailed("every temporary name beside it is taken"), nullptr;
}

// Flushes the data to disk, then renames the temporary file over the target
// and syncs the folder so the rename itself survives a power cut.
bool media::CommitTemp(FILE* f, const std::string& temp, const std::string& target, int error) {
  if (fflush(f) != 0 && error == 0) error = errno;
  if (fsync(fileno(f)) != 0 && error == 0) error = errno;
  if (fclose(f) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), target.c_str()) != 0) {
    remove(temp.c_str());
    return WriteFailed(Reason("could not replace it", errno));
  }
  if (error != 0) {
    remove(temp.c_str());
    return WriteFailed(Reason("could not write it", error));
  }
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

bool media::ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (IsIncbin(path)) {
    auto it = EmbeddedFiles.find(path.substr(strlen(IncbinPrefix)));
    if (it == EmbeddedFiles.end()) return false;
    const uint8_t* p = static_cast<const uint8_t*>(it->second.data);
    bytes.assign(p, p + it->second.size);
    return true;
  }
  if (FileType(path) != 1) return false;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  uint8_t chunk[65536];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

// Sized before reading, so a file far beyond anything the game ships is
// refused without being read into memory.
std::string media::ReadMediaFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  struct stat st;
  if (!IsIncbin(path)) {
    if (path.empty() || stat(path.c_str(), &st) != 0)
      return errno == ENOENT || path.empty() ? "missing" : "unreadable (" + std::string(strerror(errno)) + ")";
    if (!S_ISREG(st.st_mode)) return "unreadable (not a file)";
  }
  size_t size = IsIncbin(path) ? 0 : size_t(st.st_size);
  if (size <= maxBytes && !ReadWholeFile(path, bytes))
    return IsIncbin(path) ? "missing" : "unreadable (" + std::string(strerror(errno)) + ")";
  size = std::max(size, bytes.size());
  if (size > maxBytes) {
    bytes.clear();
    return "too large (" + std::to_string(size) + " bytes, at most " + std::to_string(maxBytes) + ")";
  }
  return bytes.empty() ? "damaged (empty file)" : "";
}

int media::StreamCount() { return int(Streams.size()); }
int media::BankCount() { return int(Banks.size()); }

int64_t media::BankBytes() {
  int64_t total = 0;
  for (auto& [id, bank] : Banks) total += int64_t(bank.Size());
  return total;
}

void RegisterEmbedded(const std::string& name, const void* data, size_t size) {
  EmbeddedFiles[name] = Embedded{data, size};
}

int FileType(const std::string& path) {
  if (IsIncbin(path)) return EmbeddedFiles.count(path.substr(strlen(IncbinPrefix))) ? 1 : 0;
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return 0;
  if (S_ISDIR(st.st_mode)) return 2;
  return S_ISREG(st.st_mode) ? 1 : 0;
}

// ---------------------------------------------------------------- streams

static int AddStream(Stream&& s) {
  int id = NextStream++;
  Streams[id] = std::move(s);
  return id;
}

int OpenRead(const std::string& path) {
  Stream s;
  if (!media::ReadWholeFile(path, s.data)) return 0;
  return AddStream(std::move(s));
}

// A writing stream goes to a temporary file, or for a log straight to the
// file itself.
static int OpenWriting(const std::string& path, bool direct) {
  if (path.empty() || IsIncbin(path)) return media::WriteFailed("it is not a file that can be written"), 0;
  Stream s;
  // Made absolute once, so the rename never depends on the current folder.
  s.target = std::filesystem::absolute(path).string();
  s.direct = direct;
  if (direct) {
    s.temp = s.target;
    s.out = FileType(path) == 2 ? nullptr : fopen(s.temp.c_str(), "wb");
  } else {
    s.out = media::OpenTemp(s.target, &s.temp);
  }
  return s.out ? AddStream(std::move(s)) : 0;
}

int OpenWrite(const std::string& path) { return OpenWriting(path, false); }
int OpenLog(const std::string& path) { return OpenWriting(path, true); }

bool CloseStream(int stream) {
  auto it = Streams.find(stream);
  if (it == Streams.end()) return false;
  Stream& s = it->second;
  bool ok = true;
  if (s.direct) {
    fclose(s.out);
  } else if (s.out) {
    ok = media::CommitTemp(s.out, s.temp, s.target, s.error);
  }
  Streams.erase(it);
  media::FreedHandles++;
  return ok;
}

void DiscardStream(int stream) {
  auto it = Streams.find(stream);
  if (it == Streams.end()) return;
  if (it->second.out) fclose(it->second.out);
  if (it->second.out && !it->second.direct) remove(it->second.temp.c_str());
  Streams.erase(it);
  media::FreedHandles++;
}

std::string ReadLine(int stream) {
  auto it = Streams.find(stream);
  if (it == Streams.end() || it->second.out) return "";
  Stream& s = it->second;
  std::string line;
  while (s.pos < s.data.size()) {
    uint8_t c = s.data[s.pos++];
    if (c == 10) break;
    if (c != 13) line += char(c);
  }
  return line;
}

void WriteLine(int stream, const std::string& text) {
  auto it = Streams.find(stream);
  if (it == Streams.end() || !it->second.out) return;
  Stream& s = it->second;
  bool written = fwrite(text.data(), 1, text.size(), s.out) == text.size() && fwrite("\r\n", 1, 2, s.out) == 2;
  if (!written && s.error == 0) s.error = errno != 0 ? errno : EIO;
  if (s.direct) fflush(s.out);
}

// A stale stream reports its end too, so a read loop over it cannot spin.
bool EndOfStream(int stream) {
  auto it = Streams.find(stream);
  if (it == Streams.end() || it->second.out) return true;
  return it->second.pos >= it->second.data.size();
}

// ---------------------------------------------------------------- folders

bool DeleteFile(const std::string& path) { return FileType(path) == 1 && !IsIncbin(path) && remove(path.c_str()) == 0; }

std::string ProgramFolder() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return program.parent_path().string() + "/";
}

// Asked of the file system rather than worked out from the permission bits,
// which say nothing about read-only mounts.
bool FolderWritable(const std::string& folder) {
  return FileType(folder) == 2 && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool MakeFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return FileType(folder) == 2;
}

// ---------------------------------------------------------------- banks

int CreateBank(int size) {
  int id = NextBank++;
  Banks[id].bytes.assign(size_t(std::max(size, 0)), 0);
  return id;
}

int LoadBank(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!media::ReadWholeFile(path, bytes)) return 0;
  int id = NextBank++;
  Banks[id].bytes = std::move(bytes);
  return id;
}

// Private and writable, so the bank behaves like a loaded one: a write
// copies just the page it touches. Pages come in as they are first read,
// straight from the file cache.
int MapBank(const std::string& path) {
  if (IsIncbin(path) || FileType(path) != 1) return LoadBank(path);
  int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return 0;
  struct stat st;
  bool sized = fstat(file, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size < INT32_MAX;
  void* at = sized ? mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_PRIVATE, file, 0) : MAP_FAILED;
  close(file);
  if (at == MAP_FAILED) return LoadBank(path);  // empty, or a file system that cannot map
  size_t size = size_t(st.st_size);
#ifdef MADV_POPULATE_READ
  madvise(at, size, MADV_POPULATE_READ);  // all pages in one call, still shared
#endif
  int id = NextBank++;
  Bank& bank = Banks[id];
  bank.mapped.reset(static_cast<uint8_t*>(at), [size](uint8_t* p) { munmap(p, size); });
  bank.mappedSize = size;
  return id;
}

int BankSize(int bank) {
  auto it = Banks.find(bank);
  return it == Banks.end() ? 0 : int(it->second.Size());
}

void ResizeBank(int bank, int size) {
  auto it = Banks.find(bank);
  if (it == Banks.end()) return;
  Bank& b = it->second;
  if (b.mapped) {  // a mapping cannot grow: the bank takes its own copy
    b.bytes.assign(b.Data(), b.Data() + b.Size());
    b.mapped.reset();
  }
  b.bytes.resize(size_t(std::max(size, 0)), 0);
}

bool SaveBank(int bank, const std::string& path) {
  auto it = Banks.find(bank);
  if (it == Banks.end() || path.empty() || IsIncbin(path)) return media::WriteFailed("there is nothing to save");
  std::string temp;
  FILE* f = media::OpenTemp(path, &temp);
  if (!f) return false;
  Bank& b = it->second;
  bool written = fwrite(b.Data(), 1, b.Size(), f) == b.Size();
  return media::CommitTemp(f, temp, path, written ? 0 : errno);
}

int32_t PeekInt(int bank, int offset) {
  auto it = Banks.find(bank);
  if (it == Banks.end() || offset < 0 || int64_t(offset) + 4 > int64_t(it->second.Size())) return 0;
  const uint8_t* p = it->second.Data() + offset;
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void PokeInt(int bank, int offset, int32_t value) {
  auto it = Banks.find(bank);
  if (it == Banks.end() || offset < 0 || int64_t(offset) + 4 > int64_t(it->second.Size())) return;
  uint8_t* p = it->second.Data() + offset;
  uint32_t v = uint32_t(value);
  for (int i = 0; i < 4; i++) p[i] = uint8_t(v >> (8 * i));
}

uint8_t* BankData(int bank) {
  auto it = Banks.find(bank);
  return it == Banks.end() ? nullptr : it->second.Data();
}

void FreeBank(int bank) {
  if (Banks.erase(bank)) media::FreedHandles++;
}
