#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

class PopupShield;
class QAction;
class QMenu;

// The icon in the notification area and its menu: "設定", "Tikwellについて",
// a separator and "閉じる". Nobody else touches the tray.
//
// With an XEmbed tray (X11) Qt shows the menu itself on a right press, and
// reports a left press as Trigger and a double-click as DoubleClick. The
// menu for a left press waits for the double-click interval: shown at once,
// it would catch the second click of a double-click. A StatusNotifierItem
// host draws the menu for a right press itself and turns every left click
// into an Activate call, which reaches us as Trigger, so a double-click
// there is two Triggers within the interval; its ContextMenu call reaches us
// as Context with nothing shown yet.
//
// Seen from XWayland such a host tells us nothing of where the icon is, the
// pointer position Qt reads is stale, and the menu's grabs end at the X
// server. There the menu opens at the panel's end of the output's work area
// (MenuPlacement, from sway when it is sway) above a PopupShield that takes
// the click outside it and Esc; and an Activate while it is open closes it.
class TrayIcon final : public QObject
{
    Q_OBJECT

public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Adds the icon to the notification area (once there is one).
    void show();
    // Takes the icon out of the notification area for good.
    void remove();

    // Whether a notification area is there to hold the icon.
    static bool trayAvailable();

    QMenu *menu() const { return m_menu.get(); }

signals:
    void settingsRequested();
    void aboutRequested();
    void closeRequested();

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void popupMenu();
    void showMenuAt(const QPoint &pointer);
    // A StatusNotifierItem host seen from XWayland: neither the icon nor the
    // pointer can be placed, nor can the menu grab anything.
    bool menuNeedsPlacing() const;

    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<PopupShield> m_shield;
    QTimer m_menuDelay;
    QPoint m_pressedAt;
    // Since a second Trigger opened the settings: the DoubleClick an XEmbed
    // tray sends after it is the same double-click.
    QElapsedTimer m_secondTrigger;
};
