#include "MessageBoxPresenter.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(MessagePresenter::Icon icon)
{
    switch (icon) {
    case MessagePresenter::Icon::Information:
        return QMessageBox::Information;
    // Windows draws the exclamation mark and the warning sign alike.
    case MessagePresenter::Icon::Exclamation:
    case MessagePresenter::Icon::Warning:
        return QMessageBox::Warning;
    case MessagePresenter::Icon::Error:
        return QMessageBox::Critical;
    case MessagePresenter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageBoxPresenter::MessageBoxPresenter(QWidget *owner)
    : m_owner(owner)
{
}

void MessageBoxPresenter::ShowMessage(const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), QStringLiteral("Tickwell"), text, QMessageBox::Ok, m_owner);
    box.setObjectName(QStringLiteral("tickwellMessageBox"));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // Modal to the owner only: notices and the tray keep taking input.
    if (m_owner)
        box.setWindowModality(Qt::WindowModal);
    box.exec();
}
