#include "SessionEnd.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

// Windows sends WM_ENDSESSION to each of the program's top-level windows in
// turn; the first one that says the session really ends is taken.
struct SessionEnd::Impl final : QAbstractNativeEventFilter
{
    explicit Impl(SessionEnd &owner)
        : q(owner)
    {
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const auto *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_ENDSESSION && msg->wParam != FALSE && !ended) {
            ended = true;
            emit q.ending(true);
        }
        // Qt's own handling goes on: it ends the event loops.
        return false;
    }

    SessionEnd &q;
    bool ended = false;
};

SessionEnd::SessionEnd(QObject *parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>(*this))
{
    QCoreApplication::instance()->installNativeEventFilter(m_impl.get());
}

SessionEnd::~SessionEnd()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeNativeEventFilter(m_impl.get());
}
