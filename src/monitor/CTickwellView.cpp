#include "CTickwellView.h"

#include "CTickwellDoc.h"
#include "Clock.h"
#include "ScheduleStore.h"
#include "TickAlignment.h"
#include "WallClockTimer.h"

CTickwellView::CTickwellView(const Services &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_monitor(services.doc, services.clock, services.sound, services.notice)
    , m_opener(services.doc, services.dialog)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CTickwellView::OnTimer);
    if (m_services.minuteTimer)
        connect(m_services.minuteTimer, &WallClockTimer::timeout, this, &CTickwellView::OnTimer);
}

CTickwellView::~CTickwellView()
{
    m_timer.stop();
    if (m_services.minuteTimer)
        m_services.minuteTimer->stop();
    RunExitSave();
}

void CTickwellView::OnInitialUpdate()
{
    ScheduleNextTick(true);
    m_services.store.LoadSchedules(m_services.doc, m_services.clock.now(), m_opener);
}

void CTickwellView::OpenSettings()
{
    m_opener.OpenSettings(m_services.clock.now());
}

bool CTickwellView::SettingsOpen() const
{
    return m_services.doc.bDialogOpen == 1;
}

void CTickwellView::OnTimer()
{
    // Ask for the next tick first: a message box during this one runs its
    // own loop, and the clock must keep its rhythm meanwhile.
    ScheduleNextTick();
    m_monitor.OnTimer();
}

bool CTickwellView::timerActive() const
{
    return m_timer.isActive() || (m_services.minuteTimer && m_services.minuteTimer->isActive());
}

void CTickwellView::RunExitSave()
{
    if (m_exitSaved)
        return;
    m_exitSaved = true;
    m_monitor.SettleInterruptedFiring();
    m_services.exitSave.Run(m_services.doc);
}

void CTickwellView::ScheduleNextTick(bool first)
{
    const std::int64_t now = m_services.clock.epochMilliseconds();
    // The first tick comes a second after start at the latest, whatever the
    // timer. While a tick waits in a message box's loop the ticks come each
    // second, so that a minute that began meanwhile is acted on the moment
    // the box closes, as with a tick every second.
    if (m_services.minuteTimer && !first && !m_monitor.ticking()) {
        m_timer.stop();
        m_services.minuteTimer->startAfter(NextMinuteTick(now) - now);
        return;
    }
    if (m_services.minuteTimer)
        m_services.minuteTimer->stop();
    m_timer.start(NextTickDelay(now));
}
