#pragma once

#include "NoticePresenter.h"

#include <QPointer>
#include <QWidget>

// Opens real notice windows, owned by the main frame when there is one.
class NoticeWindowPresenter final : public NoticePresenter
{
public:
    explicit NoticeWindowPresenter(QWidget *owner = nullptr);

    void ShowNotice(const QString &text) override;
    void PrepareNotice(const QString &text) override;

private:
    QPointer<QWidget> m_owner;
};
