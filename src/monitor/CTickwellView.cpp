#include "CTickwellView.h"

#include "Clock.h"
#include "ScheduleStore.h"
#include "TickAlignment.h"

CTickwellView::CTickwellView(const Services &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_monitor(services.doc, services.clock, services.sound, services.notice)
    , m_opener(services.doc, services.dialog)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CTickwellView::OnTimer);
}

CTickwellView::~CTickwellView()
{
    m_timer.stop();
    RunExitSave();
}

void CTickwellView::OnInitialUpdate()
{
    ScheduleNextTick();
    m_services.store.LoadSchedules(m_services.doc, m_services.clock.now(), m_opener);
}

void CTickwellView::OpenSettings()
{
    m_opener.OpenSettings(m_services.clock.now());
}

void CTickwellView::OnTimer()
{
    // Ask for the next tick first: a message box during this one runs its
    // own loop, and the clock must keep its rhythm meanwhile.
    ScheduleNextTick();
    m_monitor.OnTimer();
}

void CTickwellView::RunExitSave()
{
    if (m_exitSaved)
        return;
    m_exitSaved = true;
    m_services.exitSave.Run(m_services.doc);
}

void CTickwellView::ScheduleNextTick()
{
    m_timer.start(NextTickDelay(m_services.clock.epochMilliseconds()));
}
