#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>

struct SessionEnd::Impl
{
};

SessionEnd::SessionEnd(QObject *parent)
    : QObject(parent)
{
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { emit ending(false); });
    // The autostart entry starts the program at login; a session restore
    // would start a second copy.
    connect(qApp, &QGuiApplication::saveStateRequest, this,
        [](QSessionManager &manager) { manager.setRestartHint(QSessionManager::RestartNever); });
}

SessionEnd::~SessionEnd() = default;
