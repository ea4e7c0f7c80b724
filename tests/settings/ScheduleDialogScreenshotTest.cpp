// The settings dialog on the rig's X display, on each rule page: every text
// fits its control and the window is drawn. TICKWELL_SCREENSHOT_DIR keeps
// the screenshots for a look.
#include "SettingsDialogFixture.h"
#include "WrappingCheckBox.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Whether the text of a control would be cut off.
bool clipped(const QWidget &widget)
{
    const QFontMetrics metrics(widget.font());
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return label->heightForWidth(label->width()) > label->height();
    if (const auto *box = qobject_cast<const WrappingCheckBox *>(&widget)) {
        const QRect area(0, 0, box->width() - box->iconSize().width() - 8, 1000);
        return metrics.boundingRect(area, Qt::TextWordWrap, box->text()).height() > box->height();
    }
    if (const auto *button = qobject_cast<const QPushButton *>(&widget))
        return metrics.horizontalAdvance(button->text()) > button->width() - 4;
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->sizeHint().width() > button->width() || metrics.height() > button->height();
    return false;
}

TEST_F(SettingsDialogTest, EachRulePageIsReadableOnTheDesktop)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under tests/desktop-session";
    enableFirst();
    ScheduleEntry &weekly = m_doc.schedules[0];
    weekly.Mon = weekly.FRI = 1;
    weekly.htime = 9;
    weekly.mtime = 30;
    weekly.msg = QStringLiteral("朝会の資料を印刷する");
    weekly.sound = 2;
    weekly.waveFilePath = QStringLiteral("/home/user/サウンド/チャイム.wav");
    ScheduleEntry &monthly = m_doc.schedules[2];
    monthly.valid = monthly.kind = monthly.bAfterAction = 1;
    monthly.htime = 17;
    monthly.dayOfMonth = 25;
    monthly.msg = QStringLiteral("経費精算の締め切り");
    ScheduleEntry &once = m_doc.schedules[4];
    once.valid = 1;
    once.kind = 2;
    once.htime = 14;
    once.OnceActionDay = 20;
    once.msg = QStringLiteral("歯医者の予約");
    once.sound = 0;
    m_dialog->move(80, 40);
    open();

    QTemporaryDir folder;
    const QString shot = folder.filePath(QStringLiteral("shot.png"));
    const QString keep = qEnvironmentVariable("TICKWELL_SCREENSHOT_DIR");
    for (const auto &[page, tab] : {std::pair{"weekly", 0}, std::pair{"monthly", 2}, std::pair{"once", 4}}) {
        clickTab(tab);
        QTest::qWait(300);
        for (const QWidget *child : m_dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible()) {
                EXPECT_FALSE(clipped(*child)) << page << ": " << child->objectName().toStdString();
            }
        }
        QProcess::execute(
            QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        const QImage window = QImage(shot).copy(m_dialog->frameGeometry());
        ASSERT_EQ(window.size(), m_dialog->frameGeometry().size()) << "no screenshot";
        if (!keep.isEmpty())
            window.save(QDir(keep).filePath(QStringLiteral("settings-dialog-%1.png").arg(page)));
        // The summary line is drawn: dark text on the light dialog face.
        const QWidget *summary = edit("summaryEdit");
        const QRect area(
            summary->mapToGlobal(QPoint(0, 0)) - m_dialog->frameGeometry().topLeft(), summary->size());
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(window.pixel(x, y)) < 100 ? 1 : 0;
        }
        EXPECT_GT(dark, 50) << page << ": summary not drawn";
    }
    EXPECT_TRUE(m_messages.texts.empty());
}

} // namespace
