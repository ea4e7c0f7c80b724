#pragma once

#include <QWidget>

#include <memory>

class CTickwellView;
class QCloseEvent;
class TrayIcon;

// The program's one main window. It is never shown and has no taskbar
// entry: the user sees only its tray icon and the icon's menu. It owns the
// notice windows and the About box, and closing it ends the program.
class CMainFrame final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    // Adds the tray icon and its menu. Returns false if the frame's window
    // could not be made.
    bool OnCreate();
    // The view whose settings the menu opens; set once it exists.
    void setView(CTickwellView *view) { m_view = view; }

    // Opens the settings dialog through the view. While it is open nothing
    // new opens: it is asked to the front (settingsShownAgain), for it may
    // lie under other windows and has no taskbar entry of its own.
    void RequestSettings();

    // Takes the tray icon away and puts away the windows the frame owns.
    // Runs once; closing the frame runs it.
    void OnDestroy();

    TrayIcon *trayIcon() const { return m_tray.get(); }
    // The owner of the notice windows: a hidden window of the frame's that
    // the frame's modal dialogs do not block, so a notice can be dismissed
    // while the settings dialog, the About box or a message box is open.
    QWidget *noticeOwner() const { return m_noticeOwner.get(); }

signals:
    void aboutRequested();
    void settingsShownAgain();
    // The frame was closed ("閉じる", or the program was told to end): its
    // icon and windows are gone, the program ends next.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<QWidget> m_noticeOwner;
    std::unique_ptr<TrayIcon> m_tray;
    CTickwellView *m_view = nullptr;
    bool m_destroyed = false;
};
