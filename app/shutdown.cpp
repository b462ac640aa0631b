// shutdown.cpp — the one way the program ends: the player's settings and
// scores are written first, then the log's closing lines, then the process ends.
#include "app/shutdown.h"

#include "app/settings.h"
#include "media/media.h"
#include "scores/records.h"

void ShutDown() {
  ShowPointer();
  WriteSettingsFile();
  SaveScores();
  LogLine("Closing Up");
  LogLine("");
  LogLine("Bye!");
  LogLine("");
  LogLine("Play again, soon!!");
  CloseStartupLog();
  EndProcess(0);
}
