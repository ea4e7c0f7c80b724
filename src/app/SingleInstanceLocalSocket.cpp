#include "SingleInstance.h"

#include "LocalRequestListener.h"
#include "RunLock.h"

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

QString lockPath(const QString &folder)
{
    return QDir(folder).filePath(QString::fromLatin1(SingleInstance::kName) + QStringLiteral(".lock"));
}

} // namespace

struct SingleInstance::Impl
{
    explicit Impl(const QString &where)
        : folder(where.isEmpty() ? defaultFolder() : where)
        , lock(lockPath(folder))
    {
    }

    QString folder;
    RunLock lock;
    LocalRequestListener listener;
};

SingleInstance::SingleInstance(const QString &where, QObject *parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>(where))
{
    connect(&m_impl->listener, &LocalRequestListener::lineReceived, this, [this](const QByteArray &line) {
        if (line == kActivate)
            QTimer::singleShot(0, this, &SingleInstance::activationRequested);
    });
}

SingleInstance::~SingleInstance()
{
    m_impl->listener.close();
    m_impl->lock.release();
}

QString SingleInstance::lockFilePath() const
{
    return lockPath(m_impl->folder);
}

QString SingleInstance::serverPath() const
{
    return QDir(m_impl->folder).filePath(QString::fromLatin1(kName));
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (m_impl->folder.isEmpty()) {
        m_error = QStringLiteral("no runtime folder");
        return Outcome::Failed;
    }
    switch (m_impl->lock.take()) {
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
    if (!m_impl->listener.listen(serverPath())) {
        // The program still runs; later copies then find no one to ask and
        // end quietly.
        m_error = m_impl->listener.errorString();
    }
    return Outcome::First;
}

void SingleInstance::markMainWindow(WId)
{
    // Later copies ask through the socket, not by window.
}

bool SingleInstance::askRunningCopy(std::chrono::milliseconds patience)
{
    return LocalRequestListener::send(serverPath(), QByteArray(kActivate, sizeof kActivate - 1), patience);
}
