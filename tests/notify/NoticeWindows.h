#pragma once

#include "CNoticeDlg.h"

#include <QApplication>

#include <vector>

// The notice windows that exist right now, in no particular order.
inline std::vector<CNoticeDlg *> openNotices()
{
    std::vector<CNoticeDlg *> notices;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *notice = qobject_cast<CNoticeDlg *>(widget))
            notices.push_back(notice);
    }
    return notices;
}

// Runs the deletions that deleteLater() queued.
inline void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
