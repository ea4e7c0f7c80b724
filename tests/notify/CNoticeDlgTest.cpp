#include "CNoticeDlg.h"
#include "DialogFit.h"
#include "DialogUnits.h"
#include "NoticeWindowPresenter.h"
#include "NoticeWindows.h"
#include "ShowNotice.h"

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <functional>
#include <tuple>

#include <gtest/gtest.h>

namespace {

class NoticeWindow : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (CNoticeDlg *notice : openNotices())
            delete notice;
    }

    // With preparedAheadMs, the window is got ready (with another text) that
    // long before it is shown, as the monitor does a minute ahead.
    static CNoticeDlg *showOne(const QString &text, int preparedAheadMs = -1)
    {
        const auto before = openNotices();
        CNoticeDlg *prepared = nullptr;
        if (preparedAheadMs >= 0) {
            prepared = PrepareNotice(QStringLiteral("前もって用意した文"));
            QTest::qWait(preparedAheadMs);
            EXPECT_FALSE(prepared->isVisible());
        }
        ShowNotice(text, nullptr, prepared);
        CNoticeDlg *added = nullptr;
        for (CNoticeDlg *notice : openNotices()) {
            if (std::find(before.begin(), before.end(), notice) == before.end()) {
                EXPECT_EQ(added, nullptr) << "more than one new window";
                added = notice;
            }
        }
        EXPECT_NE(added, nullptr) << "no new window";
        return added;
    }

    static bool waitUntilEnabled(CNoticeDlg *notice)
    {
        return QTest::qWaitFor([&] { return notice->isEnabled(); }, 2000);
    }
};

TEST_F(NoticeWindow, IsASmallFixedDialogSizedByItsFont)
{
    CNoticeDlg *notice = showOne(QStringLiteral("本日の会議"));
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->windowTitle(), QStringLiteral("Tickwell"));
    EXPECT_TRUE(notice->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(notice->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(QFontInfo(notice->font()).family(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(notice->size(), DialogUnits(notice->font()).toPixels(QSize(214, 74)));
    EXPECT_EQ(notice->minimumSize(), notice->maximumSize()) << "a modal frame does not resize";

    auto *ok = notice->findChild<QPushButton *>(QStringLiteral("noticeOk"));
    auto *cancel = notice->findChild<QPushButton *>(QStringLiteral("noticeCancel"));
    auto *text = notice->findChild<QPlainTextEdit *>(QStringLiteral("noticeText"));
    ASSERT_TRUE(ok && cancel && text);
    EXPECT_TRUE(ok->isVisible());
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isVisible());
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("本日の会議"));
    EXPECT_TRUE(notice->rect().contains(ok->geometry()));
    EXPECT_TRUE(notice->rect().contains(text->geometry()));
    EXPECT_LT(text->geometry().bottom(), ok->geometry().top());
}

// How the user can try to dismiss a notice window.
struct Dismissal
{
    const char *name;
    std::function<void(CNoticeDlg *)> act;
};

void PrintTo(const Dismissal &dismissal, std::ostream *out)
{
    *out << dismissal.name;
}

void pressKey(CNoticeDlg *notice, Qt::Key key)
{
    QWidget *target = notice->focusWidget() ? notice->focusWidget() : notice;
    QTest::keyClick(target, key);
}

const Dismissal kDismissals[] = {
    {"OkButton",
        [](CNoticeDlg *n) {
            QTest::mouseClick(n->findChild<QPushButton *>(QStringLiteral("noticeOk")), Qt::LeftButton);
        }},
    {"Enter", [](CNoticeDlg *n) { pressKey(n, Qt::Key_Return); }},
    {"EnterInTheText",
        [](CNoticeDlg *n) {
            auto *text = n->findChild<QPlainTextEdit *>(QStringLiteral("noticeText"));
            if (text->isEnabled())
                text->setFocus();
            QTest::keyClick(text, Qt::Key_Return);
        }},
    {"KeypadEnter", [](CNoticeDlg *n) { pressKey(n, Qt::Key_Enter); }},
    {"Escape", [](CNoticeDlg *n) { pressKey(n, Qt::Key_Escape); }},
    {"CloseBox", [](CNoticeDlg *n) { n->close(); }},
};

// Each dismissal, on a window built when it is shown and on one got ready
// longer than the half second ahead: its half second starts when it shows.
class NoticeDismissal
    : public NoticeWindow
    , public ::testing::WithParamInterface<std::tuple<Dismissal, bool>>
{
protected:
    static const Dismissal &dismissal() { return std::get<0>(GetParam()); }
};

TEST_P(NoticeDismissal, IsIgnoredForHalfASecondThenClosesAndDeletesTheWindow)
{
    const bool prepared = std::get<1>(GetParam());
    QPointer<CNoticeDlg> notice = showOne(QStringLiteral("会議の時間です"), prepared ? 600 : -1);
    ASSERT_TRUE(notice);
    EXPECT_FALSE(notice->isEnabled());
    EXPECT_EQ(notice->findChild<QPlainTextEdit *>()->toPlainText(), QStringLiteral("会議の時間です"));

    dismissal().act(notice);
    QTest::qWait(300); // still inside the first 500 ms: the timer cannot have run
    flushDeletions();
    ASSERT_TRUE(notice) << "dismissed while it was to ignore input";
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(notice->isEnabled());

    ASSERT_TRUE(waitUntilEnabled(notice));
    dismissal().act(notice);
    QTest::qWait(10);
    flushDeletions();
    EXPECT_FALSE(notice) << "still there after " << dismissal().name;
}

INSTANTIATE_TEST_SUITE_P(Notice, NoticeDismissal,
    ::testing::Combine(::testing::ValuesIn(kDismissals), ::testing::Bool()), [](const auto &info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "Prepared" : "");
    });

