#pragma once

// Whether a notification area is there to take an icon: a
// StatusNotifierItem host registered with the session bus's
// StatusNotifierWatcher, or an X tray manager (the owner of
// _NET_SYSTEM_TRAY_S0). Asked before the icon is made: Qt picks between the
// two kinds once, with the first icon, for the rest of the run, so an icon
// made before any tray exists could never reach a StatusNotifierItem host
// that starts later.
namespace TrayHostProbe {

bool statusNotifierWatcherPresent();
bool statusNotifierHostRegistered();
bool xTrayManagerPresent();

inline bool anyHost()
{
    return xTrayManagerPresent() || statusNotifierHostRegistered();
}

} // namespace TrayHostProbe
