#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimer>

namespace {

// The one request there is. Anything else that reaches the socket is
// dropped.
constexpr char kActivate[] = "activate\n";

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder.isEmpty() ? defaultFolder() : folder)
    , m_lock(QDir(m_folder).filePath(QString::fromLatin1(kName) + QStringLiteral(".lock")))
{
    connect(&m_listener, &LocalRequestListener::lineReceived, this, &SingleInstance::onLine);
}

SingleInstance::~SingleInstance()
{
    m_listener.close();
    m_lock.release();
}

QString SingleInstance::lockFilePath() const
{
    return QDir(m_folder).filePath(QString::fromLatin1(kName) + QStringLiteral(".lock"));
}

QString SingleInstance::serverPath() const
{
    return QDir(m_folder).filePath(QString::fromLatin1(kName));
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (m_folder.isEmpty()) {
        m_error = QStringLiteral("no runtime folder");
        return Outcome::Failed;
    }
    switch (m_lock.take()) {
    case RunLock::Result::Taken:
        break;
    case RunLock::Result::Held:
        return Outcome::Running;
    case RunLock::Result::NotPermitted:
        m_error = QStringLiteral("%1: permission denied").arg(lockFilePath());
        return Outcome::Failed;
    case RunLock::Result::Failed:
        m_error = QStringLiteral("%1: cannot be created").arg(lockFilePath());
        return Outcome::Failed;
    }
    // Holding the lock, whatever is at the socket's path was left behind:
    // listen() replaces it.
    if (!m_listener.listen(serverPath())) {
        // The program still runs; later copies then find no one to ask and
        // end quietly.
        m_error = m_listener.errorString();
    }
    return Outcome::First;
}

bool SingleInstance::askRunningCopy(std::chrono::milliseconds patience)
{
    return LocalRequestListener::send(serverPath(), QByteArray(kActivate, sizeof kActivate - 1), patience);
}

void SingleInstance::onLine(const QByteArray &line)
{
    if (line == kActivate)
        QTimer::singleShot(0, this, &SingleInstance::activationRequested);
}
