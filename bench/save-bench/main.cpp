// Times one save of the whole table to the real store file (the user's
// store; under the desktop rig that is the rig's private one). The exit
// save's one-second pause is not part of it.
#include "CTickwellDoc.h"
#include "ScheduleStore.h"
#include "SettingsProfileStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("KESTRAVON"));
    QCoreApplication::setApplicationName(QStringLiteral("Tickwell"));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    CTickwellDoc doc;
    doc.THIS_YEAR = 2026;
    ScheduleTable table;
    for (int i = 0; i < ScheduleTable::kSize; ++i) {
        table[i].valid = 1;
        table[i].msg = QStringLiteral("スケジュール%1 の会議資料を準備する").arg(i + 1);
        table[i].waveFilePath = QStringLiteral("/usr/share/sounds/alsa/Front_Center.wav");
        table[i].htime = i;
        table[i].Next_Mon = 300 + i;
    }
    SettingsProfileStore profile;
    ScheduleStore store(profile);
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        table[0].mtime = run % 60;
        QElapsedTimer timer;
        timer.start();
        if (!store.StoreTable(table, doc)) {
            std::fprintf(stderr, "save-bench: the save failed (%s)\n", qPrintable(profile.location()));
            return 1;
        }
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%.3f %.3f %.3f\n", ms[ms.size() / 2], ms.front(), ms.back());
    return 0;
}