// A key held down since before the window took input (typing elsewhere, or
// Return held on the message box that came first) repeats into the window
// once it is enabled, or is let go there: neither dismisses the message. A
// press of its own after that does.
TEST_F(NoticeWindow, OnlyAKeyPressedAfterTheHalfSecondDismisses)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        QPointer<CNoticeDlg> notice = showOne(QStringLiteral("押しっぱなし"));
        ASSERT_TRUE(waitUntilEnabled(notice));
        QWidget *target = notice->focusWidget() ? notice->focusWidget() : notice.data();
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
        for (int i = 0; i < 3; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, text, true);
            QApplication::sendEvent(target, &repeat);
        }
        // X's auto-repeat: a release and a press at the same moment, the
        // press not always flagged as a repeat; and a lone press the moment
        // the window took input, its release gone to the disabled window.
        const quint64 now = 1000000;
        QKeyEvent pairRelease(QEvent::KeyRelease, key, Qt::NoModifier, 0, 0, 0, text, false, 1);
        pairRelease.setTimestamp(now);
        QApplication::sendEvent(target, &pairRelease);
        QKeyEvent pairPress(QEvent::KeyPress, key, Qt::NoModifier, 0, 0, 0, text, false, 1);
        pairPress.setTimestamp(now);
        QApplication::sendEvent(target, &pairPress);
        QKeyEvent lonePress(QEvent::KeyPress, key, Qt::NoModifier, 0, 0, 0, text, false, 1);
        lonePress.setTimestamp(now + 500);
        QApplication::sendEvent(target, &lonePress);
        QKeyEvent releaseOnly(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &releaseOnly);
        QTest::qWait(10);
        flushDeletions();
        ASSERT_TRUE(notice) << "a key pressed before the window took input dismissed it";
        QTest::qWait(80);

        QTest::keyClick(target, key);
        QTest::qWait(10);
        flushDeletions();
        EXPECT_FALSE(notice) << "a fresh press did not dismiss it";
        delete notice.data();
    }
}

TEST_F(NoticeWindow, WindowsAreIndependent)
{
    QPointer<CNoticeDlg> first = showOne(QStringLiteral("一つ目"));
    QPointer<CNoticeDlg> second = showOne(QStringLiteral("二つ目"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->findChild<QPlainTextEdit *>()->toPlainText(), QStringLiteral("一つ目"));
    EXPECT_EQ(second->findChild<QPlainTextEdit *>()->toPlainText(), QStringLiteral("二つ目"));

    ASSERT_TRUE(waitUntilEnabled(first));
    first->close();
    flushDeletions();
    EXPECT_FALSE(first);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->isVisible());
}

TEST_F(NoticeWindow, ShowsEmptyLongAndReportTexts)
{
    CNoticeDlg *empty = showOne(QString());
    auto *emptyText = empty->findChild<QPlainTextEdit *>();
    EXPECT_TRUE(emptyText->toPlainText().isEmpty());

    // A missed-message report: lines separated by CR LF.
    QStringList lines;
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("スケジュール%1 が表示されませんでした").arg(i);
    CNoticeDlg *report = showOne(lines.join(QStringLiteral("\r\n")));
    auto *reportText = report->findChild<QPlainTextEdit *>();
    EXPECT_EQ(reportText->document()->blockCount(), 40);
    EXPECT_FALSE(reportText->toPlainText().contains(QLatin1Char('\r')));
    EXPECT_EQ(report->strMessage, lines.join(QStringLiteral("\r\n")));
    EXPECT_GT(reportText->verticalScrollBar()->maximum(), 0) << "40 lines must scroll";
}

TEST_F(NoticeWindow, GoesWithItsOwner)
{
    auto *owner = new QWidget;
    NoticeWindowPresenter presenter(owner);
    presenter.ShowNotice(QStringLiteral("持ち主あり"));
    const auto notices = openNotices();
    ASSERT_EQ(notices.size(), 1u);
    QPointer<CNoticeDlg> notice = notices.front();
    EXPECT_EQ(notice->parentWidget(), owner);
    EXPECT_TRUE(notice->isWindow());
    delete owner;
    EXPECT_FALSE(notice);
}

// Run once per Japanese font by the test after it.
TEST_F(NoticeWindow, ReadsWholeUnderTheOneJapaneseFont)
{
    const QString family = DialogFit::onlyJapaneseFamily();
    if (family.isEmpty())
        GTEST_SKIP() << "run by NoticeWindow.ReadsWholeUnderEachJapaneseFont";
    CNoticeDlg *notice = showOne(QStringLiteral("本日の会議"));
    ASSERT_TRUE(notice);
    EXPECT_EQ(DialogFit::japaneseFamily(notice->font()), family);
    const QStringList faults = DialogFit::faults(*notice);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

TEST(NoticeWindowFonts, ReadsWholeUnderEachJapaneseFont)
{
    DialogFit::expectPassesUnderEachJapaneseFont("NoticeWindow.ReadsWholeUnderTheOneJapaneseFont");
}

} // namespace
