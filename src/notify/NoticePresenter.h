#pragma once

#include <QString>

// Opens a notice window for the monitor. The program opens real windows;
// tests record the texts.
class NoticePresenter
{
public:
    virtual ~NoticePresenter() = default;

    // Returns at once; the window lives on by itself.
    virtual void ShowNotice(const QString &text) = 0;

    // A notice with this text may be shown within the minute: whatever can
    // be done ahead (the window, its fonts and glyphs) is done now, so that
    // it shows at once. Shows nothing; one window got ready waits for the
    // next notice, however often this is called.
    virtual void PrepareNotice(const QString &text) { (void)text; }
};
