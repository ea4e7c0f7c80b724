#include "ScheduleDialogRunner.h"

#include "CScheduleDlg.h"

ScheduleDialogRunner::ScheduleDialogRunner(
    ScheduleStore &store, const Clock &clock, MessagePresenter &messages, WavFileChooser &wavChooser)
    : m_store(store)
    , m_clock(clock)
    , m_messages(messages)
    , m_wavChooser(wavChooser)
{
}

void ScheduleDialogRunner::RunModal(CTickwellDoc &doc)
{
    CScheduleDlg dialog(doc, m_store, m_clock, m_messages, m_wavChooser, m_owner);
    if (m_owner)
        dialog.setWindowModality(Qt::WindowModal);
    dialog.exec();
}
