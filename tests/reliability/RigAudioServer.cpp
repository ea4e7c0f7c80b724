#include "RigAudioServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <csignal>

#include <sys/types.h>

RigAudioServer::~RigAudioServer()
{
    for (auto &process : m_started) {
        process->kill();
        process->waitForFinished(5000);
    }
}

QString RigAudioServer::config()
{
    return QDir(qEnvironmentVariable("TICKWELL_RIG_DIR")).filePath(QStringLiteral(".rig/rig.pa"));
}

bool RigAudioServer::available()
{
    return QFileInfo::exists(config());
}

bool RigAudioServer::answers()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    return pactl.waitForFinished(3000) && pactl.exitCode() == 0;
}

bool RigAudioServer::waitUntil(bool answering)
{
    QElapsedTimer clock;
    clock.start();
    while (answers() != answering) {
        if (clock.elapsed() > 10000)
            return false;
        QTest::qWait(100);
    }
    return true;
}

bool RigAudioServer::kill()
{
    QProcess pgrep;
    pgrep.start(
        QStringLiteral("pgrep"), {QStringLiteral("-f"), QStringLiteral("pulseaudio .*-F ") + config()});
    pgrep.waitForFinished(5000);
    const auto pid = static_cast<pid_t>(pgrep.readAllStandardOutput().trimmed().split('\n').value(0).toInt());
    return pid > 0 && ::kill(pid, SIGKILL) == 0 && waitUntil(false);
}

bool RigAudioServer::start()
{
    m_started.push_back(std::make_unique<QProcess>());
    m_started.back()->start(QStringLiteral("pulseaudio"),
        {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
            QStringLiteral("--disallow-exit"), QStringLiteral("--system=false"),
            QStringLiteral("--use-pid-file=false"), QStringLiteral("--realtime=false"),
            QStringLiteral("--high-priority=false"), QStringLiteral("-F"), config()});
    return waitUntil(true);
}
