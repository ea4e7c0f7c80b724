#include "ViewServices.h"

#include "UserProfileStore.h"

ViewServices::ViewServices(CTickwellDoc &doc, QWidget *frame, QWidget *noticeOwner)
    : m_doc(doc)
    , m_profile(openUserProfileStore())
    , m_store(*m_profile)
    , m_messages(frame)
    , m_notices(noticeOwner)
    , m_sound(doc, m_messages)
    , m_dialog(m_store, m_clock, m_messages, m_wavChooser)
    , m_exitSave(m_store)
    , m_minuteTimer(WallClockTimer::create())
{
    m_dialog.setOwner(frame);
}

CTickwellView::Services ViewServices::services()
{
    return {m_doc, m_clock, m_sound, m_notices, m_store, m_dialog, m_exitSave, m_minuteTimer.get()};
}
