#include "StoreLoadCheck.h"

#include "CTickwellDoc.h"
#include "IniOracle.h"
#include "ProfileLayout.h"
#include "ScheduleStore.h"
#include "SettingsLauncher.h"
#include "SettingsProfileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr LocalTime kStart{2024, 2, 29, 8, 30, 0, 4};

class CountingLauncher final : public SettingsLauncher
{
public:
    void OpenSettings(const LocalTime &) override { ++opened; }
    int opened = 0;
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QString checkEntry(const ScheduleEntry &entry, int index, const IniOracle &oracle)
{
    const QString section = sectionName(index);
    const ScheduleEntry defaults = defaultEntry(index + 1, kStart);
    for (const ScheduleField &field : profileKeys()) {
        const QString key = QString::fromLatin1(field.key);
        if (field.intField) {
            const int value = entry.*field.intField;
            if (value != defaults.*field.intField && !oracle.mayHoldInt(section, key, value))
                return QStringLiteral("%1/%2 loaded as %3, which the file does not hold")
                    .arg(section, key)
                    .arg(value);
        } else if (entry.*field.textField != defaults.*field.textField && !oracle.mentions(section, key)) {
            return QStringLiteral("%1/%2 loaded as \"%3\", but the file has no such key")
                .arg(section, key, entry.*field.textField);
        }
    }
    return {};
}

QString onlyTheStoreIsLeft(const QString &path, const char *what)
{
    const QStringList left = QFileInfo(path).dir().entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (left != QStringList{QFileInfo(path).fileName()})
        return QStringLiteral("the %1 left files behind: %2").arg(QLatin1String(what), left.join(u','));
    return {};
}

QString check(const QByteArray &bytes, const QString &path)
{
    if (!writeFile(path, bytes))
        return QStringLiteral("cannot write %1").arg(path);

    CTickwellDoc doc;
    CountingLauncher launcher;
    {
        SettingsProfileStore profile(path);
        ScheduleStore store(profile);
        store.LoadSchedules(doc, kStart, launcher);
    }

    const IniOracle oracle(bytes);
    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        const QString fault = checkEntry(doc.schedules[index], index, oracle);
        if (!fault.isEmpty())
            return fault;
    }
    const QString thisYear = QString::fromLatin1(kThisYearKey);
    if (doc.THIS_YEAR != 0 && !oracle.mayHoldInt(thisYear, thisYear, doc.THIS_YEAR))
        return QStringLiteral("THIS_YEAR loaded as %1, which the file does not hold").arg(doc.THIS_YEAR);
    if (launcher.opened != (doc.THIS_YEAR == 0 ? 1 : 0))
        return QStringLiteral("THIS_YEAR is %1 but the settings were opened %2 times")
            .arg(doc.THIS_YEAR)
            .arg(launcher.opened);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
        return QStringLiteral("the load changed the file");
    file.close();
    QString fault = onlyTheStoreIsLeft(path, "load");
    if (!fault.isEmpty())
        return fault;

    // A save into whatever the file held, and the table read back whole.
    const ScheduleTable saved = doc.schedules;
    {
        SettingsProfileStore profile(path);
        if (!ScheduleStore(profile).StoreTable(saved, doc))
            return QStringLiteral("the save over the file failed");
    }
    fault = onlyTheStoreIsLeft(path, "save");
    if (!fault.isEmpty())
        return fault;
    CTickwellDoc reloaded;
    {
        SettingsProfileStore profile(path);
        ScheduleStore(profile).LoadSchedules(reloaded, kStart, launcher);
    }
    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        if (!(reloaded.schedules[index] == saved[index]))
            return QStringLiteral("%1 did not read back as saved").arg(sectionName(index));
    }
    if (reloaded.THIS_YEAR != doc.THIS_YEAR)
        return QStringLiteral("THIS_YEAR read back as %1, saved %2")
            .arg(reloaded.THIS_YEAR)
            .arg(doc.THIS_YEAR);
    return {};
}

} // namespace

QString checkStoreLoad(const QByteArray &bytes, const QString &path)
{
    const QString fault = check(bytes, path);
    QDir dir = QFileInfo(path).dir();
    for (const QString &name : dir.entryList({QFileInfo(path).fileName() + u'*'}, QDir::Files | QDir::Hidden))
        dir.remove(name);
    return fault;
}
