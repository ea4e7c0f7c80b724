#pragma once

#include <QString>

// A modal message box captioned "Tickwell". The logic reports through this
// interface; the program shows real boxes, tests record what was said.
class MessagePresenter
{
public:
    enum class Icon { None, Information, Exclamation, Warning, Error };

    virtual ~MessagePresenter() = default;

    // Returns once the user has dismissed the box.
    virtual void ShowMessage(const QString &text, Icon icon) = 0;
};
