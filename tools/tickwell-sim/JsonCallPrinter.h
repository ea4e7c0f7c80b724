#pragma once

#include "EntrySoundPlayer.h"
#include "MessagePresenter.h"
#include "NoticePresenter.h"

#include <iosfwd>

class Clock;

// Prints every sound, notice and message box the simulated program asks for
// as one JSON object per line, stamped with the local time of the tick.
// Nothing is played and no window opens.
class JsonCallPrinter final : public EntrySoundPlayer, public NoticePresenter, public MessagePresenter
{
public:
    JsonCallPrinter(const Clock &clock, std::ostream &out);

    void PlayEntrySound(int index) override;
    void ShowNotice(const QString &text) override;
    void ShowMessage(const QString &text, Icon icon) override;

    static QString escape(const QString &text);

private:
    QString stamp() const;

    const Clock &m_clock;
    std::ostream &m_out;
};
