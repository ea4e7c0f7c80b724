#include "TrayIcon.h"

#include "AppIcon.h"
#include "MenuPlacement.h"
#include "PopupShield.h"
#include "SwayWorkArea.h"
#include "TrayHostProbe.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QPoint>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <optional>

namespace {

// The output the menu goes on and what the panels leave of it: sway's own
// word where it is sway, else what the X server says of its primary screen.
MenuPlacement currentPlacement()
{
    const QString socket = SwayWorkArea::socketPath();
    if (!socket.isEmpty()) {
        if (const auto area = SwayWorkArea::query(socket))
            return MenuPlacement{area->output, area->workArea};
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return MenuPlacement{screen->geometry(), screen->availableGeometry()};
}

// Moves the menu as it is shown, before it is on screen, to where place()
// says, if it says anything: wherever it was asked to open, by us or by Qt
// itself (an X embedding tray's right press opens it at the pointer, over
// the icon).
class MenuMover final : public QObject
{
public:
    MenuMover(QMenu &menu, std::function<std::optional<QPoint>()> place)
        : m_menu(menu)
        , m_place(std::move(place))
    {
        menu.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_menu && event->type() == QEvent::Show) {
            if (const auto at = m_place())
                m_menu.move(*at);
        }
        return false;
    }

private:
    QMenu &m_menu;
    std::function<std::optional<QPoint>()> m_place;
};

} // namespace

// With an XEmbed tray (X11) Qt shows the menu itself on a right press, and
// reports a left press as Trigger and a double-click as DoubleClick. The
// menu for a left press waits for the double-click interval: shown at once,
// it would catch the second click of a double-click. A StatusNotifierItem
// host draws the menu for a right press itself and turns every left click
// into an Activate call, which reaches us as Trigger, so a double-click
// there is two Triggers within the interval; its ContextMenu call reaches us
// as Context with nothing shown yet.
//
// Seen from XWayland such a host tells us nothing of where the icon is, the
// pointer position Qt reads is stale, and the menu's grabs end at the X
// server. There the menu opens at the panel's end of the output's work area
// (MenuPlacement, from sway when it is sway) above a PopupShield that takes
// the click outside it and Esc; and an Activate while it is open closes it.
struct TrayIcon::Impl
{
    explicit Impl(TrayIcon &owner);

    void onActivated(QSystemTrayIcon::ActivationReason reason);
    // Opens the settings once the call that asked for them has returned.
    void requestSettings();
    void popupMenu();
    void showMenuAt(const QPoint &pointer);
    // A StatusNotifierItem host seen from XWayland: neither the icon nor the
    // pointer can be placed, nor can the menu grab anything.
    bool menuNeedsPlacing() const;
    // The program a Wayland client, not one of XWayland.
    static bool nativeWayland();
    // Beside the icon, where the tray says where it is (an X embedding
    // tray); nothing where it does not.
    std::optional<QPoint> besideIcon() const;

    TrayIcon &q;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<PopupShield> m_shield;
    QTimer m_menuDelay;
    QPoint m_pressedAt;
    // Since a second Trigger opened the settings: the DoubleClick an XEmbed
    // tray sends after it is the same double-click.
    QElapsedTimer m_secondTrigger;
    std::unique_ptr<MenuMover> m_mover;
    // Until there is a notification area: asks each second.
    QTimer m_hostWait;
    bool m_wanted = false;
    bool m_removed = false;

    int m_xTrayOnlyWaits = 0;

    // Makes the icon once a notification area is there; whether it is made.
    // While waiting for one, an X tray that comes beside a watcher without
    // its host yet waits a few seconds for that host.
    bool makeIcon(bool waiting);
};

TrayIcon::Impl::Impl(TrayIcon &owner)
    : q(owner)
    , m_menu(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    // Queued: the dialogs run a loop of their own, and the host that drew
    // the menu waits for its call to return (see requestSettings()).
    connect(m_menu->addAction(QStringLiteral("設定")), &QAction::triggered, &q, &TrayIcon::settingsRequested,
        Qt::QueuedConnection);
    connect(m_menu->addAction(QStringLiteral("Tikwellについて")), &QAction::triggered, &q,
        &TrayIcon::aboutRequested, Qt::QueuedConnection);
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("閉じる")), &QAction::triggered, &q, &TrayIcon::closeRequested);

    m_menuDelay.setSingleShot(true);
    connect(&m_menuDelay, &QTimer::timeout, &q, [this] { popupMenu(); });
    m_mover = std::make_unique<MenuMover>(*m_menu, [this] { return besideIcon(); });
    m_hostWait.setInterval(1000);
    connect(&m_hostWait, &QTimer::timeout, &q, [this] {
        if (makeIcon(true))
            m_hostWait.stop();
    });
}

