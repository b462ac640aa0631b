// internal.h — state shared by the SDL-backed files of the media services.
// Nothing outside media/ includes this header.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "media/core_internal.h"

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
void InputPointerMoved(float x, float y);  // the program moved the pointer (virtual units)
// Applies one noted event ("keydown 37"); an unknown verb does nothing.
void ApplyNoted(const std::string& verb, const std::string& arguments);
bool KnownNoteVerb(const std::string& verb);
void NoteInputState();   // the keys and buttons as they are, as notes
void ClearInputState();  // nothing held, hit, typed or taken

// Owned by replay.cpp.
void NoteEvent(const std::string& line);
void DeliverNoted();                                    // a pump: counts it and applies the replayed events due
std::string ScriptNoteLine(const std::string& line);    // "@pump verb args"; "" or why skipped
std::string ScriptHeaderLine(const std::string& line);  // "recording ..."; "" or why refused
bool WatchingReplay();
void StopWatchOnInput(bool close);  // the player pressed, clicked or closed while watching
void ReplayShutdown();

// Owned by gif.cpp: finishes a save under way, forgets the kept frames.
void GifShutdown();

// Owned by sound.cpp.
void SoundStart(bool headless);
void SoundShutdown();

// Owned by sound.cpp.
int64_t SoundBytes();
int SoundCount();

}  // namespace media
