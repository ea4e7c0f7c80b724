#pragma once

#include <QObject>

#include <memory>

// The icon in the notification area and its menu: "設定", "Tikwellについて",
// a separator and "閉じる". Nobody else touches the tray. A press of the left
// or right button shows the menu, a double-click asks for the settings.
//
// On Windows it is the shell's notification-area icon with a menu of the
// system's own (TrayIconWin.cpp). Elsewhere it is QSystemTrayIcon with a
// QMenu (TrayIconQt.cpp), which copes with the ways X trays and
// StatusNotifierItem hosts report clicks.
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

signals:
    void settingsRequested();
    void aboutRequested();
    void closeRequested();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
