// settings_panel.cpp — the settings panel. For now it only keeps the mouse
// hit counts fresh and slides its position; the widgets come later.
#include "app/settings_panel.h"

#include "frame/frame_end.h"
#include "media/media.h"

int PanelY = -300;

void RunSettingsPanel() {
  MouseHitLeft = MouseHit(1);
  MouseHitRight = MouseHit(2);
  if (SettingsMenuOpen == 1 && PanelY < 0) PanelY += 32;
  if (SettingsMenuOpen == 0 && PanelY > -300) PanelY -= 32;
}
