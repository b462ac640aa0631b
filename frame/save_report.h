// save_report.h — what the player is told when a file could not be saved.
#pragma once

#include <string>

// failure "" means the file was saved. A failure is told once per file and
// reason (a folder that stays read-only does not repeat itself after every
// game): one line on standard error and in Debug.txt, and a message in the
// message log. Once the file saves again, a later failure is told anew.
void ReportSave(const std::string& path, const std::string& failure);

// Nothing told yet (tests).
void ResetSaveReports();
