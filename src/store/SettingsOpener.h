#pragma once

#include "SettingsLauncher.h"

class CTickwellDoc;
class SettingsDialogRunner;

// The view's way into the settings dialog: one dialog at a time, and the
// weekly day numbers counted from the current year while it is open.
class SettingsOpener final : public SettingsLauncher
{
public:
    SettingsOpener(CTickwellDoc &doc, SettingsDialogRunner &dialog);

    // Does nothing while a settings dialog is open. Otherwise sets THIS_YEAR
    // to the current year (the day numbers stay as they are) and runs the
    // dialog, with bDialogOpen set until it has closed.
    void OpenSettings(const LocalTime &now) override;

private:
    CTickwellDoc &m_doc;
    SettingsDialogRunner &m_dialog;
};
