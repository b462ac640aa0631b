// shutdown.h — the one way the program ends: save, say goodbye, exit.
#pragma once

// Writes "Setup.ini" and "scores.dat", closes the log, shows the thanks
// screen until any input (at once in headless and frame-limited runs, where
// no one is there to read it; not at all after a termination signal) and
// ends the process with code 0.
[[noreturn]] void ShutDown();

// The thanks screen in a fresh 640 x 480 window, presented once.
void ShowThanksScreen();
// Keeps it on show until a key, button or click made after it appeared, or
// the window's close button.
void WaitOnThanksScreen();
