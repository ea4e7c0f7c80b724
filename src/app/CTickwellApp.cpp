#include "CTickwellApp.h"

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CMainFrame.h"
#include "CTickwellDoc.h"
#include "CTickwellView.h"
#include "JapaneseTranslations.h"
#include "LastActiveWindow.h"
#include "QuitSignals.h"
#include "SessionEnd.h"
#include "SingleInstance.h"
#include "TrayIcon.h"
#include "ViewServices.h"

#include <iostream>

CTickwellApp::CTickwellApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // The store's root (KESTRAVON/Tickwell) and the name the desktop shows.
    setOrganizationName(QStringLiteral("KESTRAVON"));
    setApplicationName(QStringLiteral("Tickwell"));
    setApplicationVersion(QStringLiteral("1.03"));
    setDesktopFileName(QStringLiteral("jp.kestravon.Tickwell"));
    // Closing the last dialog or notice window must not end a tray program.
    setQuitOnLastWindowClosed(false);
}

CTickwellApp::~CTickwellApp()
{
    ExitInstance();
}

bool CTickwellApp::InitInstance()
{
    m_instance = std::make_unique<SingleInstance>();
    switch (m_instance->acquire()) {
    case SingleInstance::Outcome::Running:
        // No window, no icon, no store: the running copy comes forward.
        m_instance->askRunningCopy();
        m_exitCode = 0;
        return false;
    case SingleInstance::Outcome::Failed:
        std::cerr << "Tickwell: " << m_instance->errorString().toStdString() << std::endl;
        m_exitCode = 1;
        return false;
    case SingleInstance::Outcome::First:
        break;
    }
    connect(
        m_instance.get(), &SingleInstance::activationRequested, this, &CTickwellApp::OnActivationRequested);

    m_quitSignals = std::make_unique<QuitSignals>();
    connect(m_quitSignals.get(), &QuitSignals::quitRequested, this, &CTickwellApp::Shutdown);
    m_sessionEnd = std::make_unique<SessionEnd>();
    connect(m_sessionEnd.get(), &SessionEnd::ending, this, &CTickwellApp::OnSessionEnding);

    // Before any widget exists, so that every dialog gets Japanese buttons.
    installJapaneseTranslations(*this);
    // Every window carries the program's icon, in task lists too.
    setWindowIcon(appIcon());

    m_lastActive = std::make_unique<LastActiveWindow>();
    m_doc = std::make_unique<CTickwellDoc>();
    m_frame = std::make_unique<CMainFrame>();
    connect(m_frame.get(), &CMainFrame::aboutRequested, this, &CTickwellApp::ShowAboutBox);
    // The dialog, or the message box over it, to the front.
    connect(m_frame.get(), &CMainFrame::settingsShownAgain, m_lastActive.get(), &LastActiveWindow::bringForward);
    connect(m_frame.get(), &CMainFrame::closed, this, &CTickwellApp::OnFrameClosed);
    if (!m_frame->OnCreate()) {
        m_exitCode = 1;
        return false;
    }
    // Where later copies look for this one by its window (Windows).
    m_instance->markMainWindow(m_frame->winId());
    m_services = std::make_unique<ViewServices>(*m_doc, m_frame.get(), m_frame->noticeOwner());
    m_view = std::make_unique<CTickwellView>(m_services->services());
    m_frame->setView(m_view.get());
    m_doc->OnNewDocument();
    // On a first run the settings dialog is open until this returns.
    m_view->OnInitialUpdate();
    // The frame stays hidden; it was never shown.
    return !m_closing;
}

int CTickwellApp::Run()
{
    if (InitInstance())
        exec();
    ExitInstance();
    return m_exitCode;
}

void CTickwellApp::ExitInstance()
{
    // The icon first (it is gone already after "閉じる"), then the save.
    if (m_frame)
        m_frame->OnDestroy();
    if (m_view)
        m_view->RunExitSave();
}

void CTickwellApp::ShowAboutBox()
{
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}

void CTickwellApp::Shutdown()
{
    if (m_closing)
        return;
    if (m_frame) {
        // Its closing leads to OnFrameClosed.
        m_frame->close();
        return;
    }
    OnFrameClosed();
}

void CTickwellApp::OnFrameClosed()
{
    if (m_closing)
        return;
    m_closing = true;
    // Every loop ends, a dialog's or a message box's too, and a loop not yet
    // entered is never entered. The exit save waits until they have ended:
    // a message box inside the minute's tick may hold an entry that is being
    // fired, and the tick puts it back in order once the box returns.
    exit(0);
}

void CTickwellApp::OnActivationRequested()
{
    if (m_closing || !m_view)
        return;
    if (!TrayIcon::trayAvailable() && !m_doc->bDialogOpen) {
        // Without a notification area a second start is the way in.
        m_frame->RequestSettings();
        return;
    }
    m_lastActive->bringForward();
}

void CTickwellApp::OnSessionEnding(bool saveNow)
{
    // The session ends, and the session manager may end the program at any
    // moment after this: the program ends the way "閉じる" ends it. Where
    // the process may go as soon as this returns (Windows), the exit save is
    // made here and now, inside whatever dialog or message box is open.
    Shutdown();
    if (saveNow)
        ExitInstance();
}
