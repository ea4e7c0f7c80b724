#include "Simulation.h"

#include "CTickwellDoc.h"
#include "ExitSave.h"
#include "JsonCallPrinter.h"
#include "ScheduleMonitor.h"
#include "ScheduleStore.h"
#include "SerializedValueFilter.h"
#include "SettingsDialogRunner.h"
#include "SettingsOpener.h"
#include "SettingsProfileStore.h"
#include "SimulatedClock.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include <algorithm>
#include <ostream>
#include <utility>
#include <vector>

namespace {

// On a first run the settings dialog would open: here it is cancelled at once.
class CancelledDialog final : public SettingsDialogRunner
{
public:
    void RunModal(CTickwellDoc &) override { }
};

bool isReadableStore(const QString &path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    // Parsed as the store reads it: never a serialized value.
    QTemporaryFile copy;
    const QByteArray screened = withoutSerializedVariants(file.readAll());
    if (!copy.open() || copy.write(screened) != screened.size() || !copy.flush())
        return false;
    QSettings settings(copy.fileName(), QSettings::IniFormat);
    settings.allKeys();
    return settings.status() == QSettings::NoError;
}

using Sleep = std::pair<std::int64_t, std::int64_t>;

// The sleeps in time order, those that overlap joined: the ticks they leave
// out (strictly between FROM and TO of any of them) are the same, and each
// tick needs to look at one of them only. Sleeps that merely touch stay
// apart, as the tick at the shared end still comes.
std::vector<Sleep> withoutOverlaps(std::vector<Sleep> sleeps)
{
    std::sort(sleeps.begin(), sleeps.end());
    std::vector<Sleep> joined;
    for (const Sleep &sleep : sleeps) {
        if (!joined.empty() && sleep.first < joined.back().second)
            joined.back().second = std::max(joined.back().second, sleep.second);
        else
            joined.push_back(sleep);
    }
    return joined;
}

} // namespace

int runSimulation(const SimulatorOptions &options, std::ostream &out, std::ostream &errors)
{
    if (!isReadableStore(options.storeFile)) {
        errors << "tickwell-sim: cannot read the store " << options.storeFile.toStdString() << std::endl;
        return 2;
    }

    SimulatedClock clock;
    clock.setEpochSeconds(options.from);
    JsonCallPrinter printer(clock, out);
    CTickwellDoc doc;
    SettingsProfileStore profile(options.storeFile);
    ScheduleStore store(profile);
    CancelledDialog dialog;
    SettingsOpener opener(doc, dialog);
    ScheduleMonitor monitor(doc, clock, printer, printer);

    store.LoadSchedules(doc, clock.now(), opener);

    const std::vector<Sleep> sleeps = withoutOverlaps(options.asleep);
    std::size_t next = 0; // the first sleep that does not end before t
    for (std::int64_t t = options.from + 1; t <= options.to; ++t) {
        while (next < sleeps.size() && sleeps[next].second <= t)
            ++next;
        if (next < sleeps.size() && sleeps[next].first < t) {
            t = sleeps[next].second - 1; // the first tick after waking is at TO
            continue;
        }
        clock.setEpochSeconds(t);
        monitor.OnTimer();
    }
    out.flush();

    if (options.save) {
        ExitSave exitSave(
            store, [](std::chrono::milliseconds) {}, &errors);
        if (!exitSave.Run(doc))
            return 1;
    }
    return 0;
}
