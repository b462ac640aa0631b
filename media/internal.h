// internal.h — state shared by the SDL-backed files of the media services.
// Nothing outside media/ includes this header.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace media {

// Owned by display.cpp.
extern SDL_Window* Window;
extern SDL_Renderer* Renderer;
void DisplayHandleEvent(const SDL_Event& event);  // window events from the pump
void DisplayShutdown();
int64_t DisplayBytes();  // images, fonts and pixmaps held, for MemoryInUse

// Owned by input.cpp: the one event pump. Scripted events are pushed into
// SDL's queue when their time has come, so they take the same path.
void InputShutdown();

// Owned by sound.cpp.
void SoundStart(bool headless);
void SoundShutdown();

// Owned by clock.cpp.
bool VirtualClockOn();

// Owned by files.cpp: a whole file by the names OpenRead takes ("incbin::"
// too), for loaders that hand memory to SDL. False when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// The same for the media loaders, refusing files above maxBytes before they
// are read: "" when read, else why not ("missing", "unreadable (...)",
// "too large (...)", "damaged (empty file)").
std::string ReadMediaFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);
// Every written file goes to TempNameFor(target) first; CommitTemp flushes,
// syncs and closes it, renames it over the target, or removes it when
// anything failed (ok false on entry counts as failed).
std::string TempNameFor(const std::string& target);
bool CommitTemp(FILE* f, const std::string& temp, const std::string& target, bool ok);
int64_t BankBytes();

// Owned by sound.cpp.
int64_t SoundBytes();

// Owned by log.cpp: a loader's failure, reported through LogFailure ("could
// not load <file>: <reason>") the first time that file fails. Returns 0,
// the handle a failed load gives.
int LoadFailed(const std::string& path, const std::string& reason);

// Owned by media.cpp: handles freed since the last CollectGarbage; every
// Free* adds one.
extern int FreedHandles;

}  // namespace media
