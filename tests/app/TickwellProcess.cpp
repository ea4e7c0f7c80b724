#include "TickwellProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <csignal>

#ifndef TICKWELL_EXECUTABLE
#error "TICKWELL_EXECUTABLE names the program under test"
#endif

TickwellProcess::Home::Home() = default;

QString TickwellProcess::Home::storePath() const
{
    return QDir(config.path()).filePath(QStringLiteral("KESTRAVON/Tickwell.conf"));
}

TickwellProcess::TickwellProcess(const Home &home)
    : m_home(home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.config.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.runtime.path());
    // The test itself stays an X client; the program may be another kind.
    const QString platform = qEnvironmentVariable("TICKWELL_TEST_PROGRAM_QPA");
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(QStringLiteral(TICKWELL_EXECUTABLE));
}

TickwellProcess::~TickwellProcess()
{
    if (running()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool TickwellProcess::start()
{
    m_process.start();
    return m_process.waitForStarted(10000);
}

void TickwellProcess::signal(int signalNumber)
{
    if (running())
        ::kill(static_cast<pid_t>(m_process.processId()), signalNumber);
}

bool TickwellProcess::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

QString TickwellProcess::errorOutput()
{
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}

bool waitUntil(const std::function<bool()> &test, int timeoutMs)
{
    return QTest::qWaitFor(test, timeoutMs);
}

std::optional<DesktopProbe::Window> waitForTrayIcon(int timeoutMs)
{
    // A StatusNotifierItem host lists the item before it draws it, and may
    // draw it in steps: only an area seen twice running is the icon.
    std::optional<DesktopProbe::Window> icon;
    QRect seen;
    waitUntil(
        [&] {
            const auto icons = DesktopProbe::trayIcons();
            const QRect area = icons.size() == 1 ? icons.front().geometry : QRect();
            if (!area.isEmpty() && area == seen)
                icon = icons.front();
            seen = area;
            return icon.has_value();
        },
        timeoutMs);
    return icon;
}

std::optional<DesktopProbe::Window> waitForWindow(const QString &name, int timeoutMs)
{
    std::optional<DesktopProbe::Window> found;
    waitUntil(
        [&] {
            const auto windows = DesktopProbe::windowsNamed(name);
            if (windows.size() == 1)
                found = windows.front();
            return found.has_value();
        },
        timeoutMs);
    return found;
}

std::optional<DesktopProbe::Window> openTrayMenu(const DesktopProbe::Window &icon, int button)
{
    DesktopProbe::moveMouse(icon.geometry.center());
    QTest::qWait(150);
    DesktopProbe::click(button);
    std::optional<DesktopProbe::Window> menu;
    waitUntil(
        [&] {
            const auto menus = DesktopProbe::popupMenus();
            if (menus.size() == 1)
                menu = menus.front();
            return menu.has_value();
        },
        3000);
    return menu;
}

void chooseMenuEntry(int entry)
{
    QStringList keys(entry, QStringLiteral("Down"));
    keys << QStringLiteral("Return");
    DesktopProbe::keys(keys);
}
