#include "TrayIcon.h"

#include "AppIcon.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_icon(std::make_unique<QSystemTrayIcon>(appIcon()))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    connect(
        m_menu->addAction(QStringLiteral("設定")), &QAction::triggered, this, &TrayIcon::settingsRequested);
    connect(m_menu->addAction(QStringLiteral("Tikwellについて")), &QAction::triggered, this,
        &TrayIcon::aboutRequested);
    m_menu->addSeparator();
    connect(
        m_menu->addAction(QStringLiteral("閉じる")), &QAction::triggered, this, &TrayIcon::closeRequested);

    m_icon->setToolTip(QStringLiteral("Tickwell"));
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);

    m_menuDelay.setSingleShot(true);
    connect(&m_menuDelay, &QTimer::timeout, this, &TrayIcon::popupMenu);
}

TrayIcon::~TrayIcon()
{
    remove();
}

void TrayIcon::show()
{
    if (m_icon)
        m_icon->show();
}

void TrayIcon::remove()
{
    m_menuDelay.stop();
    if (!m_icon)
        return;
    m_menu->close();
    m_icon->hide();
    m_icon.reset();
}

bool TrayIcon::trayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        m_pressedAt = QCursor::pos();
        m_menuDelay.start(QApplication::doubleClickInterval());
        break;
    case QSystemTrayIcon::DoubleClick:
        m_menuDelay.stop();
        emit settingsRequested();
        break;
    case QSystemTrayIcon::Context:
        // The menu is on its way already, shown by Qt or by the panel.
        m_menuDelay.stop();
        break;
    default:
        break;
    }
}

void TrayIcon::popupMenu()
{
    if (m_icon && !m_menu->isVisible())
        m_menu->popup(m_pressedAt);
}
