// settings_panel.h — the translucent settings panel that Tab slides down over
// any screen: display, control bindings and audio.
#pragma once

extern int PanelY;  // -300 closed, 20 fully open

void RunSettingsPanel();
