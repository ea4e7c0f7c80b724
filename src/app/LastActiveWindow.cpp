#include "LastActiveWindow.h"

#include "CompositorFocus.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWindow>

LastActiveWindow::LastActiveWindow(QObject *parent)
    : QObject(parent)
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] {
        QWidget *active = QApplication::activeWindow();
        if (active && active->windowType() != Qt::Popup && active->windowType() != Qt::ToolTip)
            m_last = active;
    });
}

QWidget *LastActiveWindow::window() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (m_last && m_last->isVisible())
        return m_last;
    return nullptr;
}

bool LastActiveWindow::bringForward() const
{
    QWidget *target = window();
    if (!target)
        return false;
    if (target->isMinimized())
        target->setWindowState((target->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    target->raise();
    target->activateWindow();
    focusThroughCompositor(*target);
    return true;
}
