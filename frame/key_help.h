// key_help.h — F1 on any screen: a box over the screen naming its keys as
// they are bound, and in the game its rules, while the screen stands still
// under it; F1 again or Escape closes it.
#pragma once

// The screens the help knows; each sets HelpScreenShown as it draws a frame.
enum HelpScreen { HELP_TITLE, HELP_GAME, HELP_PAUSE, HELP_NAME_ENTRY, HELP_SETTINGS };
extern int HelpScreenShown;
extern bool KeyHelpOpen;

// Frame end: on F1, holds the screen under the help until it is closed.
void HoldScreenUnderHelp(int showPointer);
// Frame end: Escape, taken before any screen sees it, closes the open help.
void CloseHelpOnEscape();
// Frame end: the box, over the settings panel when that is open.
void DrawKeyHelp();
