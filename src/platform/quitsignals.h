#pragma once

#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP into a call on the UI thread, so that a
// session logout or Ctrl+C in a terminal ends the program in order (settings
// saved, engine stopped, scratch files removed). Does nothing on Windows.
void HandleQuitSignals(std::function<void()> onQuit);
