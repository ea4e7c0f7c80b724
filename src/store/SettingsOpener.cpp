#include "SettingsOpener.h"

#include "CTickwellDoc.h"
#include "SettingsDialogRunner.h"

SettingsOpener::SettingsOpener(CTickwellDoc &doc, SettingsDialogRunner &dialog)
    : m_doc(doc)
    , m_dialog(dialog)
{
}

void SettingsOpener::OpenSettings(const LocalTime &now)
{
    if (m_doc.bDialogOpen == 1)
        return;
    m_doc.THIS_YEAR = now.year;

    // Cleared however the dialog ends, so the tray can always open it again.
    struct DialogOpenFlag
    {
        int &flag;
        explicit DialogOpenFlag(int &f)
            : flag(f)
        {
            flag = 1;
        }
        ~DialogOpenFlag() { flag = 0; }
    } open(m_doc.bDialogOpen);

    m_dialog.RunModal(m_doc);
}
