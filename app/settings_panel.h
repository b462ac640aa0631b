// settings_panel.h — the translucent settings panel that Tab slides down over
// any screen: display, control bindings and audio. Mouse-driven, drawn every
// frame from EndFrame.
#pragma once

#include <string>

// Slides the panel (PanelY, frame/frame_end.h: its widgets are placed
// relative to it), draws it and works its widgets, once a frame.
void RunSettingsPanel();

// Shows the option chosen in Settings[entry] and advances it on a left click;
// empty labels are not options. Returns 1 while the mouse is over the row.
int OptionRow(int entry, int x, int y, int iconBase, const std::string& label0, const std::string& label1 = "",
              const std::string& label2 = "", const std::string& label3 = "", const std::string& label4 = "",
              const std::string& label5 = "");

// A 0..100 slider; returns the value, dragged while the left button is held on it.
int VolumeSlider(int value, int x, int y, const std::string& caption);

// Shows ControlTable[slot]; while pointed at on the fully open panel, the
// first input pressed becomes the binding (Backspace clears it).
void BindingButton(int slot, int x, int y);
