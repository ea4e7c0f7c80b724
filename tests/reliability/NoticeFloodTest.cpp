// Two hundred notice windows at once on the desktop rig: all show, all close
// by their OK button, and the memory they took is given back.
#include "CNoticeDlg.h"
#include "Figures.h"
#include "NoticeWindowPresenter.h"
#include "NoticeWindows.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>

#include <malloc.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false; // the sanitizer keeps freed memory
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

// Resident memory of this process, in kilobytes, after handing freed heap
// back to the system.
long residentKilobytes()
{
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Opens count notices, waits until the X server shows every one, then closes
// them all with their OK buttons and waits until they are gone. Returns how
// many were seen on screen.
int openAndCloseNotices(int count)
{
    NoticeWindowPresenter presenter;
    for (int i = 0; i < count; ++i)
        presenter.ShowNotice(QStringLiteral("通知 %1 / %2").arg(i + 1).arg(count));
    QElapsedTimer clock;
    clock.start();
    std::vector<CNoticeDlg *> notices;
    int exposed = 0;
    while (clock.elapsed() < 60000) {
        notices = openNotices();
        exposed = static_cast<int>(std::count_if(notices.begin(), notices.end(), [](CNoticeDlg *n) {
            return n->isVisible() && n->windowHandle() && n->windowHandle()->isExposed();
        }));
        if (exposed == count)
            break;
        QTest::qWait(50);
    }
    QTest::qWait(600); // each takes input after half a second
    for (CNoticeDlg *notice : openNotices()) {
        if (auto *ok = notice->findChild<QPushButton *>(QStringLiteral("noticeOk")))
            ok->click();
    }
    clock.restart();
    while (!openNotices().empty() && clock.elapsed() < 30000) {
        QTest::qWait(50);
        flushDeletions();
    }
    return exposed;
}

// The first flood leaves the heap larger (caches, and freed blocks the
// allocator keeps), so the yardstick is taken after one: a window that leaked
// would then show in every further flood.
TEST(NoticeFlood, TwoHundredAtOnceAllShowAllCloseMemoryComesBack)
{
    constexpr int kWindows = 200;
    const long start = residentKilobytes();
    ASSERT_EQ(openAndCloseNotices(kWindows), kWindows);
    const long before = residentKilobytes();
    ASSERT_GT(before, 0);

    const int floods = trialCount(1, 5);
    int shown = 0;
    int left = 0;
    for (int i = 0; i < floods; ++i) {
        shown += openAndCloseNotices(kWindows);
        left += static_cast<int>(openNotices().size());
    }
    const long after = residentKilobytes();
    EXPECT_EQ(shown, floods * kWindows);
    EXPECT_EQ(left, 0);
    if (kMemoryIsMeasurable) {
        EXPECT_LE(after, before + before / 10) << "kB before " << before << ", after " << after;
    }
    recordFigure(QStringLiteral("200 notice windows at once"),
        QStringLiteral("%1 floods of %2 windows after a first one; %3 shown, %4 closed by OK")
            .arg(floods)
            .arg(kWindows)
            .arg(shown)
            .arg(floods * kWindows - left),
        kMemoryIsMeasurable ? QStringLiteral("resident memory %1 kB at start, %2 kB after the first flood, "
                                             "%3 kB after the last (%4%)")
                                  .arg(start)
                                  .arg(before)
                                  .arg(after)
                                  .arg(QString::number(100.0 * (after - before) / before, 'f', 1))
                            : QStringLiteral("memory not measured under the sanitizer"));
}

} // namespace
