#include "TrayIcon.h"

#include "AppIcon.h"
#include "MenuPlacement.h"
#include "PopupShield.h"
#ifdef Q_OS_UNIX
#include "SwayWorkArea.h"
#endif

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace {

// The output the menu goes on and what the panels leave of it: sway's own
// word where it is sway, else what the X server says of its primary screen.
MenuPlacement currentPlacement()
{
#ifdef Q_OS_UNIX
    const QString socket = SwayWorkArea::socketPath();
    if (!socket.isEmpty()) {
        if (const auto area = SwayWorkArea::query(socket))
            return MenuPlacement{area->output, area->workArea};
    }
#endif
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return MenuPlacement{screen->geometry(), screen->availableGeometry()};
}

} // namespace

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
    m_shield.reset();
    m_icon->hide();
    m_icon.reset();
}

bool TrayIcon::trayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    const int interval = QApplication::doubleClickInterval();
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (m_menu->isVisible() && menuNeedsPlacing()) {
            // The host's icon is above the shield: a press on it while the
            // menu is open closes the menu, as a press anywhere else does.
            m_menu->close();
            break;
        }
        if (m_menuDelay.isActive()) {
            // The second click of a double-click: the menu the first one
            // was waiting to show never appears.
            m_menuDelay.stop();
            m_secondTrigger.start();
            emit settingsRequested();
            break;
        }
        m_pressedAt = QCursor::pos();
        m_menuDelay.start(interval);
        break;
    case QSystemTrayIcon::DoubleClick:
        m_menuDelay.stop();
        if (m_secondTrigger.isValid() && m_secondTrigger.elapsed() <= interval) {
            m_secondTrigger.invalidate();
            break;
        }
        emit settingsRequested();
        break;
    case QSystemTrayIcon::Context:
        m_menuDelay.stop();
        // On an XEmbed tray Qt has shown the menu for the right press
        // already; a ContextMenu call of a StatusNotifierItem host comes
        // without its position, so the menu goes to the pointer.
        if (m_icon && !m_menu->isVisible())
            showMenuAt(QCursor::pos());
        break;
    default:
        break;
    }
}

void TrayIcon::popupMenu()
{
    if (m_icon && !m_menu->isVisible())
        showMenuAt(m_pressedAt);
}

void TrayIcon::showMenuAt(const QPoint &pointer)
{
    if (!menuNeedsPlacing()) {
        m_menu->popup(pointer);
        return;
    }
    const MenuPlacement placement = currentPlacement();
    if (!m_shield)
        m_shield = std::make_unique<PopupShield>();
    // The shield first, so that the menu maps above it.
    m_shield->cover(placement.output, m_menu.get());
    m_menu->popup(placement.menuPosition(m_menu->sizeHint()));
}

bool TrayIcon::menuNeedsPlacing() const
{
    return m_icon && m_icon->geometry().isEmpty() && QGuiApplication::platformName() == QLatin1String("xcb")
        && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
