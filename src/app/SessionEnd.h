#pragma once

#include <QObject>

#include <memory>

// The end of the user's session (a log-off or a shutdown), which ends the
// program with its exit save.
//
// On Windows the session ends with WM_QUERYENDSESSION, which the program
// answers yes, and then WM_ENDSESSION, after whose handling Windows may end
// the process at once: the save is made inside it. Elsewhere the session
// manager asks the program to commit its data (Qt's commitDataRequest) and
// gives it time to end by its own shutdown; a session restore is declined,
// as the autostart entry starts the program.
class SessionEnd final : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;

signals:
    // Once. saveNow: the process may end as soon as the connected slot has
    // returned, so the exit save has to be made inside it.
    void ending(bool saveNow);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
