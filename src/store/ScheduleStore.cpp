#include "ScheduleStore.h"

#include "CTickwellDoc.h"
#include "MessagePresenter.h"
#include "ProfileLayout.h"
#include "ProfileStore.h"
#include "ScheduleTable.h"
#include "SettingsLauncher.h"

ScheduleStore::ScheduleStore(ProfileStore &profile)
    : m_profile(profile)
{
}

void ScheduleStore::LoadSchedules(CTickwellDoc &doc, const LocalTime &now, SettingsLauncher &settings)
{
    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        const QString section = sectionName(index);
        const ScheduleEntry defaults = defaultEntry(index + 1, now);
        ScheduleEntry &entry = doc.schedules[index];
        for (const ScheduleField &field : profileKeys()) {
            const QString key = QString::fromLatin1(field.key);
            if (field.intField)
                entry.*field.intField = m_profile.GetProfileInt(section, key, defaults.*field.intField);
            else
                entry.*field.textField = m_profile.GetProfileString(section, key, defaults.*field.textField);
        }
    }
    doc.THIS_YEAR = m_profile.GetProfileInt(
        QString::fromLatin1(kThisYearSection), QString::fromLatin1(kThisYearKey), 0);
    if (doc.THIS_YEAR == 0)
        settings.OpenSettings(now);
}

void ScheduleStore::LoadFromDocument(ScheduleTable &working, const CTickwellDoc &doc)
{
    for (int index = 0; index < ScheduleTable::kSize; ++index)
        working[index] = doc.schedules[index];
}

bool ScheduleStore::StoreTable(const ScheduleTable &working, CTickwellDoc &doc)
{
    m_profile.beginBatch();
    // Every write is made even after one has failed.
    bool ok = m_profile.WriteProfileInt(
        QString::fromLatin1(kThisYearSection), QString::fromLatin1(kThisYearKey), doc.THIS_YEAR);
    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        const QString section = sectionName(index);
        const ScheduleEntry &entry = working[index];
        for (const ScheduleField &field : profileKeys()) {
            const QString key = QString::fromLatin1(field.key);
            if (field.intField)
                ok = m_profile.WriteProfileInt(section, key, entry.*field.intField) && ok;
            else
                ok = m_profile.WriteProfileString(section, key, entry.*field.textField) && ok;
        }
    }
    ok = m_profile.commitBatch() && ok;

    for (int index = 0; index < ScheduleTable::kSize; ++index)
        doc.schedules[index] = working[index];
    return ok;
}

bool ScheduleStore::SaveSchedules(const ScheduleTable &working, CTickwellDoc &doc, MessagePresenter &messages)
{
    const bool ok = StoreTable(working, doc);
    if (!ok)
        messages.ShowMessage(SaveFailureText(), MessagePresenter::Icon::Exclamation);
    return ok;
}

QString ScheduleStore::SaveFailureText() const
{
    return QStringLiteral("設定を保存できませんでした。\n") + m_profile.location();
}
