#pragma once

#include "CTickwellView.h"
#include "DocumentSoundPlayer.h"
#include "ExitSave.h"
#include "MessageBoxPresenter.h"
#include "NoticeWindowPresenter.h"
#include "ProfileStore.h"
#include "ScheduleDialogRunner.h"
#include "ScheduleStore.h"
#include "SystemClock.h"
#include "WallClockTimer.h"
#include "WavFileDialogChooser.h"

#include <memory>

class CTickwellDoc;
class QWidget;

// What the view works with in the running program: the machine's clock, the
// user's settings store, real sounds, notice windows and message boxes owned
// by the main frame, and the settings dialog. Made after the document and
// the frame, and gone before them.
class ViewServices final
{
public:
    ViewServices(CTickwellDoc &doc, QWidget *frame, QWidget *noticeOwner);
    ViewServices(const ViewServices &) = delete;
    ViewServices &operator=(const ViewServices &) = delete;

    CTickwellView::Services services();

private:
    CTickwellDoc &m_doc;
    SystemClock m_clock;
    std::unique_ptr<ProfileStore> m_profile;
    ScheduleStore m_store;
    MessageBoxPresenter m_messages;
    NoticeWindowPresenter m_notices;
    DocumentSoundPlayer m_sound;
    WavFileDialogChooser m_wavChooser;
    ScheduleDialogRunner m_dialog;
    ExitSave m_exitSave;
    std::unique_ptr<WallClockTimer> m_minuteTimer;
};
