#include "NoticeWindowPresenter.h"

#include "ShowNotice.h"

NoticeWindowPresenter::NoticeWindowPresenter(QWidget *owner)
    : m_owner(owner)
{
}

void NoticeWindowPresenter::ShowNotice(const QString &text)
{
    ::ShowNotice(text, m_owner);
}

void NoticeWindowPresenter::PrepareNotice(const QString &text)
{
    ::PrepareNotice(text, m_owner);
}
