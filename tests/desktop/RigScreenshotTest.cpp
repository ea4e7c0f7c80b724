// A real window with Japanese text on the rig's X display, seen from outside
// the program: mapped according to the X server, and visible on a screenshot.
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <set>

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

TEST(DesktopRig, JapaneseWindowIsMappedAndOnTheScreenshot)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under tests/desktop-session";

    QWidget window;
    window.setWindowTitle(QStringLiteral("Tickwell rig"));
    window.setStyleSheet(QStringLiteral("background: white; color: black;"));
    auto *layout = new QVBoxLayout(&window);
    auto *label = new QLabel(QStringLiteral("スケジュール設定画面"));
    QFont font(QStringLiteral("Noto Sans CJK JP"), 28);
    label->setFont(font);
    layout->addWidget(label);
    window.resize(480, 160);
    window.move(200, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300);

    // The glyphs come from a CJK font, not from boxes of a Latin fallback.
    const QFontInfo info(label->font());
    EXPECT_TRUE(info.family().contains(QStringLiteral("CJK"))) << info.family().toStdString();
    const QFontMetrics metrics(label->font());
    for (QChar c : QStringLiteral("設定画面"))
        EXPECT_TRUE(metrics.inFont(c));

    const QString xwininfo
        = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window.winId())});
    EXPECT_TRUE(xwininfo.contains(QStringLiteral("Map State: IsViewable"))) << xwininfo.toStdString();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shot = dir.filePath(QStringLiteral("shot.png"));
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
    // Set TICKWELL_SCREENSHOT_DIR to keep the screenshot for a look.
    const QString keep = qEnvironmentVariable("TICKWELL_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        QFile::copy(shot, QDir(keep).filePath(QStringLiteral("rig-window.png")));
    QImage image(shot);
    ASSERT_FALSE(image.isNull()) << "no screenshot";
    EXPECT_EQ(image.size(), QSize(1280, 800));

    // Inside the label there must be both background and text pixels.
    const QRect area(label->mapToGlobal(QPoint(0, 0)), label->size());
    ASSERT_TRUE(image.rect().contains(area));
    int dark = 0;
    int light = 0;
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            colours.insert(p);
            const int grey = qGray(p);
            dark += grey < 80 ? 1 : 0;
            light += grey > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 500) << "no text drawn";
    EXPECT_GT(light, area.width() * area.height() / 2) << "no window background";
    EXPECT_GT(colours.size(), 10u) << "anti-aliased glyph edges expected";
}

} // namespace
