// The tray icon, its menu, the settings dialog and the About box of the real
// program, driven from outside with xdotool.
#include "AppDesktopFixture.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <functional>
#include <set>

namespace {

using namespace DesktopProbe;

const QString kSettingsCaption = QStringLiteral("スケジュール設定画面");
const QString kAboutCaption = QStringLiteral("Tickwellのﾊﾞｰｼﾞｮﾝ情報");
const QSize kSettingsTemplate(249, 285);
const QRect kSettingsCancel(144, 267, 50, 14);

// Distinct colours inside a rectangle of the screen.
int coloursIn(const QImage &screen, const QRect &area)
{
    std::set<QRgb> colours;
    const QRect inside = area.intersected(screen.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            colours.insert(screen.pixel(x, y));
    }
    return static_cast<int>(colours.size());
}

// The part of the screen that differs between two shots of it.
QRect changedArea(const QImage &before, const QImage &after)
{
    QRect changed;
    if (before.size() != after.size())
        return changed;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
        }
    }
    return changed;
}

void cancelSettings(const Window &dialog)
{
    moveMouse(dialogPoint(dialog, kSettingsTemplate, kSettingsCancel));
    click(1);
    EXPECT_TRUE(waitUntil([] { return windowsNamed(kSettingsCaption).empty(); }, 5000));
}

class TrayOnDesktop : public AppDesktopTest
{
protected:
    void SetUp() override
    {
        AppDesktopTest::SetUp();
        writeYearOnly(currentYear());
        startRunning();
        ASSERT_TRUE(icon);
    }
};

TEST_F(TrayOnDesktop, IconSitsInTheTrayAndNothingElseIsOnScreen)
{
    EXPECT_LE(icon->geometry.width(), 32);
    const QImage screen = screenshot();
    // The clock is drawn: rim, dial and hands, not a blank square.
    EXPECT_GT(coloursIn(screen, icon->geometry), 8);
    keep(screen.copy(icon->geometry.adjusted(-40, -4, 4, 40)), QStringLiteral("tray-icon.png"));

    // The main frame is never shown and nothing asks for a taskbar entry.
    const auto windows = programWindows();
    EXPECT_EQ(windows.size(), idleWindowCount());
    const QString clients
        = run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST")});
    for (const Window &window : windows)
        EXPECT_FALSE(clients.contains(QString::number(window.id, 16))) << clients.toStdString();
}

TEST_F(TrayOnDesktop, LeftAndRightPressShowTheSameMenuBesideTheIcon)
{
    QRect shown[2];
    for (int button : {3, 1}) {
        SCOPED_TRACE(button == 1 ? "left" : "right");
        const auto menu = openTrayMenu(*icon, button);
        ASSERT_TRUE(menu);
        // Big enough for three entries and a separator.
        EXPECT_GT(menu->geometry.height(), 50);
        if (sniTray() && button == 3) {
            // The panel draws its own menu for a right press, by the icon.
            EXPECT_TRUE(menu->geometry.adjusted(-30, -30, 30, 30).contains(icon->geometry.center()));
        } else {
            // Beside the icon, off its panel (under a top one, over a
            // bottom one), in its column, clear of it, and wholly on the
            // screen: where the tray says where the icon is, and from the
            // pointer on a panel that keeps its strip.
            const QRect screen(QPoint(0, 0), screenshot().size());
            const int gap = sniTray() ? 8 : 4; // the panel's own border below the icon
            EXPECT_FALSE(menu->geometry.intersects(icon->geometry)) << "the menu covers the icon";
            if (icon->geometry.center().y() < screen.center().y()) {
                EXPECT_GE(menu->geometry.top(), icon->geometry.bottom() + 1);
                EXPECT_LE(menu->geometry.top(), icon->geometry.bottom() + gap);
            } else {
                EXPECT_LE(menu->geometry.bottom(), icon->geometry.top() - 1);
                EXPECT_GE(menu->geometry.bottom(), icon->geometry.top() - gap);
            }
            EXPECT_LE(menu->geometry.left(), icon->geometry.right());
            EXPECT_GE(menu->geometry.right(), icon->geometry.left());
            EXPECT_TRUE(screen.contains(menu->geometry));
        }
        shown[button == 1 ? 0 : 1] = menu->geometry;
        if (button == 3)
            keep(screenshot().copy(menu->geometry.united(icon->geometry).adjusted(-30, -4, 4, 30)),
                QStringLiteral("tray-menu.png"));
        keys({QStringLiteral("Escape")});
        ASSERT_TRUE(waitUntil([] { return popupMenus().empty(); }, 3000));
    }
    // A StatusNotifierItem host draws the right-press menu itself.
    if (!sniTray()) {
        EXPECT_EQ(shown[0].size(), shown[1].size());
    }

    // Moving over the icon and the middle button do nothing.
    moveMouse(icon->geometry.center() + QPoint(3, 2));
    click(2);
    QTest::qWait(800);
    EXPECT_TRUE(popupMenus().empty());
    EXPECT_EQ(programWindows().size(), idleWindowCount());

    // A host that asks for the menu over D-Bus gets it at the pointer.
    if (sniTray()) {
        const QPoint pointer(600, 400);
        moveMouse(pointer);
        ASSERT_TRUE(callTrayItem(QStringLiteral("ContextMenu"), pointer));
        ASSERT_TRUE(waitUntil([] { return popupMenus().size() == 1; }, 3000)) << "no menu for ContextMenu";
        EXPECT_LT(QLineF(popupMenus().front().geometry.topLeft(), pointer).length(), 10);
        keys({QStringLiteral("Escape")});
        EXPECT_TRUE(waitUntil([] { return popupMenus().empty(); }, 3000));
    }
}

