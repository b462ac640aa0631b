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
// Every written file goes to TempNameFor(target) first; CommitTemp flushes,
// syncs and closes it, renames it over the target, or removes it when
// anything failed (ok false on entry counts as failed).
std::string TempNameFor(const std::string& target);
bool CommitTemp(FILE* f, const std::string& temp, const std::string& target, bool ok);
int64_t BankBytes();

// Owned by files.cpp: handles freed since the last CollectGarbage; every
// Free* and every closed stream adds one.
extern int FreedHandles;

}  // namespace media
