#pragma once
// What the programs decide before they create the Qt application: whether a display is there,
// and, when they render offscreen, Qt's offscreen platform without its noise.

namespace vcl::qt {

// True when a display server is named in the environment (X11 or Wayland).
bool HasDisplay();

// Selects Qt's offscreen platform: always for a program that renders a screenshot, else only
// where QT_QPA_PLATFORM names no other. Offscreen, Qt's remarks about the missing display and
// desktop session are dropped; its critical messages still reach standard error.
void PrepareOffscreen(bool Always);

// Offscreen nobody can click a message box: messages go to standard error as "Program: text"
// and are answered with Cancel where they offer it (a prompt), else OK; other modal windows are
// cancelled. Call it after the widgetset is installed.
void PrintModalMessages(const char* Program);

} // namespace vcl::qt
