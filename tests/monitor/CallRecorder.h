#pragma once

#include "EntrySoundPlayer.h"
#include "NoticePresenter.h"

#include <QString>

#include <functional>
#include <vector>

// Stands in for the sound player and the notice windows, and keeps the calls
// of both in one list, in order.
class CallRecorder final : public EntrySoundPlayer, public NoticePresenter
{
public:
    struct Call
    {
        enum Kind { Sound, Notice } kind;
        int index;    // sound: the entry index
        QString text; // notice: the text shown
    };

    void PlayEntrySound(int index) override
    {
        calls.push_back({Call::Sound, index, {}});
        if (duringSound)
            duringSound(index);
    }
    void ShowNotice(const QString &text) override { calls.push_back({Call::Notice, -1, text}); }
    void PrepareNotice(const QString &text) override { prepared.push_back(text); }

    std::vector<int> soundIndexes() const
    {
        std::vector<int> result;
        for (const Call &c : calls)
            if (c.kind == Call::Sound)
                result.push_back(c.index);
        return result;
    }
    std::vector<QString> notices() const
    {
        std::vector<QString> result;
        for (const Call &c : calls)
            if (c.kind == Call::Notice)
                result.push_back(c.text);
        return result;
    }

    std::vector<Call> calls;
    std::vector<QString> prepared; // texts got ready ahead, in order
    // Runs inside PlayEntrySound, as a message box's loop would.
    std::function<void(int)> duringSound;
};
