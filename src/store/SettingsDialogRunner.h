#pragma once

class CTickwellDoc;

// Runs the settings dialog modally on the document; the dialog saves through
// ScheduleStore itself on OK and Apply.
class SettingsDialogRunner
{
public:
    virtual ~SettingsDialogRunner() = default;

    // Returns when the dialog has closed, whichever way.
    virtual void RunModal(CTickwellDoc &doc) = 0;
};
