#include <QApplication>
#include <QMainWindow>

// The program so far: a hidden main window and the event loop. Ctrl+C ends it.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tickwell"));
    QApplication::setOrganizationName(QStringLiteral("KESTRAVON"));
    QApplication::setQuitOnLastWindowClosed(false);

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Tickwell"));
    frame.hide();

    return QApplication::exec();
}
