#pragma once

#include <QObject>
#include <QString>
#include <qwindowdefs.h>

#include <chrono>
#include <memory>

// One running copy per user.
//
// On Windows the copy that created the named mutex "Tockwell" runs; a later
// copy finds the mutex there, looks among the top-level windows for the one
// that carries the window property "Tockwell" (the running copy's hidden
// main frame), brings that window's last active popup forward and ends.
//
// Elsewhere the copy that holds the lock file "<folder>/Tockwell.lock" for
// its whole life listens on the local socket "<folder>/Tockwell"; a later
// copy finds the lock taken and asks the running one, through the socket, to
// come forward. The folder is the user's own runtime folder, so other users'
// copies are never seen.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        First,   // this is the only copy, and later ones will find it
        Running, // another copy holds the lock
        Failed,  // the lock could not be made (errorString() says why)
    };

    static constexpr const char *kName = "Tockwell";

    // where: on Windows the name of the mutex and of the window property
    // (kName by default); elsewhere the folder of the lock file and the
    // socket (the user's runtime folder by default).
    explicit SingleInstance(const QString &where = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock. A lock left by a copy that crashed (its process is
    // gone) is no lock. A socket left by such a copy is replaced.
    Outcome acquire();

    // For the copy that runs: the window that later copies look for (its
    // hidden main frame). Only Windows looks for a window; elsewhere the
    // request comes through the socket.
    void markMainWindow(WId window);

    // For a later copy: asks the running one to come forward. Through the
    // socket, a copy that lost a race for the lock may find it not yet
    // listening, so this keeps trying for a while. Returns whether the
    // request was delivered (on Windows: whether the marked window was
    // found).
    bool askRunningCopy(std::chrono::milliseconds patience = std::chrono::milliseconds(2000));

    // The lock: its file, or on Windows the mutex's name.
    QString lockFilePath() const;
    // Where a later copy asks: the socket, or on Windows the property's name.
    QString serverPath() const;
    QString errorString() const { return m_error; }

signals:
    // A later copy asked this one to come forward (through the socket).
    // Emitted from the event loop, never from inside the socket's handling.
    void activationRequested();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    QString m_error;
};
