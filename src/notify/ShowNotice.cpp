#include "ShowNotice.h"

#include "CNoticeDlg.h"

#include <QPlainTextEdit>

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
    dialog->Build();
    dialog->winId();
    // Painted once with the text; ShowNotice puts the text in afresh.
    if (auto *area = dialog->findChild<QPlainTextEdit *>())
        area->setPlainText(text);
    dialog->grab();
    return dialog;
}
