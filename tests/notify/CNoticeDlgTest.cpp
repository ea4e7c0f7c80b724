#include "CNoticeDlg.h"
#include "DialogFit.h"
#include "DialogUnits.h"
#include "NoticeWindowPresenter.h"
#include "NoticeWindows.h"
#include "ShowNotice.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
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
    auto *text = notice->findChild<QTextEdit *>(QStringLiteral("noticeText"));
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
    // The template's places; the box fits its lines inside its own frame.
    const DialogUnits units(notice->font());
    EXPECT_EQ(text->geometry(), units.toPixels(QRect(5, 6, 204, 42)));
    EXPECT_EQ(ok->geometry(), units.toPixels(QRect(71, 54, 71, 14)));
    EXPECT_NE(text->frameShape(), QFrame::NoFrame);
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
            auto *text = n->findChild<QTextEdit *>(QStringLiteral("noticeText"));
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
class NoticeDismissal : public NoticeWindow, public ::testing::WithParamInterface<std::tuple<Dismissal, bool>>
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
    EXPECT_EQ(notice->findChild<QTextEdit *>()->toPlainText(), QStringLiteral("会議の時間です"));

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
    EXPECT_EQ(first->findChild<QTextEdit *>()->toPlainText(), QStringLiteral("一つ目"));
    EXPECT_EQ(second->findChild<QTextEdit *>()->toPlainText(), QStringLiteral("二つ目"));

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
    auto *emptyText = empty->findChild<QTextEdit *>();
    EXPECT_TRUE(emptyText->toPlainText().isEmpty());

    // A missed-message report: lines separated by CR LF.
    QStringList lines;
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("スケジュール%1 が表示されませんでした").arg(i);
    CNoticeDlg *report = showOne(lines.join(QStringLiteral("\r\n")));
    auto *reportText = report->findChild<QTextEdit *>();
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

// The height of a line in each Japanese font's file, in ems: usWinAscent +
// usWinDescent over unitsPerEm, as Windows spaces the lines of an edit box.
// VL Gothic's typographic metrics, which Qt follows, say a single em (1000 +
// 270 against 860 + 140): its lines would nearly touch.
const std::map<QString, double> kLineHeightInEms = {
    {QStringLiteral("IPAPGothic"), (1802.0 + 401.0) / 2048.0},
    {QStringLiteral("VL PGothic"), (1000.0 + 270.0) / 1000.0},
    {QStringLiteral("Noto Sans CJK JP"), (1160.0 + 288.0) / 1000.0},
    {QStringLiteral("TakaoPGothic"), (1802.0 + 401.0) / 2048.0},
};

// Ways the box's text comes to be scrolled.
struct Scrolling
{
    const char *name;
    std::function<void(QTextEdit *)> act;
};

const Scrolling kScrollings[] = {
    {"opened", [](QTextEdit *) {}},
    {"a line down",
        [](QTextEdit *box) {
            box->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        }},
    {"a page down",
        [](QTextEdit *box) { box->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
    {"the wheel turned a notch down",
        [](QTextEdit *box) {
            const QPoint at = box->viewport()->rect().center();
            QWheelEvent wheel(at, box->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box->viewport(), &wheel);
        }},
    {"dragged to between two lines",
        [](QTextEdit *box) {
            QScrollBar *bar = box->verticalScrollBar();
            bar->setSliderDown(true);
            bar->setSliderPosition(bar->singleStep() * 2 + bar->singleStep() / 2);
            bar->setSliderDown(false);
        }},
    {"to the end",
        [](QTextEdit *box) { box->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum); }},
    {"a line up from the end",
        [](QTextEdit *box) {
            box->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
            box->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        }},
    {"the text cursor moved to the last line",
        [](QTextEdit *box) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        }},
};

// Run once per Japanese font by the test after it: the window reads whole,
// and its box shows whole lines, the font's line spacing apart, however its
// text is scrolled.
TEST_F(NoticeWindow, ReadsWholeUnderTheOneJapaneseFont)
{
    const QString family = DialogFit::onlyJapaneseFamily();
    if (family.isEmpty())
        GTEST_SKIP() << "run by NoticeWindow.ReadsWholeUnderEachJapaneseFont";
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("%1 行目: 議題の資料 (Typography)").arg(i);
    lines << QStringLiteral("折り返す長い行: ") + QStringLiteral("会議室の予約と議事録の確認 ").repeated(6);
    CNoticeDlg *notice = showOne(lines.join(QStringLiteral("\r\n")));
    ASSERT_TRUE(notice);
    EXPECT_TRUE(DialogFit::isTheOneJapaneseFamily(notice->font()))
        << DialogFit::japaneseFamily(notice->font()).toStdString();
    ASSERT_TRUE(waitUntilEnabled(notice));
    const QStringList faults = DialogFit::faults(*notice);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();

    auto *box = notice->findChild<QTextEdit *>(QStringLiteral("noticeText"));
    ASSERT_TRUE(box);
    const QString drawnWith = DialogFit::japaneseFamily(box->font());
    ASSERT_TRUE(kLineHeightInEms.count(drawnWith)) << drawnWith.toStdString();
    const int pitch
        = static_cast<int>(std::ceil(QFontInfo(box->font()).pixelSize() * kLineHeightInEms.at(drawnWith)));
    const auto lineTop = [box](const QTextBlock &block) {
        return box->document()->documentLayout()->blockBoundingRect(block).top()
            + block.layout()->lineAt(0).y();
    };
    const QTextBlock first = box->document()->firstBlock();
    ASSERT_TRUE(first.next().isValid());
    EXPECT_NEAR(lineTop(first.next()) - lineTop(first), pitch, 0.01);
    EXPECT_GE(box->viewport()->height(), 2 * pitch) << "the box shows at least two lines";
    for (const Scrolling &scrolling : kScrollings) {
        SCOPED_TRACE(scrolling.name);
        box->verticalScrollBar()->setValue(0);
        scrolling.act(box);
        const QString fault = DialogFit::textBoxFault(*box);
        EXPECT_TRUE(fault.isEmpty()) << fault.toStdString() << " at " << box->verticalScrollBar()->value();
        if (std::string(scrolling.name) != "opened") {
            EXPECT_GT(box->verticalScrollBar()->value(), 0) << "did not scroll";
        }
    }
}

TEST(NoticeWindowFonts, ReadsWholeUnderEachJapaneseFont)
{
    DialogFit::expectPassesUnderEachJapaneseFont("NoticeWindow.ReadsWholeUnderTheOneJapaneseFont");
}

} // namespace
