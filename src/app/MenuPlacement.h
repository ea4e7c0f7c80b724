#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the tray menu goes when the tray cannot say where its icon is (a
// StatusNotifierItem host seen from XWayland: no icon geometry, and a pointer
// position that is wherever XWayland last saw the pointer). The panel is
// taken to be the strip of the output outside its work area, and the icon
// to sit at the panel's far end, as the tray module of waybar and swaybar
// does by default: the menu opens right under a top bar at its right end,
// above a bottom bar, beside a side bar at its lower end, and in the top
// right corner of an output with no bar at all.
struct MenuPlacement
{
    QRect output;   // the output's whole area, in X root coordinates
    QRect workArea; // what the bars leave of it

    // The menu's top left corner; the menu lies wholly on the output when
    // it fits there.
    QPoint menuPosition(const QSize &menu) const;

    // Where the tray says its icon is (an X embedding tray): the menu opens
    // beside the icon, away from the output's edge the icon is nearest to,
    // where its panel is: below the icon under a top panel, above it over a
    // bottom one, to its side by a side panel, and never over the icon or
    // the panel; along the panel it starts at the icon's edge, moved back
    // as far as the output asks.
    QPoint besideIcon(const QRect &icon, const QSize &menu) const;

private:
    // The work area on the output; the whole output when none is known.
    QRect freeArea() const;
};