// waybar tells an X client neither where the icon is nor where the pointer
// is, and X grabs end at XWayland: the menu goes under the bar's right end,
// over a shield that takes Esc and the clicks outside it.
TEST_F(TrayOnDesktop, UnderSwayTheMenuSitsAtTheBarsEndAndClosesOnEscOrAClickOutside)
{
    if (!swayRig())
        GTEST_SKIP() << "needs tests/desktop-session with TICKWELL_RIG_COMPOSITOR=sway";
    const QRect workArea = swayWorkArea();
    ASSERT_GT(workArea.top(), 0) << "no bar along the top";
    ASSERT_FALSE(icon->geometry.isEmpty()) << "the icon is not drawn in the bar";
    struct Closer
    {
        const char *name;
        std::function<void()> close;
    };
    const QPoint outside = workArea.center();
    const Closer closers[] = {
        {"Esc", [] { keys({QStringLiteral("Escape")}); }},
        {"a click outside",
            [&] {
                moveMouse(outside);
                click(1);
            }},
        {"a click on the icon",
            [&] {
                moveMouse(icon->geometry.center());
                click(1);
            }},
    };
    for (const Closer &closer : closers) {
        SCOPED_TRACE(closer.name);
        const auto menu = openTrayMenu(*icon, 1);
        ASSERT_TRUE(menu) << "icon at " << icon->geometry.x() << "," << icon->geometry.y() << " "
                          << icon->geometry.width() << "x" << icon->geometry.height() << "; "
                          << copies.front()->errorOutput().toStdString();
        EXPECT_EQ(menu->geometry.top(), workArea.top());
        EXPECT_EQ(menu->geometry.right(), workArea.right());
        EXPECT_GT(menu->geometry.height(), 50);
        const auto shields = popupShields();
        ASSERT_EQ(shields.size(), 1u);
        EXPECT_EQ(shields.front().geometry, QRect(QPoint(0, 0), workArea.bottomRight()));
        if (QLatin1String(closer.name) == QLatin1String("Esc"))
            keep(screenshot().copy(QRect(workArea.right() - 480, 0, 481, 160)),
                QStringLiteral("sway-tray-menu.png"));
        closer.close();
        EXPECT_TRUE(waitUntil([] { return popupMenus().empty() && popupShields().empty(); }, 3000));
        // Nor does a menu come back once a double-click would be over.
        QTest::qWait(QApplication::doubleClickInterval() + 300);
        EXPECT_TRUE(popupMenus().empty());
    }
    EXPECT_TRUE(copies.front()->running());
}

