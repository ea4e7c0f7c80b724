#pragma once

#include "NoticePresenter.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class CNoticeDlg;

// Opens real notice windows, owned by the main frame when there is one. A
// notice got ready ahead waits hidden for the next one to show.
class NoticeWindowPresenter final : public NoticePresenter
{
public:
    explicit NoticeWindowPresenter(QWidget *owner = nullptr);
    ~NoticeWindowPresenter() override;
    Q_DISABLE_COPY_MOVE(NoticeWindowPresenter)

    void ShowNotice(const QString &text) override;
    void PrepareNotice(const QString &text) override;

private:
    QPointer<QWidget> m_owner;
    QPointer<CNoticeDlg> m_prepared;
    QTimer m_prepareSoon;
    QString m_prepareText;
};
