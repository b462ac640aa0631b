// core_internal.h — what the files of the media services share that needs no
// SDL: whole-file reads, the safe-write commit, memory figures and the
// freed-handle count. Nothing outside media/ includes this header.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace media {

// Owned by clock.cpp.
bool VirtualClockOn();

// Owned by files.cpp: a whole file by the names OpenRead takes ("incbin::"
// too), for loaders that hand memory to SDL. False when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// The same for the media loaders, refusing files above maxBytes before they
// are read: "" when read, else why not ("missing", "unreadable (...)",
// "too large (...)", "damaged (empty file)").
std::string ReadMediaFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);
// Every written file goes to a temporary file from OpenTemp first (nullptr
// when the target is read-only, a folder, or its folder cannot be written);
// CommitTemp flushes, syncs and closes it, renames it over the target, or
// removes it when anything failed (error: the errno of a failed write, 0 if
// all was written). Both leave the reason of a failure for WriteFailure.
FILE* OpenTemp(const std::string& target, std::string* temp);
bool CommitTemp(FILE* f, const std::string& temp, const std::string& target, int error);
bool WriteFailed(const std::string& why);  // records why; returns false
int64_t BankBytes();
int StreamCount();  // open streams, the start-up log among them
int BankCount();

// Owned by log.cpp: a loader's failure, reported through LogFailure ("could
// not load <file>: <reason>") the first time that file fails. Returns 0,
// the handle a failed load gives.
int LoadFailed(const std::string& path, const std::string& reason);
void ForgetLoadFailures();  // by StopMedia: a later start reports them again

// Owned by files.cpp: handles freed since the last CollectGarbage; every
// Free* and every closed stream adds one.
extern int FreedHandles;

}  // namespace media
