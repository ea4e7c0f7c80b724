#pragma once

#include "DesktopProbe.h"

#include <vector>

// The real program's message boxes and notice windows: titled "Tickwell"
// like its tray icon, but in no tray.
std::vector<DesktopProbe::Window> tickwellWindows();
