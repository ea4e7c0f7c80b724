#include "NoticeWindowPresenter.h"

#include "CNoticeDlg.h"
#include "ShowNotice.h"

NoticeWindowPresenter::NoticeWindowPresenter(QWidget *owner)
    : m_owner(owner)
{
}

NoticeWindowPresenter::~NoticeWindowPresenter()
{
    delete m_prepared.data();
}

void NoticeWindowPresenter::ShowNotice(const QString &text)
{
    CNoticeDlg *prepared = m_prepared.data();
    m_prepared.clear();
    ::ShowNotice(text, m_owner, prepared);
}

void NoticeWindowPresenter::PrepareNotice(const QString &text)
{
    if (!m_prepared)
        m_prepared = ::PrepareNotice(text, m_owner);
}