// A native Wayland client's menu needs a window of its own to hang from, and
// sway tiles such a window full-screen: there the bar draws the program's
// exported menu for a right press, a left press shows nothing, a double-click
// opens the settings, and the settings come forward from under another
// window, which sway grants only when asked over its own socket.
TEST_F(AppDesktopTest, UnderNativeWaylandTheBarDrawsTheMenuAndBringsTheSettingsForward)
{
    if (!nativeWaylandProgram())
        GTEST_SKIP() << "needs the sway rig with TICKWELL_TEST_PROGRAM_QPA=wayland";
    writeYearOnly(currentYear());
    TickwellProcess &program = startRunning();
    ASSERT_TRUE(icon);
    const QPoint onIcon = icon->geometry.center();
    const auto settingsWindows = [&] {
        std::vector<Window> found;
        for (const Window &window : swayWindows(program.pid())) {
            if (window.name == kSettingsCaption)
                found.push_back(window);
        }
        return found;
    };

    moveMouse(onIcon);
    click(1);
    QTest::qWait(QApplication::doubleClickInterval() + 800);
    EXPECT_TRUE(swayWindows(program.pid()).empty()) << "a left press opened a window";

    // The bar's menu: what changed on screen after a right press.
    const auto openBarMenu = [&] {
        moveMouse(onIcon);
        QTest::qWait(500);
        const QImage before = screenshot();
        click(3);
        QRect menu;
        waitUntil(
            [&] {
                menu = changedArea(before, screenshot());
                return menu.height() > 50;
            },
            3000);
        return menu;
    };
    const auto chooseBarMenuEntry = [](const QRect &menu, bool first) {
        moveMouse(QPoint(
            menu.center().x(), first ? menu.top() + menu.height() / 6 : menu.bottom() - menu.height() / 6));
        click(1);
    };
    QRect menu = openBarMenu();
    ASSERT_GT(menu.height(), 50) << "no menu for a right press";
    keep(screenshot().copy(menu.adjusted(-40, -20, 20, 20)), QStringLiteral("wayland-bar-menu.png"));
    EXPECT_LT(menu.top(), swayWorkArea().top() + 10) << "not by the bar";
    EXPECT_LT(menu.width(), 400);
    EXPECT_TRUE(swayWindows(program.pid()).empty()) << "the menu is a window of the program's";
    chooseBarMenuEntry(menu, true);
    ASSERT_TRUE(waitUntil([&] { return settingsWindows().size() == 1; }, 5000)) << "設定 opened no dialog";
    const unsigned long settings = settingsWindows().front().id;

    QDialog other;
    other.setWindowTitle(QStringLiteral("other"));
    other.setGeometry(100, 100, 1000, 600);
    for (const char *how : {"a double-click", "設定"}) {
        SCOPED_TRACE(how);
        other.show();
        other.activateWindow();
        ASSERT_TRUE(waitUntil([&] { return swayFocused() != settings; }, 3000));
        if (QLatin1String(how) == QLatin1String("設定")) {
            menu = openBarMenu();
            ASSERT_GT(menu.height(), 50);
            chooseBarMenuEntry(menu, true);
        } else {
            moveMouse(onIcon);
            click(1, 2);
        }
        EXPECT_TRUE(waitUntil([&] { return swayFocused() == settings; }, 3000)) << "the dialog stays covered";
        QTest::qWait(QApplication::doubleClickInterval() + 300);
        EXPECT_EQ(settingsWindows().size(), 1u);
        EXPECT_EQ(swayWindows(program.pid()).size(), 1u);
        other.hide();
    }

    menu = openBarMenu();
    ASSERT_GT(menu.height(), 50);
    chooseBarMenuEntry(menu, false);
    EXPECT_TRUE(program.waitForExit(8000)) << "閉じる in the bar's menu";
}

