// script.cpp — any bytes as an input script: loaded, every event delivered
// (the clock taken once round its whole range, and the first pumps of a
// recording), the input read back; then the same bytes watched as a game's
// recording. Only a recording of another version is refused.
#include <string>

#include "media/media.h"
#include "tests/fuzz/fuzz.h"

int FuzzScript(const uint8_t* data, size_t size) {
  StopMedia();  // no queued events, keys or joysticks from the last input
  UseVirtualClock(true);
  ResetVirtualClock();
  AddVirtualJoystick("fuzz pad", 4);
  SetRecordingVersion("fuzz");
  std::string path = EmbedInput("fuzz.txt", data, size);
  bool loaded = LoadInputScript(path);
  FUZZ_CHECK(loaded || std::string(reinterpret_cast<const char*>(data), size).find("recording") != std::string::npos,
             "an embedded script did not load");
  for (int quarter = 0; quarter < 4; quarter++) {
    AdvanceVirtualClock(1 << 30);
    PollEvents();
  }
  for (int pump = 0; pump < 16; pump++) PollEvents();
  RecordedNumber("seed", 0);
  RecordedText("date", "");
  std::string refused = WatchRecording(path);
  for (int pump = 0; pump < 16 && refused.empty(); pump++) PollEvents();
  FUZZ_CHECK(refused.empty() == (WatchStatus() != WATCH_OVER), "a refused recording is watched");
  StopWatching();
  for (int vk = 0; vk < 256; vk++) KeyHit(vk);
  for (int button = 1; button <= 3; button++) MouseHit(button);
  while (NextChar() != 0) {
  }
  JoystickAxis(0, AXIS_X);
  JoystickHat(0);
  CloseRequested();
  return 0;
}
