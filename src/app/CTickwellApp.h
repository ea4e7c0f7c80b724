#pragma once

#include <QApplication>

#include <memory>

class CMainFrame;
class CTickwellDoc;
class CTickwellView;
class LastActiveWindow;
class QuitSignals;
class SessionEnd;
class SingleInstance;
class ViewServices;

// The application: one copy per user, a hidden main frame with its tray icon,
// the view that watches the clock, and one way out for every reason to end.
class CTickwellApp final : public QApplication
{
    Q_OBJECT

public:
    CTickwellApp(int &argc, char **argv);
    ~CTickwellApp() override;

    // Start-up: the single-copy check, the store, Qt's Japanese texts, then
    // the document, the frame with its tray icon and the view, whose first
    // load opens the settings on a first run. Returns false when the program
    // is to end at once (another copy runs, or it was told to end during
    // start-up); exitCode() then says how.
    bool InitInstance();

    // InitInstance, then the event loop until the program ends, then
    // ExitInstance. Returns the exit status.
    int Run();

    // Takes the tray icon away if it is still there, then runs the view's
    // exit save (snapshot, one second, save). Runs once.
    void ExitInstance();

    // The About box, modal, owned by the main frame.
    void ShowAboutBox();

    // The one way out, for "閉じる", the quit signals and the session's
    // end: the frame closes and its tray icon goes, every event loop ends,
    // then the exit save runs. Once however often it is asked.
    void Shutdown();

    int exitCode() const { return m_exitCode; }

private:
    void OnFrameClosed();
    void OnActivationRequested();
    void OnSessionEnding(bool saveNow);

    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<QuitSignals> m_quitSignals;
    std::unique_ptr<SessionEnd> m_sessionEnd;
    std::unique_ptr<CTickwellDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<ViewServices> m_services;
    std::unique_ptr<CTickwellView> m_view;
    std::unique_ptr<LastActiveWindow> m_lastActive;
    bool m_closing = false;
    int m_exitCode = 0;
};
