#pragma once

#include <QIcon>

// Icon 128, the clock: 16 and 32 pixels, each drawn for its size. The tray
// icon, the windows and the About box show it.
QIcon appIcon();
