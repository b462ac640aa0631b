// screenshot.h — F11 saves the current picture as a PNG in the player's
// folder, F10 the last ten seconds as an animated GIF beside it.
#pragma once

#include <string>

void TakeScreenshot();
void SaveGifOfPlay();  // starts the save; the frame end tells how it went
void ReportGifSave();  // once a frame: the message and log lines when a save ends
void FinishGifSave();  // closing: waits for a save under way and reports it
std::string CleanFileName(const std::string& text);
