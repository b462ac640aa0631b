// name_entry.h — the "Enter Your Name" screen at the end of every game.
#pragma once

// Edits PlayerName until the player confirms with Enter, a click or Escape.
void EnterName();
