#pragma once

#include "LocalTime.h"

#include <QString>

class CTickwellDoc;
class MessagePresenter;
class ProfileStore;
class ScheduleTable;
class SettingsLauncher;

// Moves the schedule table between the store, the document and the settings
// dialog's working table.
class ScheduleStore
{
public:
    explicit ScheduleStore(ProfileStore &profile);

    // Reads the ten schedule sections, key by key in store order, and then
    // THIS_YEAR into the document. A missing or unreadable key gives its
    // default; today's date is the default of the one-time date. When
    // THIS_YEAR is 0 (nothing was ever saved) the settings are opened at once
    // and this returns after they have closed.
    void LoadSchedules(CTickwellDoc &doc, const LocalTime &now, SettingsLauncher &settings);

    // The working table becomes a copy of the document's.
    static void LoadFromDocument(ScheduleTable &working, const CTickwellDoc &doc);

    // Writes THIS_YEAR and then all ten sections in full as one batch, and
    // copies the working table into the document whatever the store said, so
    // nothing entered is lost while the program runs. Returns whether the
    // save reached the store; reports nothing.
    bool StoreTable(const ScheduleTable &working, CTickwellDoc &doc);

    // StoreTable for the settings dialog's OK and Apply: a failed save is
    // shown in a message box with the store's location.
    bool SaveSchedules(const ScheduleTable &working, CTickwellDoc &doc, MessagePresenter &messages);

    // "設定を保存できませんでした。", a line break and the store's location.
    QString SaveFailureText() const;

private:
    ProfileStore &m_profile;
};
