#include "PlatformChoice.h"

#include <QtGlobal>

#include <cstring>

QByteArray preferredPlatform(const PlatformEnvironment &environment)
{
    if (!environment.qpaPlatform.isEmpty() || environment.platformArgument)
        return {};
    if (environment.waylandDisplay.isEmpty() || environment.display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

void preferXWayland(int argc, const char *const *argv)
{
    PlatformEnvironment environment{
        qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY")};
    // Qt takes the option with one dash or two.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            environment.platformArgument = true;
    }
    const QByteArray platform = preferredPlatform(environment);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}
