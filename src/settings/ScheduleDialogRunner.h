#pragma once

#include "SettingsDialogRunner.h"

class Clock;
class MessagePresenter;
class ScheduleStore;
class WavFileChooser;
class QWidget;

// Runs CScheduleDlg modally for OpenSettings: a fresh dialog each time,
// destroyed when it has closed. With an owner it is modal to the owner only,
// so that notice windows and the tray icon's menu keep taking input while it
// is open. Timers, the monitor's among them, keep running inside its loop.
class ScheduleDialogRunner final : public SettingsDialogRunner
{
public:
    ScheduleDialogRunner(
        ScheduleStore &store, const Clock &clock, MessagePresenter &messages, WavFileChooser &wavChooser);

    void setOwner(QWidget *owner) { m_owner = owner; }

    void RunModal(CTickwellDoc &doc) override;

private:
    ScheduleStore &m_store;
    const Clock &m_clock;
    MessagePresenter &m_messages;
    WavFileChooser &m_wavChooser;
    QWidget *m_owner = nullptr;
};
