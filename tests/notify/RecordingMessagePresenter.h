#pragma once

#include "MessagePresenter.h"

#include <QString>

#include <utility>
#include <vector>

// Remembers every message instead of showing a box.
class RecordingMessagePresenter final : public MessagePresenter
{
public:
    void ShowMessage(const QString &text, Icon icon) override { messages.emplace_back(text, icon); }

    std::vector<std::pair<QString, Icon>> messages;
};
