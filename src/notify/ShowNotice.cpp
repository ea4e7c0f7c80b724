#include "ShowNotice.h"

#include "CNoticeDlg.h"

void ShowNotice(const QString &text, QWidget *owner)
{
    auto *dialog = new CNoticeDlg(owner);
    dialog->strMessage = text;
    if (!dialog->Create()) {
        delete dialog;
        return;
    }
    dialog->show();
}

void PrepareNotice(const QString &text, QWidget *owner)
{
    CNoticeDlg dialog(owner);
    dialog.strMessage = text;
    if (dialog.Create())
        dialog.grab();
}
