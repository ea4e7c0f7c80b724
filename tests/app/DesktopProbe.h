#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

// The rig's X display seen from outside the program, through xdotool, xprop
// and ImageMagick's import; under sway the pointer, the keys and the screen
// through swaymsg, wtype and grim.
namespace DesktopProbe {

struct Window
{
    unsigned long id = 0;
    QString name;
    QRect geometry; // of the client area, in root coordinates
};

// Standard output of a helper program; empty when it failed.
QString run(const QString &program, const QStringList &arguments, int timeoutMs = 20000);

// Mapped windows whose WM_CLASS names the program.
std::vector<Window> programWindows(const QString &windowClass = QStringLiteral("tickwell"));
// Mapped windows of the program with exactly this title.
std::vector<Window> windowsNamed(const QString &name);
// Whether the rig's tray is a StatusNotifierItem host (the Xfce panel, or
// waybar under sway) rather than trayer's XEmbed tray.
bool sniTray();
// The rig's tray host (trayer, or Xfce's panel as StatusNotifierItem host),
// ended as a crash ends it and started again as the rig starts it; whether
// it went or came.
bool stopTrayHost();
bool startTrayHost();
// Whether the rig is headless sway with waybar (TICKWELL_RIG_COMPOSITOR=sway):
// the program is an X client of XWayland, the pointer and keys go through
// sway, and screenshots come from grim.
bool swayRig();
// Under sway: the focused workspace's area, what the bar leaves of the output.
QRect swayWorkArea();
// Whether the program under test is a native Wayland client of the sway rig
// (TICKWELL_TEST_PROGRAM_QPA=wayland) rather than an X client of XWayland.
bool nativeWaylandProgram();
// Under sway: the windows of a process as sway holds them (id: the
// container's), and the container that has the focus.
std::vector<Window> swayWindows(qint64 pid);
unsigned long swayFocused();
// The program's mapped windows while it sits idle in the tray: its icon's
// window on an XEmbed tray, none on a StatusNotifierItem host.
std::size_t idleWindowCount();

// The program's icons in the tray host. On trayer each is a window of the
// program; on the panel each is an item registered with the watcher, placed
// where the panel draws it (id 0).
std::vector<Window> trayIcons();
// The open popup menus: the program's mapped, override-redirect windows, and
// on the panel the menus the panel draws for an item.
std::vector<Window> popupMenus();
// The program's mapped PopupShield windows (see src/app/PopupShield.h).
std::vector<Window> popupShields();
// Calls a method of the program's StatusNotifierItem, as a host does:
// "Activate", "SecondaryActivate" or "ContextMenu" at a point of the screen.
bool callTrayItem(const QString &method, const QPoint &point);

unsigned long activeWindow();
// Client windows from bottom to top, as the window manager stacks them.
std::vector<unsigned long> stacking();
// Whether both are stacked and upper lies above lower.
bool stackedAbove(unsigned long upper, unsigned long lower);
QString properties(unsigned long window);

void moveMouse(const QPoint &point);
void click(int button, int repeat = 1);
void keys(const QStringList &keys);

// The point at a place given in dialog units, for a dialog built from a
// template of templateSize dialog units: the scale is read off the window.
QPoint dialogPoint(const Window &dialog, const QSize &templateSize, const QRect &place);

QImage screenshot();
// Saves the image into TICKWELL_SCREENSHOT_DIR when that is set, to look at.
void keep(const QImage &image, const QString &fileName);

} // namespace DesktopProbe
