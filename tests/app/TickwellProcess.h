#pragma once

#include "DesktopProbe.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

// The real tickwell executable on the rig's display, with a store and a
// runtime folder of its own: copies made with the same Home meet each other,
// others never do.
class TickwellProcess
{
public:
    // The folders one user's copies share: XDG_CONFIG_HOME (the store) and
    // XDG_RUNTIME_DIR (the lock and the socket).
    struct Home
    {
        Home();
        QTemporaryDir config;
        QTemporaryDir runtime;
        // Where the program keeps its store.
        QString storePath() const;
    };

    explicit TickwellProcess(const Home &home);
    ~TickwellProcess();

    bool start();
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // Sends a signal to the process.
    void signal(int signalNumber);
    bool waitForExit(int timeoutMs);
    int exitCode() const { return m_process.exitCode(); }
    bool exitedNormally() const { return m_process.exitStatus() == QProcess::NormalExit; }
    QString errorOutput();

private:
    const Home &m_home;
    QProcess m_process;
};

// Polls until test holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()> &test, int timeoutMs);

// The one tray icon of the program, once it is there.
std::optional<DesktopProbe::Window> waitForTrayIcon(int timeoutMs = 10000);
// The one window with this title, once it is shown.
std::optional<DesktopProbe::Window> waitForWindow(const QString &name, int timeoutMs = 10000);
// Presses the given button on the tray icon and waits for the tray menu.
std::optional<DesktopProbe::Window> openTrayMenu(const DesktopProbe::Window &icon, int button);
// Chooses entry 1 to 3 of the open tray menu with the keyboard.
void chooseMenuEntry(int entry);
