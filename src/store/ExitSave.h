#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>

class CTickwellDoc;
class ScheduleStore;

// The save made when the view goes away at exit: a snapshot of the
// document's table, a pause of one second, then the save. No window may be
// shown by then, so a failed save is written to the error stream.
class ExitSave
{
public:
    using Wait = std::function<void(std::chrono::milliseconds)>;

    static constexpr std::chrono::milliseconds kPause{1000};

    // The wait defaults to a plain sleep of the calling thread; tests and
    // the simulator pass their own.
    ExitSave(ScheduleStore &store, Wait wait = {}, std::ostream *errors = nullptr);

    // Returns whether the save reached the store.
    bool Run(CTickwellDoc &doc);

private:
    ScheduleStore &m_store;
    Wait m_wait;
    std::ostream &m_errors;
};
