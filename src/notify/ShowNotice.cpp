#include "ShowNotice.h"

#include "CNoticeDlg.h"

void ShowNotice(const QString &text, QWidget *owner, CNoticeDlg *prepared)
{
    auto *dialog = prepared ? prepared : new CNoticeDlg(owner);
    dialog->strMessage = text;
    if (!dialog->Create()) {
        delete dialog;
        return;
    }
    dialog->show();
}

CNoticeDlg *PrepareNotice(const QString &text, QWidget *owner)
{
    auto *dialog = new CNoticeDlg(owner);
    dialog->strMessage = text;
    dialog->Build();
    dialog->winId();
    dialog->grab();
    return dialog;
}
