// The settings dialog on a real X display, one screenshot per rule page:
// every text of the page must fit its control, and the window must be on
// the screen. TICKWELL_SCREENSHOT_DIR keeps the screenshots for a look.
#include "SettingsDialogFixture.h"

#include "WrappingCheckBox.h"

#include <QAbstractButton>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Why the text of a visible control would be cut off, or nothing.
QString clipping(const QWidget &widget)
{
    const QFontMetrics metrics(widget.font());
    const QString name = widget.objectName();
    if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        if (label->heightForWidth(label->width()) > label->height())
            return name + QStringLiteral(": wrapped text taller than the label");
        return {};
    }
    if (const auto *box = qobject_cast<const WrappingCheckBox *>(&widget)) {
        const QRect lines = metrics.boundingRect(
            QRect(0, 0, box->width() - box->iconSize().width() - 8, 1000), Qt::TextWordWrap, box->text());
        if (lines.height() > box->height())
            return name + QStringLiteral(": wrapped text taller than the check box");
        return {};
    }
    if (qobject_cast<const QPushButton *>(&widget)) {
        const auto &button = static_cast<const QPushButton &>(widget);
        if (metrics.horizontalAdvance(button.text()) > button.width() - 4)
            return name + QStringLiteral(": text wider than the button");
        return {};
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget)) {
        if (button->sizeHint().width() > button->width())
            return name + QStringLiteral(": text wider than the button");
        if (metrics.height() > button->height())
            return name + QStringLiteral(": text taller than the button");
    }
    return {};
}

TEST_F(SettingsDialogTest, EachRulePageIsReadableOnTheDesktop)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under tests/desktop-session";
    ScheduleEntry &weekly = m_doc.schedules[0];
    weekly.valid = 1;
    weekly.Mon = weekly.WED = weekly.FRI = 1;
    weekly.htime = 9;
    weekly.mtime = 30;
    weekly.msg = QStringLiteral("朝会の資料を印刷する");
    weekly.sound = 2;
    weekly.waveFilePath = QStringLiteral("/home/user/サウンド/チャイム.wav");
    ScheduleEntry &monthly = m_doc.schedules[2];
    monthly.valid = 1;
    monthly.kind = 1;
    monthly.dayOfMonth = 25;
    monthly.htime = 17;
    monthly.msg = QStringLiteral("経費精算の締め切り");
    monthly.bAfterAction = 1;
    ScheduleEntry &once = m_doc.schedules[4];
    once.valid = 1;
    once.kind = 2;
    once.OnceActionYear = 2026;
    once.OnceActionMonth = 4;
    once.OnceActionDay = 20;
    once.htime = 14;
    once.msg = QStringLiteral("歯医者の予約");
    once.sound = 0;
    m_dialog->move(80, 40);
    open();
    QTest::qWait(300);

    const QString xwininfo
        = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(m_dialog->winId())});
    EXPECT_TRUE(xwininfo.contains(QStringLiteral("Map State: IsViewable"))) << xwininfo.toStdString();

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString keep = qEnvironmentVariable("TICKWELL_SCREENSHOT_DIR");
    struct Page
    {
        const char *name;
        int tab;
    };
    for (const Page &page : {Page{"weekly", 0}, Page{"monthly", 2}, Page{"once", 4}}) {
        SCOPED_TRACE(page.name);
        clickTab(page.tab);
        QTest::qWait(300);
        EXPECT_TRUE(m_messages.texts.empty());
        for (const QWidget *child : m_dialog->findChildren<QWidget *>()) {
            if (child->isVisible() && child->parentWidget() == m_dialog.get()) {
                EXPECT_EQ(clipping(*child), QString());
            }
        }

        const QString shot = folder.filePath(QStringLiteral("shot.png"));
        run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        QImage screen(shot);
        ASSERT_FALSE(screen.isNull()) << "no screenshot";
        const QRect frame = m_dialog->frameGeometry();
        ASSERT_TRUE(screen.rect().contains(frame));
        const QImage window = screen.copy(frame);
        if (!keep.isEmpty())
            window.save(QDir(keep).filePath(QStringLiteral("settings-dialog-%1.png").arg(page.name)));

        // The summary line is drawn: dark text on a light background.
        const QWidget *summary = edit("summaryEdit");
        const QRect area(summary->mapToGlobal(QPoint(0, 0)) - frame.topLeft(), summary->size());
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(window.pixel(x, y)) < 100 ? 1 : 0;
        }
        EXPECT_GT(dark, 50) << "summary not drawn";
    }
}

} // namespace
