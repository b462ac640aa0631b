// save_report.cpp — telling the player about files that could not be saved.
#include "frame/save_report.h"

#include <map>

#include "frame/frame_end.h"
#include "media/media.h"

static std::map<std::string, std::string> FailureTold;  // by path

void ReportSave(const std::string& path, const std::string& failure) {
  std::string& told = FailureTold[path];
  if (failure == told) return;
  told = failure;
  if (failure.empty()) return;
  LogFailure("could not save " + path + ": " + failure);
  AddMessage("Not saved: " + path.substr(path.rfind('/') + 1) + ": " + failure, 1);
}

void ResetSaveReports() { FailureTold.clear(); }
