#include "QuitSignals.h"

#include <QSocketNotifier>

// No POSIX signals here (Windows ends a program's session with messages to
// its windows, SessionEnd): the bridge stays inactive.
const std::array<int, 3> &QuitSignals::handledSignals()
{
    static const std::array<int, 3> none{};
    return none;
}

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
}

QuitSignals::~QuitSignals() = default;

void QuitSignals::readSignal()
{
}
