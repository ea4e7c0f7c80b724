#pragma once

#include <QObject>

#include <array>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C, a closed
// terminal) into a signal of the event loop, so the program ends by its own
// shutdown instead of dying where it stands. The handler only writes the
// signal number into a socket pair; everything else happens in the loop.
// There is one of these per process at a time.
class QuitSignals final : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    // Puts the previous handlers back.
    ~QuitSignals() override;

    // False when the socket pair or a handler could not be set up; the
    // signals then keep their previous meaning.
    bool isActive() const { return m_active; }

    // SIGTERM, SIGINT and SIGHUP.
    static const std::array<int, 3> &handledSignals();

signals:
    void quitRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    bool m_active = false;
};
