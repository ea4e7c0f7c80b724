#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

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

    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QTimer m_menuDelay;
    QPoint m_pressedAt;
    // Since a second Trigger opened the settings: the DoubleClick an XEmbed
    // tray sends after it is the same double-click.
    QElapsedTimer m_secondTrigger;
};
