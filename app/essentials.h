// essentials.h — the files the game cannot be played without, and the one
// way start-up ends when one of them (or the display) fails.
#pragma once

#include <string>

// From the data folder: before the display opens (loaded false), every
// essential file must exist; once loaded (true), every one must have loaded.
// Otherwise one line names them all and the program ends with code 1.
void RequireEssentials(bool loaded);

// Ends start-up with code 1 and "cannot start: why" (no line when why is
// empty: the failure was already named), leaving no crash marker behind.
[[noreturn]] void CannotStart(const std::string& why);
