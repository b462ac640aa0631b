// script.cpp — any bytes as an input script: loaded, every event delivered
// (the clock taken once round its whole range), the input read back.
#include "media/media.h"
#include "tests/fuzz/fuzz.h"

int FuzzScript(const uint8_t* data, size_t size) {
  StopMedia();  // no queued events, keys or joysticks from the last input
  UseVirtualClock(true);
  ResetVirtualClock();
  AddVirtualJoystick("fuzz pad", 4);
  FUZZ_CHECK(LoadInputScript(EmbedInput("fuzz.txt", data, size)), "an embedded script did not load");
  for (int quarter = 0; quarter < 4; quarter++) {
    AdvanceVirtualClock(1 << 30);
    PollEvents();
  }
  for (int vk = 0; vk < 256; vk++) KeyHit(vk);
  for (int button = 1; button <= 3; button++) MouseHit(button);
  while (NextChar() != 0) {
  }
  JoystickAxis(0, AXIS_X);
  JoystickHat(0);
  CloseRequested();
  return 0;
}
