#include "ExitSave.h"

#include "CTickwellDoc.h"
#include "ScheduleStore.h"
#include "ScheduleTable.h"

#include <iostream>
#include <thread>

ExitSave::ExitSave(ScheduleStore &store, Wait wait, std::ostream *errors)
    : m_store(store)
    , m_wait(wait ? std::move(wait)
                  : Wait([](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }))
    , m_errors(errors ? *errors : std::cerr)
{
}

bool ExitSave::Run(CTickwellDoc &doc)
{
    ScheduleTable snapshot;
    ScheduleStore::LoadFromDocument(snapshot, doc);
    m_wait(kPause);
    const bool ok = m_store.StoreTable(snapshot, doc);
    if (!ok)
        m_errors << m_store.SaveFailureText().toStdString() << std::endl;
    return ok;
}
