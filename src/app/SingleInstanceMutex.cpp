#include "SingleInstance.h"

#include <QElapsedTimer>
#include <QThread>

#include <windows.h>

#include <string>

struct SingleInstance::Impl
{
    std::wstring name;
    HANDLE mutex = nullptr;
    HWND marked = nullptr;
};

SingleInstance::SingleInstance(const QString &where, QObject *parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>())
{
    m_impl->name = (where.isEmpty() ? QString::fromLatin1(kName) : where).toStdWString();
}

SingleInstance::~SingleInstance()
{
    if (m_impl->marked && ::IsWindow(m_impl->marked))
        ::RemovePropW(m_impl->marked, m_impl->name.c_str());
    // The system lets go of the mutex when the process ends; this is for a
    // copy that goes before that (tests).
    if (m_impl->mutex) {
        ::ReleaseMutex(m_impl->mutex);
        ::CloseHandle(m_impl->mutex);
    }
}

QString SingleInstance::lockFilePath() const
{
    return QString::fromStdWString(m_impl->name);
}

QString SingleInstance::serverPath() const
{
    return QString::fromStdWString(m_impl->name);
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (m_impl->mutex)
        return Outcome::First;
    // Owned from the start, so that it marks this copy at once.
    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, m_impl->name.c_str());
    const DWORD error = ::GetLastError();
    if (!mutex) {
        m_error = QStringLiteral("the mutex %1 cannot be created (error %2)")
                      .arg(QString::fromStdWString(m_impl->name))
                      .arg(error);
        return Outcome::Failed;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return Outcome::Running;
    }
    m_impl->mutex = mutex;
    return Outcome::First;
}

void SingleInstance::markMainWindow(WId window)
{
    const auto handle = reinterpret_cast<HWND>(window);
    // Any value but null marks it.
    if (handle && ::SetPropW(handle, m_impl->name.c_str(), reinterpret_cast<HANDLE>(1)))
        m_impl->marked = handle;
}

bool SingleInstance::askRunningCopy(std::chrono::milliseconds patience)
{
    // A copy that has just created the mutex may not have marked its window
    // yet: look again for a while.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD);
        while (window && !::GetPropW(window, m_impl->name.c_str()))
            window = ::GetWindow(window, GW_HWNDNEXT);
        if (window) {
            if (::IsIconic(window))
                ::ShowWindow(window, SW_RESTORE);
            // The window the user was in: a dialog minimised on its own
            // comes back too.
            HWND popup = ::GetLastActivePopup(window);
            if (popup != window && ::IsIconic(popup))
                ::ShowWindow(popup, SW_RESTORE);
            ::SetForegroundWindow(popup);
            // On top of the others too, where a window manager has the last
            // word on the order (Wine on X activates it without raising it).
            ::BringWindowToTop(popup);
            return true;
        }
        if (waited.elapsed() >= patience.count())
            return false;
        QThread::msleep(50);
    }
}
