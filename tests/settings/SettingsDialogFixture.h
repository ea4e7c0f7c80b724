#pragma once

#include "CScheduleDlg.h"
#include "CTickwellDoc.h"
#include "ManualClock.h"
#include "MemoryProfileStore.h"
#include "MessagePresenter.h"
#include "ScheduleStore.h"
#include "WavFileChooser.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// Records messages instead of showing boxes.
class RecordingMessages final : public MessagePresenter
{
public:
    void ShowMessage(const QString &text, Icon icon) override
    {
        texts.push_back(text);
        lastIcon = icon;
    }
    std::vector<QString> texts;
    Icon lastIcon = Icon::None;
};

// Answers at once with answer, or cancels when it is empty.
class AnsweringWavChooser final : public WavFileChooser
{
public:
    std::optional<QString> chooseWavFile() override;
    QString answer;
    int asked = 0;
};

// The real settings dialog over a document as an empty store loads it, a
// store in memory and a clock on Wednesday 8 April 2026 (day 98), 12:00.
class SettingsDialogTest : public testing::Test
{
public:
    void SetUp() override;
    // Shows the dialog; change the document before.
    void open();
    // Schedule 1 becomes enabled, weekly on Wednesdays: usable and valid.
    void enableFirst();

    template <typename T = QWidget> T *control(const char *name) const
    {
        T *widget = m_dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(name); }
    void click(const char *buttonName);
    bool checked(const char *buttonName) const;
    void clickTab(int index);
    void type(const char *editName, const QString &text);
    void chooseRule(int position);
    int storedInt(int number, const char *key);
    int writes() const { return static_cast<int>(m_store.writes().size()); }

    ManualClock m_clock;
    CTickwellDoc m_doc;
    MemoryProfileStore m_store;
    ScheduleStore m_schedules{m_store};
    RecordingMessages m_messages;
    AnsweringWavChooser m_wavChooser;
    std::unique_ptr<CScheduleDlg> m_dialog;
};
