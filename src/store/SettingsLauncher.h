#pragma once

#include "LocalTime.h"

// Whoever can bring up the settings dialog; the view answers with its
// OpenSettings. The first load asks for it when nothing was ever saved.
class SettingsLauncher
{
public:
    virtual ~SettingsLauncher() = default;

    // Returns once the dialog has closed (or at once if it was not opened).
    virtual void OpenSettings(const LocalTime &now) = 0;
};
