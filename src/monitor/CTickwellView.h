#pragma once

#include "ExitSave.h"
#include "ScheduleMonitor.h"
#include "SettingsOpener.h"

#include <QObject>
#include <QTimer>

class Clock;
class CTickwellDoc;
class EntrySoundPlayer;
class NoticePresenter;
class ScheduleStore;
class SettingsDialogRunner;
class WallClockTimer;

// The one view of the document. It is never shown: it owns the monitor's
// timer, the first load of the table, the way into the settings dialog and
// the save at exit.
class CTickwellView final : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        CTickwellDoc &doc;
        const Clock &clock;
        EntrySoundPlayer &sound;
        NoticePresenter &notice;
        ScheduleStore &store;
        SettingsDialogRunner &dialog;
        ExitSave &exitSave;
        // When given, the ticks after the first come at each whole minute
        // of the wall clock and whenever it is set, instead of each second.
        WallClockTimer *minuteTimer = nullptr;
    };

    explicit CTickwellView(const Services &services, QObject *parent = nullptr);
    // Runs the exit save if it has not run yet.
    ~CTickwellView() override;

    // Starts the timer, then loads the table; on a first run the settings
    // dialog opens from the load and this returns when it has closed.
    void OnInitialUpdate();

    // One dialog at a time; THIS_YEAR becomes the current year.
    void OpenSettings();
    // Whether the settings dialog is on screen.
    bool SettingsOpen() const;

    // The tick, and the next one asked for just after the next whole second
    // (or minute).
    void OnTimer();

    // Snapshot, pause, save. Runs once however often it is asked.
    void RunExitSave();

    // The wait of the one-second timer; whether a tick is asked for.
    int timerInterval() const { return m_timer.interval(); }
    bool timerActive() const;
    ScheduleMonitor &monitor() { return m_monitor; }

private:
    void ScheduleNextTick(bool first = false);

    Services m_services;
    ScheduleMonitor m_monitor;
    SettingsOpener m_opener;
    QTimer m_timer;
    bool m_exitSaved = false;
};
