#include "ProgramWindows.h"

#include <algorithm>

std::vector<DesktopProbe::Window> tickwellWindows()
{
    std::vector<DesktopProbe::Window> found;
    const auto icons = DesktopProbe::trayIcons();
    for (const DesktopProbe::Window &w : DesktopProbe::windowsNamed(QStringLiteral("Tickwell"))) {
        const bool isIcon
            = std::any_of(icons.begin(), icons.end(), [&](const auto &i) { return i.id == w.id; });
        if (!isIcon && w.geometry.width() > 64)
            found.push_back(w);
    }
    return found;
}
