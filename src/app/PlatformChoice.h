#pragma once

#include <QByteArray>

// On a Wayland session GNOME and KDE ignore a window's wish to stay above
// the others, so a notice window could vanish behind the window in use.
// Through XWayland (Qt's xcb platform) it stays on top. The user's own choice
// of platform always wins.
struct PlatformEnvironment
{
    QByteArray qpaPlatform;        // QT_QPA_PLATFORM
    QByteArray waylandDisplay;     // WAYLAND_DISPLAY
    QByteArray display;            // DISPLAY: set when XWayland is there
    bool platformArgument = false; // -platform on the command line
};

// The value for QT_QPA_PLATFORM, or nothing to leave Qt's own choice: xcb
// first, Wayland if XWayland cannot be reached after all.
QByteArray preferredPlatform(const PlatformEnvironment &environment);

// Reads the environment and the command line and sets QT_QPA_PLATFORM when
// preferredPlatform says so. Call before the application object exists.
void preferXWayland(int argc, const char *const *argv);
