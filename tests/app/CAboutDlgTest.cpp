#include "CAboutDlg.h"
#include "DialogFit.h"
#include "DialogUnits.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QRect dialogUnits(const CAboutDlg &dialog, int x, int y, int width, int height)
{
    return DialogUnits(dialog.font()).toPixels(QRect(x, y, width, height));
}

TEST(CAboutDlg, TemplateHundredWithItsTextsInPlace)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tickwellのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(dialog.size(), DialogUnits(dialog.font()).toPixels(QSize(250, 55)));
    EXPECT_TRUE(dialog.isModal());

    const auto *version = dialog.findChild<QLabel *>(QStringLiteral("versionLabel"));
    const auto *notice = dialog.findChild<QLabel *>(QStringLiteral("noticeLabel"));
    const auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okButton"));
    const auto *icon = dialog.findChild<QLabel *>(QStringLiteral("aboutIcon"));
    ASSERT_TRUE(version && notice && ok && icon);
    EXPECT_EQ(version->text(), QStringLiteral("Tickwell Version 1.03"));
    EXPECT_EQ(version->geometry(), dialogUnits(dialog, 40, 10, 119, 8));
    EXPECT_EQ(notice->geometry(), dialogUnits(dialog, 51, 27, 153, 8));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->geometry(), dialogUnits(dialog, 193, 7, 50, 14));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(icon->pos(), dialogUnits(dialog, 11, 17, 20, 20).topLeft());
    ASSERT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(icon->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));

    // Each line fits its place in the dialog's font, on one line.
    for (const QLabel *label : {version, notice}) {
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
        EXPECT_FALSE(label->wordWrap());
    }
}

TEST(CAboutDlg, OkEnterAndEscCloseIt)
{
    for (const char *way : {"click", "enter", "esc"}) {
        SCOPED_TRACE(way);
        CAboutDlg dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy finished(&dialog, &QDialog::finished);
        if (QByteArray(way) == "click")
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
        else
            QTest::keyClick(&dialog, QByteArray(way) == "enter" ? Qt::Key_Return : Qt::Key_Escape);
        EXPECT_EQ(finished.count(), 1);
        EXPECT_FALSE(dialog.isVisible());
    }
}

// Run once per Japanese font by the test after it.
TEST(CAboutDlg, ReadsWholeUnderTheOneJapaneseFont)
{
    const QString family = DialogFit::onlyJapaneseFamily();
    if (family.isEmpty())
        GTEST_SKIP() << "run by CAboutDlg.ReadsWholeUnderEachJapaneseFont";
    CAboutDlg dialog;
    EXPECT_TRUE(DialogFit::isTheOneJapaneseFamily(dialog.font()))
        << DialogFit::japaneseFamily(dialog.font()).toStdString();
    const QStringList faults = DialogFit::faults(dialog);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

TEST(CAboutDlg, ReadsWholeUnderEachJapaneseFont)
{
    DialogFit::expectPassesUnderEachJapaneseFont("CAboutDlg.ReadsWholeUnderTheOneJapaneseFont");
}

} // namespace
