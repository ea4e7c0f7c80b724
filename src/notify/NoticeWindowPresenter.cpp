#include "NoticeWindowPresenter.h"

#include "CNoticeDlg.h"
#include "ShowNotice.h"

namespace {

// A notice shown in the same tick is mapped and framed first: building the
// next one at once would hold back the requests that show it.
constexpr int kPrepareDelayMs = 300;

} // namespace

NoticeWindowPresenter::NoticeWindowPresenter(QWidget *owner)
    : m_owner(owner)
{
    m_prepareSoon.setSingleShot(true);
    m_prepareSoon.callOnTimeout([this] {
        if (!m_prepared)
            m_prepared = ::PrepareNotice(m_prepareText, m_owner);
    });
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
    if (m_prepared || m_prepareSoon.isActive())
        return;
    m_prepareText = text;
    m_prepareSoon.start(kPrepareDelayMs);
}
