#pragma once

#include "LocalRequestListener.h"
#include "RunLock.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

// One running copy per user. The copy that holds the lock file
// "<folder>/Tockwell.lock" for its whole life listens on the local socket
// "<folder>/Tockwell"; a later copy finds the lock taken and asks the running
// one, through the socket, to come forward. The folder is the user's own
// runtime folder, so other users' copies are never seen.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        First,   // this is the only copy, and it now listens for later ones
        Running, // another copy holds the lock
        Failed,  // the lock could not be made (errorString() says why)
    };

    static constexpr const char *kName = "Tockwell";

    // The user's runtime folder by default.
    explicit SingleInstance(const QString &folder = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock. A lock left by a copy that crashed (its process is
    // gone) is no lock. A socket left by such a copy is replaced.
    Outcome acquire();

    // For a later copy: asks the running one to come forward. A copy that
    // lost a race for the lock may find the socket not yet listening, so this
    // keeps trying for a while. Returns whether the request was delivered.
    bool askRunningCopy(std::chrono::milliseconds patience = std::chrono::milliseconds(2000));

    QString lockFilePath() const;
    QString serverPath() const;
    QString errorString() const { return m_error; }

signals:
    // A later copy asked this one to come forward. Emitted from the event
    // loop, never from inside the socket's handling.
    void activationRequested();

private:
    void onLine(const QByteArray &line);

    QString m_folder;
    RunLock m_lock;
    LocalRequestListener m_listener;
    QString m_error;
};
