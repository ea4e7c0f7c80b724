#include "CMainFrame.h"

#include "AppIcon.h"
#include "CTickwellView.h"
#include "TrayIcon.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

CMainFrame::CMainFrame(QWidget *parent)
    // A tool window: no taskbar entry, should anything ever show it.
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Tickwell"));
    setWindowIcon(appIcon());
    // Dialogs without a place of their own are centred on their owner: put
    // the unseen frame in the middle of the screen.
    QRect place(0, 0, 200, 200);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        place.moveCenter(screen->availableGeometry().center());
    setGeometry(place);

    m_noticeOwner = std::make_unique<QWidget>(nullptr, Qt::Tool);
    m_noticeOwner->setObjectName(QStringLiteral("noticeOwner"));
    m_noticeOwner->setWindowTitle(QStringLiteral("Tickwell"));
    m_noticeOwner->setGeometry(place);
}

CMainFrame::~CMainFrame()
{
    OnDestroy();
}

bool CMainFrame::OnCreate()
{
    m_tray = std::make_unique<TrayIcon>();
    connect(m_tray.get(), &TrayIcon::settingsRequested, this, &CMainFrame::RequestSettings);
    connect(m_tray.get(), &TrayIcon::aboutRequested, this, &CMainFrame::aboutRequested);
    connect(m_tray.get(), &TrayIcon::closeRequested, this, &CMainFrame::close);
    m_tray->show();
    // The window exists from now on, hidden, so that the windows the frame
    // owns are known to the window manager as belonging to it.
    return winId() != 0 && m_noticeOwner->winId() != 0;
}

void CMainFrame::RequestSettings()
{
    if (!m_view || m_destroyed)
        return;
    if (m_view->SettingsOpen())
        emit settingsShownAgain();
    else
        m_view->OpenSettings();
}

void CMainFrame::OnDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (m_tray)
        m_tray->remove();
    // Notice windows still open go with their owner.
    for (const QWidget *owner :
        {static_cast<const QWidget *>(this), static_cast<const QWidget *>(m_noticeOwner.get())}) {
        for (QWidget *child : owner->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow())
                child->hide();
        }
    }
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    event->accept();
    const bool first = !m_destroyed;
    OnDestroy();
    if (first)
        emit closed();
}
