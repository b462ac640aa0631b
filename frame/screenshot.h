// screenshot.h — F11 saves the current picture as a PNG in the player's folder.
#pragma once

#include <string>

void TakeScreenshot();
std::string CleanFileName(const std::string& text);