// Once made, the icon finds a tray that starts anew by itself: Qt docks it
// again in an X tray manager that replaces the old one, and registers it
// again with a StatusNotifierWatcher that comes back.
bool TrayIcon::Impl::makeIcon(bool waiting)
{
    if (m_icon)
        return true;
    if (m_removed)
        return false;
    if (!TrayHostProbe::statusNotifierHostRegistered()) {
        if (!TrayHostProbe::xTrayManagerPresent())
            return false;
        // A panel that holds both kinds of tray may take the X selection
        // before its host registers, and Qt's choice is for good.
        if (waiting && TrayHostProbe::statusNotifierWatcherPresent() && ++m_xTrayOnlyWaits < 4)
            return false;
    }
    m_icon = std::make_unique<QSystemTrayIcon>(appIcon());
    m_icon->setToolTip(QStringLiteral("Tickwell"));
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, &q,
        [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
    if (m_wanted)
        m_icon->show();
    return true;
}

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>(*this))
{
}

TrayIcon::~TrayIcon()
{
    remove();
}

void TrayIcon::show()
{
    Impl &d = *m_impl;
    if (d.m_removed)
        return;
    d.m_wanted = true;
    if (d.m_icon)
        d.m_icon->show();
    else if (!d.makeIcon(false))
        d.m_hostWait.start();
}

void TrayIcon::remove()
{
    Impl &d = *m_impl;
    d.m_removed = true;
    d.m_hostWait.stop();
    d.m_menuDelay.stop();
    if (!d.m_icon)
        return;
    d.m_menu->close();
    d.m_shield.reset();
    d.m_icon->hide();
    d.m_icon.reset();
}

bool TrayIcon::trayAvailable()
{
    return TrayHostProbe::anyHost();
}

void TrayIcon::Impl::onActivated(QSystemTrayIcon::ActivationReason reason)
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
            requestSettings();
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
        requestSettings();
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

// The settings dialog runs modal, in a loop of its own. Run from inside a
// StatusNotifierItem host's Activate call, that call would go unanswered
// until the dialog closes; Plasma takes an Activate that times out (after
// 25 s) for an item that is only a menu and opens its own menu, whose grab
// then swallows the next click anywhere, such as the first one on a notice's
// OK. So the call returns first and the dialog opens after it.
void TrayIcon::Impl::requestSettings()
{
    QMetaObject::invokeMethod(&q, &TrayIcon::settingsRequested, Qt::QueuedConnection);
}

void TrayIcon::Impl::popupMenu()
{
    if (m_icon && !m_menu->isVisible())
        showMenuAt(m_pressedAt);
}

void TrayIcon::Impl::showMenuAt(const QPoint &pointer)
{
    // A Wayland client's menu needs a window of its own to hang from, and
    // the icon is the host's: the menu would open as a window of its own,
    // tiled full-screen by a tiling compositor. There the host draws the
    // exported menu (a right press on waybar), and a left press shows none.
    if (nativeWayland())
        return;
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

std::optional<QPoint> TrayIcon::Impl::besideIcon() const
{
    if (!m_icon || menuNeedsPlacing())
        return std::nullopt;
    const QRect icon = m_icon->geometry();
    const QScreen *screen = icon.isEmpty() ? nullptr : QGuiApplication::screenAt(icon.center());
    if (!screen)
        return std::nullopt;
    return MenuPlacement{screen->geometry(), screen->availableGeometry()}.besideIcon(icon, m_menu->size());
}

bool TrayIcon::Impl::nativeWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool TrayIcon::Impl::menuNeedsPlacing() const
{
    return m_icon && m_icon->geometry().isEmpty() && QGuiApplication::platformName() == QLatin1String("xcb")
        && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
