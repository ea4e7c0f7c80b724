#include "QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The write end as the handler sees it. A signal handler can reach nothing
// but static data, so this is the one piece of process-wide state, set while
// a QuitSignals exists.
volatile sig_atomic_t g_writeFd = -1;
int g_readFd = -1;
std::array<struct sigaction, 3> g_previous{};

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (g_writeFd >= 0) {
        // Nothing to do if the pipe is full: a quit is on its way already.
        [[maybe_unused]] const ssize_t written = ::write(g_writeFd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

const std::array<int, 3> &QuitSignals::handledSignals()
{
    static const std::array<int, 3> signalNumbers{SIGTERM, SIGINT, SIGHUP};
    return signalNumbers;
}

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (g_writeFd >= 0)
        return;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return;
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(fds[1], F_SETFL, ::fcntl(fds[1], F_GETFL) | O_NONBLOCK);
    g_readFd = fds[0];
    g_writeFd = fds[1];

    m_notifier = new QSocketNotifier(g_readFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    m_active = true;
    for (std::size_t i = 0; i < handledSignals().size(); ++i) {
        if (::sigaction(handledSignals()[i], &action, &g_previous[i]) != 0)
            m_active = false;
    }
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < handledSignals().size(); ++i)
        ::sigaction(handledSignals()[i], &g_previous[i], nullptr);
    delete m_notifier;
    ::close(g_writeFd);
    ::close(g_readFd);
    g_writeFd = -1;
    g_readFd = -1;
}

void QuitSignals::readSignal()
{
    unsigned char byte = 0;
    // Several signals may be waiting; one quit answers them all.
    int first = 0;
    while (::read(g_readFd, &byte, 1) == 1) {
        if (first == 0)
            first = byte;
    }
    if (first != 0)
        emit quitRequested(first);
}
