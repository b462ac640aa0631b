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

// Owned by gif.cpp: finishes a save under way, forgets the kept frames.
void GifShutdown();

// Owned by sound.cpp.
void SoundStart(bool headless);
void SoundShutdown();

// Owned by sound.cpp.
int64_t SoundBytes();
int SoundCount();

}  // namespace media
