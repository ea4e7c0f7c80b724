#include "DesktopProbe.h"
#include "TickwellProcess.h"

#include <algorithm>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace DesktopProbe {

namespace {

// xwininfo, as xdotool's getwindowgeometry counts the window manager's frame
// twice for a framed window.
QRect geometryOf(unsigned long id)
{
    const QString out = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)});
    int values[4] = {0, 0, 0, 0};
    const char *names[4] = {"Absolute upper-left X:", "Absolute upper-left Y:", "Width:", "Height:"};
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        for (int i = 0; i < 4; ++i) {
            if (trimmed.startsWith(QLatin1String(names[i])))
                values[i] = trimmed.mid(static_cast<int>(qstrlen(names[i]))).trimmed().toInt();
        }
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

std::vector<Window> search(const QStringList &arguments)
{
    std::vector<Window> windows;
    const QString out = run(QStringLiteral("xdotool"), QStringList{QStringLiteral("search")} + arguments);
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        Window window;
        window.id = line.trimmed().toULong();
        if (window.id == 0)
            continue;
        window.name
            = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), QString::number(window.id)})
                  .trimmed();
        window.geometry = geometryOf(window.id);
        windows.push_back(window);
    }
    return windows;
}

bool overrideRedirect(unsigned long id)
{
    const QString out = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)});
    return out.contains(QStringLiteral("Override Redirect State: yes"));
}

QRect trayArea()
{
    const std::vector<Window> trayer
        = search({QStringLiteral("--onlyvisible"), QStringLiteral("--class"), QStringLiteral("trayer")});
    QRect area;
    for (const Window &window : trayer)
        area |= window.geometry;
    return area;
}

// The items registered with the StatusNotifierWatcher, as "service/path".
QStringList registeredItems()
{
    const QString out = run(QStringLiteral("dbus-send"),
        {QStringLiteral("--session"), QStringLiteral("--print-reply"),
            QStringLiteral("--dest=org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Properties.Get"),
            QStringLiteral("string:org.kde.StatusNotifierWatcher"),
            QStringLiteral("string:RegisteredStatusNotifierItems")});
    QStringList items;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("string \"")))
            items << trimmed.mid(8).chopped(1);
    }
    return items;
}

const QString kShieldName = QStringLiteral("popupShield");

