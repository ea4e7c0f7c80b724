// Notice windows on a real X display, seen from outside the program: the
// window manager's stacking, the window's properties and a screenshot.
#include "CNoticeDlg.h"
#include "DialogFit.h"
#include "NoticeWindowPresenter.h"
#include "NoticeWindows.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Client windows from bottom to top, as the window manager stacks them.
std::vector<WId> stacking()
{
    const QString out = run(
        QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    std::vector<WId> windows;
    const qsizetype hash = out.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return windows;
    for (const QString &id : out.mid(hash + 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const WId window = id.trimmed().toULongLong(&ok, 16);
        if (ok)
            windows.push_back(window);
    }
    return windows;
}

int stackPosition(const std::vector<WId> &order, const QWidget *window)
{
    const auto it = std::find(order.begin(), order.end(), window->winId());
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

// The part of the rectangle (global coordinates) drawn in the given colour.
double shareOfColour(const QImage &screen, const QRect &area, QRgb colour)
{
    const QRect inside = area.intersected(screen.rect());
    if (inside.isEmpty())
        return 0.0;
    int count = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += (screen.pixel(x, y) & 0xffffff) == (colour & 0xffffff) ? 1 : 0;
    }
    return static_cast<double>(count) / (inside.width() * inside.height());
}

// The rectangle shrunk until no edge is mostly the given colour: the window
// manager's frame may be narrower than Qt assumes.
QRect withoutColourEdges(const QImage &screen, QRect area, QRgb colour)
{
    const auto mostly = [&](const QRect &line) { return shareOfColour(screen, line, colour) > 0.5; };
    while (area.width() > 2 && mostly(QRect(area.left(), area.top(), 1, area.height())))
        area.setLeft(area.left() + 1);
    while (area.width() > 2 && mostly(QRect(area.right(), area.top(), 1, area.height())))
        area.setRight(area.right() - 1);
    while (area.height() > 2 && mostly(QRect(area.left(), area.top(), area.width(), 1)))
        area.setTop(area.top() + 1);
    while (area.height() > 2 && mostly(QRect(area.left(), area.bottom(), area.width(), 1)))
        area.setBottom(area.bottom() - 1);
    return area;
}

CNoticeDlg *newestNotice(const std::vector<CNoticeDlg *> &before)
{
    for (CNoticeDlg *notice : openNotices()) {
        if (std::find(before.begin(), before.end(), notice) == before.end())
            return notice;
    }
    return nullptr;
}

TEST(NoticeOnDesktop, StaysAboveTheWindowWithTheFocusAndLaterNoticesAboveEarlier)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under tests/desktop-session";

    // The hidden main frame owns the notices, as in the program.
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Tickwell"));
    NoticeWindowPresenter presenter(&frame);

    // An ordinary window of another kind, solid magenta, covering the place
    // where the notices go.
    const QRgb magenta = qRgb(255, 0, 255);
    QWidget other;
    other.setWindowTitle(QStringLiteral("other"));
    other.setStyleSheet(QStringLiteral("background: #ff00ff;"));
    other.setGeometry(100, 100, 800, 500);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));

    presenter.ShowNotice(QStringLiteral("一つ目のお知らせ"));
    QPointer<CNoticeDlg> first = newestNotice({});
    ASSERT_TRUE(first);
    first->move(200, 200);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first));

    // The user goes back to the other window: it takes the focus and is
    // raised, and still the notice stays above it.
    other.raise();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::qWait(300);

    // More lines than the box shows at once.
    presenter.ShowNotice(
        QStringLiteral("10:00 定例会議の時間です。\r\n資料を持って第2会議室へ移動してください。\r\n"
                       "議題: 来期の予算 (Budget)\r\n議事録係: 田中\r\n終了予定: 11:30"));
    QPointer<CNoticeDlg> second = newestNotice({first.data()});
    ASSERT_TRUE(second);
    second->move(560, 400);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second));
    QTest::qWait(700); // enabled, and drawn as such

    const std::vector<WId> order = stacking();
    const int otherAt = stackPosition(order, &other);
    const int firstAt = stackPosition(order, first);
    const int secondAt = stackPosition(order, second);
    ASSERT_GE(otherAt, 0);
    EXPECT_GT(firstAt, otherAt) << "the notice went below the focused window";
    EXPECT_GT(secondAt, firstAt) << "a later notice belongs above an earlier one";

    const QString properties
        = run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(first->winId())});
    EXPECT_TRUE(properties.contains(QStringLiteral("_NET_WM_STATE_ABOVE"))) << properties.toStdString();
    EXPECT_TRUE(properties.contains(QStringLiteral("_NET_WM_WINDOW_TYPE_DIALOG")));
    EXPECT_TRUE(properties.contains(QStringLiteral("WM_TRANSIENT_FOR")))
        << "a window of its own on the taskbar";
    // Whole lines on a real display too.
    const QStringList faults = DialogFit::faults(*second);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shot = dir.filePath(QStringLiteral("screen.png"));
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
    const QImage screen(shot);
    ASSERT_FALSE(screen.isNull()) << "no screenshot";
    EXPECT_LT(shareOfColour(screen, first->frameGeometry().adjusted(2, 2, -2, -2), magenta), 0.01);
    EXPECT_LT(shareOfColour(screen, second->frameGeometry().adjusted(2, 2, -2, -2), magenta), 0.01);
    EXPECT_GT(shareOfColour(screen, QRect(110, 110, 60, 60), magenta), 0.9)
        << "the other window is not on screen";

    // Set TICKWELL_SCREENSHOT_DIR to keep the newest notice for a look.
    const QString keep = qEnvironmentVariable("TICKWELL_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        screen.copy(withoutColourEdges(screen, second->frameGeometry(), magenta))
            .save(QDir(keep).filePath(QStringLiteral("notice-window.png")));

    delete second;
    delete first;
}

} // namespace
