#pragma once

#include "MessagePresenter.h"

#include <QPointer>
#include <QWidget>

// Real message boxes: captioned "Tickwell", above ordinary windows, modal
// until the user presses OK. Timers keep running inside their loop.
class MessageBoxPresenter final : public MessagePresenter
{
public:
    explicit MessageBoxPresenter(QWidget *owner = nullptr);

    void ShowMessage(const QString &text, Icon icon) override;

private:
    QPointer<QWidget> m_owner;
};
