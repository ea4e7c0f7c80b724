#pragma once

#include "SettingsDialogRunner.h"

class Clock;
class MessagePresenter;
class ScheduleStore;
class WavFileChooser;

// Runs CScheduleDlg modally for OpenSettings: a fresh dialog each time, with
// no parent, destroyed when it has closed. Timers, the monitor's among them,
// keep running inside its modal loop.
class ScheduleDialogRunner final : public SettingsDialogRunner
{
public:
    ScheduleDialogRunner(
        ScheduleStore &store, const Clock &clock, MessagePresenter &messages, WavFileChooser &wavChooser);

    void RunModal(CTickwellDoc &doc) override;

private:
    ScheduleStore &m_store;
    const Clock &m_clock;
    MessagePresenter &m_messages;
    WavFileChooser &m_wavChooser;
};