TEST_F(TrayOnDesktop, SettingsOpenOnceFromTheMenuOrADoubleClick)
{
    ASSERT_TRUE(openTrayMenu(*icon, 1));
    chooseMenuEntry(1);
    auto dialog = waitForWindow(kSettingsCaption);
    ASSERT_TRUE(dialog);

    // It carries the program's icon for the task list.
    EXPECT_TRUE(properties(dialog->id).contains(QStringLiteral("_NET_WM_ICON(CARDINAL)")));

    // While it is open the icon still answers: a press shows the menu, and
    // neither a double-click nor "設定" opens a second dialog; each brings
    // it back from under the window the user went on in.
    QWidget other;
    other.setWindowTitle(QStringLiteral("other"));
    other.setGeometry(100, 100, 1000, 600);
    const auto coverDialog = [&] {
        other.show();
        other.raise();
        other.activateWindow();
        return waitUntil(
            [&] { return activeWindow() == other.winId() && stackedAbove(other.winId(), dialog->id); }, 3000);
    };
    const auto dialogInFront = [&] {
        return waitUntil(
            [&] { return activeWindow() == dialog->id && stackedAbove(dialog->id, other.winId()); }, 3000);
    };
    ASSERT_TRUE(coverDialog());
    moveMouse(icon->geometry.center());
    click(1, 2);
    EXPECT_TRUE(dialogInFront()) << "after a double-click";
    QTest::qWait(1000);
    EXPECT_EQ(windowsNamed(kSettingsCaption).size(), 1u);
    keys({QStringLiteral("Escape")});
    ASSERT_TRUE(waitUntil([] { return popupMenus().empty(); }, 3000));
    for (int button : {1, 3}) {
        ASSERT_TRUE(coverDialog()) << "button " << button;
        ASSERT_TRUE(openTrayMenu(*icon, button)) << "no menu while the dialog is open, button " << button;
        chooseMenuEntry(1);
        EXPECT_TRUE(waitUntil([] { return popupMenus().empty(); }, 3000)) << "button " << button;
        EXPECT_TRUE(dialogInFront()) << "after 設定, button " << button;
        EXPECT_EQ(windowsNamed(kSettingsCaption).size(), 1u);
    }
    other.hide();
    cancelSettings(*dialog);

    // A double-click on its own: no menu, the dialog.
    moveMouse(icon->geometry.center());
    click(1, 2);
    dialog = waitForWindow(kSettingsCaption);
    ASSERT_TRUE(dialog);
    QTest::qWait(QApplication::doubleClickInterval() + 200); // when the first click's menu would come
    EXPECT_TRUE(popupMenus().empty());
    EXPECT_EQ(activeWindow(), dialog->id);
    cancelSettings(*dialog);

    // A StatusNotifierItem host's two Activate calls of a double-click are
    // both answered while the dialog they open stays open: a host whose call
    // times out may show the item's menu itself, and that menu's grab eats
    // the next click.
    if (sniTray()) {
        moveMouse(icon->geometry.center());
        ASSERT_TRUE(callTrayItem(QStringLiteral("Activate"), icon->geometry.center()));
        EXPECT_TRUE(callTrayItem(QStringLiteral("Activate"), icon->geometry.center()))
            << "the second Activate was not answered while the dialog is open";
        dialog = waitForWindow(kSettingsCaption);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(popupMenus().empty());
        cancelSettings(*dialog);
    }
}

// Autostart starts the program before the panel, and a panel may crash and
// start again: the icon comes each time, in the kind of tray the host is
// (a StatusNotifierItem where there is a watcher), and answers.
TEST_F(AppDesktopTest, IconComesWithALateTrayAndBackAfterItRestarts)
{
    writeYearOnly(currentYear());
    // The rig's login race leaves the host to us; otherwise it goes first.
    if (qEnvironmentVariable("TICKWELL_RIG_TRAY_LATE") != QLatin1String("1")) {
        ASSERT_TRUE(stopTrayHost());
    }
    TickwellProcess &program = startCopy();
    QTest::qWait(3000);
    ASSERT_TRUE(program.running());
    EXPECT_TRUE(trayIcons().empty());

    for (const char *when : {"after a late tray", "after the tray restarted"}) {
        SCOPED_TRACE(when);
        if (QLatin1String(when) != QLatin1String("after a late tray")) {
            ASSERT_TRUE(stopTrayHost());
            QTest::qWait(1500);
        }
        ASSERT_TRUE(startTrayHost());
        ASSERT_TRUE(waitUntil([] { return trayIcons().size() == 1; }, 8000)) << "no icon " << when;
    }
    const auto icon = trayIcons().front();
    if (nativeWaylandProgram()) {
        // No menu of the program's own there: the icon that came back
        // answers a double-click.
        moveMouse(icon.geometry.center());
        click(1, 2);
        EXPECT_TRUE(waitUntil([&] { return swayWindows(program.pid()).size() == 1; }, 5000))
            << "no settings for a double-click on the icon that came back";
        return;
    }
    // waybar draws the right-press menu itself, out of the X probes' sight.
    ASSERT_TRUE(openTrayMenu(icon, swayRig() ? 1 : 3));
    chooseMenuEntry(3);
    EXPECT_TRUE(program.waitForExit(8000)) << "閉じる on the icon that came back";
}

TEST_F(TrayOnDesktop, AboutBoxShowsTheVersionAndClosesWithEnter)
{
    ASSERT_TRUE(openTrayMenu(*icon, 3));
    chooseMenuEntry(2);
    const auto about = waitForWindow(kAboutCaption);
    ASSERT_TRUE(about);
    QTest::qWait(300);
    const QImage screen = screenshot();
    keep(screen.copy(about->geometry.adjusted(-4, -24, 4, 4)), QStringLiteral("about-box.png"));
    EXPECT_EQ(activeWindow(), about->id);

    keys({QStringLiteral("Return")});
    EXPECT_TRUE(waitUntil([] { return windowsNamed(kAboutCaption).empty(); }, 3000));
    EXPECT_EQ(trayIcons().size(), 1u);
    EXPECT_TRUE(copies.front()->running());
}

} // namespace
