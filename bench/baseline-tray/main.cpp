// The floor for a program of Tickwell's kind: a tray icon with a three-entry
// menu and a one-second timer that reads the clock, nothing else. When the
// timer sees a new minute it says so on standard error, so the benchmarks
// can time it like a firing.
#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setBrush(Qt::darkCyan);
        painter.drawEllipse(2, 2, 28, 28);
    }
    QMenu menu;
    menu.addAction(QStringLiteral("Settings"));
    menu.addAction(QStringLiteral("About"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("Close"), &app, &QApplication::quit);

    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.setToolTip(QStringLiteral("baseline"));
    tray.setContextMenu(&menu);
    tray.show();

    int lastMinute = -1;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const int minute = QTime::currentTime().minute();
        if (lastMinute != -1 && minute != lastMinute) {
            std::fputs("minute\n", stderr);
            std::fflush(stderr);
        }
        lastMinute = minute;
    });
    timer.start(1000);
    return QApplication::exec();
}