// Where a panel draws the item: what differs from the panel's own
// background in the panel's right half.
QRect iconAreaIn(const QRect &panel)
{
    const QImage screen = screenshot();
    if (screen.isNull() || panel.height() < 4)
        return {};
    const QRgb background = screen.pixel(panel.left() + 2, panel.center().y());
    QRect area;
    for (int y = panel.top() + 1; y < panel.bottom() - 1; ++y) {
        for (int x = panel.center().x(); x <= panel.right(); ++x) {
            if (screen.pixel(x, y) != background)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QRect panelIconArea()
{
    const std::vector<Window> panels
        = search({QStringLiteral("--onlyvisible"), QStringLiteral("--class"), QStringLiteral("xfce4-panel")});
    return panels.empty() ? QRect() : iconAreaIn(panels.front().geometry);
}

// waybar along the top: the strip above the work area.
QRect waybarIconArea()
{
    const QRect area = swayWorkArea();
    return area.top() > 0 ? iconAreaIn(QRect(area.left(), 0, area.width(), area.top())) : QRect();
}

void swaymsg(const QStringList &arguments)
{
    run(QStringLiteral("swaymsg"), arguments);
}

} // namespace

bool swayRig()
{
    return qEnvironmentVariable("TICKWELL_RIG_COMPOSITOR") == QLatin1String("sway");
}

bool nativeWaylandProgram()
{
    return swayRig() && qEnvironmentVariable("TICKWELL_TEST_PROGRAM_QPA") == QLatin1String("wayland");
}

namespace {

void collectSwayWindows(
    const QJsonObject &node, qint64 pid, std::vector<Window> &windows, unsigned long &focused)
{
    if (node.value(QStringLiteral("focused")).toBool())
        focused = static_cast<unsigned long>(node.value(QStringLiteral("id")).toInteger());
    if (node.value(QStringLiteral("pid")).toInteger() == pid && pid > 0) {
        const QJsonObject rect = node.value(QStringLiteral("rect")).toObject();
        windows.push_back({static_cast<unsigned long>(node.value(QStringLiteral("id")).toInteger()),
            node.value(QStringLiteral("name")).toString(),
            QRect(rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
                rect.value(QStringLiteral("width")).toInt(), rect.value(QStringLiteral("height")).toInt())});
    }
    for (const char *children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue &child : node.value(QLatin1String(children)).toArray())
            collectSwayWindows(child.toObject(), pid, windows, focused);
    }
}

unsigned long swayTree(qint64 pid, std::vector<Window> &windows)
{
    unsigned long focused = 0;
    const QJsonObject tree = QJsonDocument::fromJson(
        run(QStringLiteral("swaymsg"),
            {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_tree")})
            .toUtf8())
                                 .object();
    collectSwayWindows(tree, pid, windows, focused);
    return focused;
}

} // namespace

std::vector<Window> swayWindows(qint64 pid)
{
    std::vector<Window> windows;
    swayTree(pid, windows);
    return windows;
}

unsigned long swayFocused()
{
    std::vector<Window> none;
    return swayTree(0, none);
}

QRect swayWorkArea()
{
    const QJsonArray workspaces = QJsonDocument::fromJson(
        run(QStringLiteral("swaymsg"),
            {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_workspaces")})
            .toUtf8())
                                      .array();
    for (const QJsonValue &workspace : workspaces) {
        const QJsonObject object = workspace.toObject();
        if (!object.value(QStringLiteral("focused")).toBool())
            continue;
        const QJsonObject rect = object.value(QStringLiteral("rect")).toObject();
        return QRect(rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
            rect.value(QStringLiteral("width")).toInt(), rect.value(QStringLiteral("height")).toInt());
    }
    return {};
}

bool sniTray()
{
    return qEnvironmentVariable("TICKWELL_RIG_TRAY") == QLatin1String("sni");
}

namespace {

// The rig's own command for it, whose words hold no blanks.
QStringList trayHostCommand()
{
    return qEnvironmentVariable("TICKWELL_RIG_TRAY_COMMAND").split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The name of the tray host's process.
QString trayHostProcess()
{
    return qEnvironmentVariable("TICKWELL_RIG_TRAY_PROCESS");
}

bool trayHostRunning()
{
    if (trayHostProcess().isEmpty())
        return false;
    QProcess pgrep;
    pgrep.start(QStringLiteral("pgrep"), {QStringLiteral("-x"), trayHostProcess()});
    pgrep.waitForFinished(5000);
    return pgrep.exitCode() == 0;
}

} // namespace

bool stopTrayHost()
{
    if (trayHostProcess().isEmpty())
        return false;
    run(QStringLiteral("pkill"), {QStringLiteral("-KILL"), QStringLiteral("-x"), trayHostProcess()});
    return waitUntil([] { return !trayHostRunning(); }, 5000);
}

bool startTrayHost()
{
    QStringList command = trayHostCommand();
    if (command.isEmpty())
        return false;
    QProcess host;
    host.setProgram(command.takeFirst());
    host.setArguments(command);
    host.setStandardOutputFile(QProcess::nullDevice());
    host.setStandardErrorFile(QProcess::nullDevice());
    return host.startDetached() && waitUntil(trayHostRunning, 5000);
}

std::size_t idleWindowCount()
{
    return sniTray() ? 0 : 1;
}

bool callTrayItem(const QString &method, const QPoint &point)
{
    const QStringList items = registeredItems();
    if (items.size() != 1)
        return false;
    const QString item = items.front();
    const qsizetype slash = item.indexOf(QLatin1Char('/'));
    QProcess call;
    call.start(QStringLiteral("dbus-send"),
        {QStringLiteral("--session"), QStringLiteral("--print-reply"),
            QStringLiteral("--dest=") + item.left(slash), item.mid(slash),
            QStringLiteral("org.kde.StatusNotifierItem.") + method, QStringLiteral("int32:%1").arg(point.x()),
            QStringLiteral("int32:%1").arg(point.y())});
    return call.waitForFinished(10000) && call.exitStatus() == QProcess::NormalExit && call.exitCode() == 0;
}

QString run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

std::vector<Window> programWindows(const QString &windowClass)
{
    return search({QStringLiteral("--onlyvisible"), QStringLiteral("--class"), windowClass});
}

std::vector<Window> windowsNamed(const QString &name)
{
    std::vector<Window> named;
    for (const Window &window : programWindows()) {
        if (window.name == name)
            named.push_back(window);
    }
    return named;
}

std::vector<Window> trayIcons()
{
    if (sniTray()) {
        std::vector<Window> items(static_cast<std::size_t>(registeredItems().size()));
        if (items.size() == 1)
            items.front().geometry = swayRig() ? waybarIconArea() : panelIconArea();
        // waybar draws an item a moment after it registered.
        if (swayRig() && items.size() == 1 && items.front().geometry.isEmpty())
            items.clear();
        return items;
    }
    const QRect tray = trayArea();
    std::vector<Window> icons;
    for (const Window &window : programWindows()) {
        if (!tray.isEmpty() && tray.contains(window.geometry) && window.geometry.width() <= 64)
            icons.push_back(window);
    }
    return icons;
}

std::vector<Window> popupMenus()
{
    const QRect tray = trayArea();
    std::vector<Window> menus;
    for (const Window &window : programWindows()) {
        if (!tray.contains(window.geometry) && window.name != kShieldName && overrideRedirect(window.id))
            menus.push_back(window);
    }
    if (sniTray()) {
        // The panel's plugin keeps a tiny one off screen, and shows the
        // item's tooltip while the pointer rests on the icon.
        for (const Window &window : programWindows(QStringLiteral("wrapper-2.0"))) {
            if (window.geometry.width() > 20 && overrideRedirect(window.id)
                && !properties(window.id).contains(QStringLiteral("_NET_WM_WINDOW_TYPE_TOOLTIP")))
                menus.push_back(window);
        }
    }
    return menus;
}

std::vector<Window> popupShields()
{
    return windowsNamed(kShieldName);
}

unsigned long activeWindow()
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed().toULong();
}

std::vector<unsigned long> stacking()
{
    const QString out = run(
        QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    std::vector<unsigned long> windows;
    const qsizetype hash = out.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return windows;
    for (const QString &id : out.mid(hash + 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const unsigned long window = id.trimmed().toULong(&ok, 16);
        if (ok)
            windows.push_back(window);
    }
    return windows;
}

bool stackedAbove(unsigned long upper, unsigned long lower)
{
    const auto order = stacking();
    const auto up = std::find(order.begin(), order.end(), upper);
    const auto low = std::find(order.begin(), order.end(), lower);
    return up != order.end() && low != order.end() && up > low;
}

QString properties(unsigned long window)
{
    return run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window)});
}

void moveMouse(const QPoint &point)
{
    if (swayRig()) {
        swaymsg({QStringLiteral("seat"), QStringLiteral("-"), QStringLiteral("cursor"), QStringLiteral("set"),
            QString::number(point.x()), QString::number(point.y())});
        return;
    }
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())});
}

void click(int button, int repeat)
{
    if (swayRig()) {
        const QString name = QStringLiteral("button%1").arg(button);
        for (int i = 0; i < repeat; ++i) {
            for (const QString &action : {QStringLiteral("press"), QStringLiteral("release")}) {
                swaymsg(
                    {QStringLiteral("seat"), QStringLiteral("-"), QStringLiteral("cursor"), action, name});
                QTest::qWait(40);
            }
        }
        return;
    }
    run(QStringLiteral("xdotool"),
        {QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
            QStringLiteral("--delay"), QStringLiteral("80"), QString::number(button)});
}

void keys(const QStringList &keys)
{
    if (swayRig()) {
        QStringList arguments;
        for (const QString &key : keys)
            arguments << QStringLiteral("-s") << QStringLiteral("60") << QStringLiteral("-k") << key;
        run(QStringLiteral("wtype"), arguments);
        return;
    }
    run(QStringLiteral("xdotool"),
        QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")} + keys);
}

QPoint dialogPoint(const Window &dialog, const QSize &templateSize, const QRect &place)
{
    const QPointF centre = QRectF(place).center();
    return dialog.geometry.topLeft()
        + QPoint(qRound(centre.x() * dialog.geometry.width() / templateSize.width()),
            qRound(centre.y() * dialog.geometry.height() / templateSize.height()));
}

QImage screenshot()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("screen.png"));
    if (swayRig())
        run(QStringLiteral("grim"), {path});
    else
        run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    return QImage(path);
}

void keep(const QImage &image, const QString &fileName)
{
    const QString folder = qEnvironmentVariable("TICKWELL_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        image.save(QDir(folder).filePath(fileName));
}

} // namespace DesktopProbe
