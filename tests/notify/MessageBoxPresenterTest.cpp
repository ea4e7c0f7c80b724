#include "MessageBoxPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct SeenBox
{
    bool found = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool onTop = false;
    int buttons = 0;
};

// Shows the message and, from inside the box's own loop, reads the box and
// presses its OK button.
SeenBox showAndAnswer(const QString &text, MessagePresenter::Icon icon)
{
    SeenBox seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        seen.found = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.buttons = static_cast<int>(box->buttons().size());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    poll.start();
    MessageBoxPresenter presenter;
    presenter.ShowMessage(text, icon);
    return seen;
}

TEST(MessageBoxPresenter, ShowsTheTextCaptionedTickwellAboveOtherWindows)
{
    const struct
    {
        MessagePresenter::Icon icon;
        QMessageBox::Icon shown;
    } rows[] = {
        {MessagePresenter::Icon::None, QMessageBox::NoIcon},
        {MessagePresenter::Icon::Information, QMessageBox::Information},
        {MessagePresenter::Icon::Exclamation, QMessageBox::Warning},
        {MessagePresenter::Icon::Warning, QMessageBox::Warning},
        {MessagePresenter::Icon::Error, QMessageBox::Critical},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(static_cast<int>(row.icon));
        const SeenBox seen = showAndAnswer(QStringLiteral("wavファイルのパスが見当たりません。"), row.icon);
        ASSERT_TRUE(seen.found) << "no modal box";
        EXPECT_EQ(seen.title, QStringLiteral("Tickwell"));
        EXPECT_EQ(seen.text, QStringLiteral("wavファイルのパスが見当たりません。"));
        EXPECT_EQ(seen.icon, row.shown);
        EXPECT_TRUE(seen.onTop);
        EXPECT_EQ(seen.buttons, 1);
    }
}

} // namespace
